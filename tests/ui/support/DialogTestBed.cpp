#include "ui/support/DialogTestBed.h"

#include <QAbstractButton>
#include <QAction>
#include <QTest>
#include <cstdio>
#include <cstdlib>

#include "ui/Main.h"
#include "ui/Prompts.h"
#include "ui/support/EditorFixture.h"

namespace k4r::testing {
namespace {

[[noreturn]] void Stop(const char* what) {
  std::fprintf(stderr, "DialogTestBed: %s\n", what);
  std::abort();
}

void WriteLines(const std::filesystem::path& path, const QStringList& lines) {
  ByteString content;
  for (const QString& line : lines) {
    content += Sjis(line) + "\r\n";
  }
  WriteBytes(path, content);
}

}  // namespace

DialogTestBed::DialogTestBed(const BedFiles& files)
    : settingsPath_(folder_ / "k4r-editor.ini"),
      previousFolder_(std::filesystem::current_path()),
      dataFolders_(folder_ / "data-home", folder_ / "data-dir") {
  if (!files.officers.isEmpty()) {
    WriteLines(folder_ / "BUSHOU.DAT", files.officers);
  }
  if (!files.faces.isEmpty()) {
    WriteLines(folder_ / "KAO.DAT", files.faces);
  }
  WriteBytes(settingsPath_, "[Kao]\r\nPath=" + Sjis(files.kaoPath) + "\r\n");
  // The name lists are read from the working folder.
  std::filesystem::current_path(folder_.Path());
  ui::Prompts::StartRecording();
  window_ = std::make_unique<TForm1>(settingsPath_);
  window_->show();
  if (!QTest::qWaitForWindowExposed(window_.get())) {
    Stop("the main window was never shown");
  }
}

DialogTestBed::~DialogTestBed() {
  window_.reset();
  ui::Prompts::StopRecording();
  std::error_code ignored;
  std::filesystem::current_path(previousFolder_, ignored);
}

QAbstractButton& DialogTestBed::MainButton(const char* objectName) {
  auto* button = window_->findChild<QAbstractButton*>(QString::fromLatin1(objectName));
  if (button == nullptr || button->window() != window_.get()) {
    Stop("no such button on the main window");
  }
  return *button;
}

QAction& DialogTestBed::MainAction(const char* objectName) {
  auto* action = window_->findChild<QAction*>(QString::fromLatin1(objectName));
  if (action == nullptr) {
    Stop("no such action on the main window");
  }
  return *action;
}

}  // namespace k4r::testing
