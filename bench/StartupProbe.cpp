// Start-up probe: the editor's own start sequence (as app/EditorMain.cpp runs it),
// which reports once the main window has been painted for the first time and
// then leaves at once. The editor itself has no such exit: this program
// exists only so that the benchmark can see the moment the window is shown.
//
//   k4r_startup_probe SETTINGS_FILE REPORT_FD
//
// Writes "<CLOCK_MONOTONIC ns at first paint> <peak resident KiB> <prompts>\n"
// to REPORT_FD, where <prompts> counts the boxes and beeps the start-up would
// have shown (0 when the demo set is complete). The name lists are read from the working folder, as the editor
// reads them.

#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

#include "bridge/Cp932.h"
#include "ui/Main.h"
#include "ui/Prompts.h"
#include "ui/QtJapanese.h"

namespace {

long long MonotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

long PeakResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) {
      return std::strtol(line.c_str() + 6, nullptr, 10);
    }
  }
  return -1;
}

// Watches every paint of the application; once the first paint pass has run
// to its end (the queued call comes after it), reports and quits.
class FirstPaint final : public QObject {
 public:
  explicit FirstPaint(int reportFd) : reportFd_(reportFd) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!seen_ && event->type() == QEvent::Paint) {
      seen_ = true;
      QTimer::singleShot(0, this, [this] { Report(); });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  void Report() const {
    const std::string line = std::to_string(MonotonicNanoseconds()) + ' ' + std::to_string(PeakResidentKiB()) + ' ' +
                             std::to_string(k4r::ui::Prompts::Shown().size()) + '\n';
    const ssize_t written = ::write(reportFd_, line.data(), line.size());
    // Leave without closing the window: a close would write the settings file.
    std::_Exit(written == static_cast<ssize_t>(line.size()) ? 0 : 3);
  }

  int reportFd_;
  bool seen_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: k4r_startup_probe SETTINGS_FILE REPORT_FD\n", stderr);
    return 2;
  }
  const std::string settingsFile = argv[1];
  const int reportFd = std::atoi(argv[2]);
  int qtArgc = 1;

  QApplication application(qtArgc, argv);
  k4r::ui::InstallQtJapanese(application);
  QApplication::setApplicationName(QStringLiteral("k4r-editor"));
  k4r::bridge::RequireCp932Codec();
  // A box at start (a missing name list) would wait for a click forever.
  k4r::ui::Prompts::StartRecording();

  TForm1 form(settingsFile);
  QApplication::setWindowIcon(form.windowIcon());
  form.setWindowTitle(k4r::ui::kAppTitle);

  FirstPaint watcher(reportFd);
  application.installEventFilter(&watcher);
  form.show();
  return QApplication::exec();
}
