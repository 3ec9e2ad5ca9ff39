// The editor's entry: --help and --version, the window system, the command
// line, Qt's own texts in Japanese, the application title, the main window
// (whose creation runs the start-up), an optional officer file to open, and
// the event loop until the main window has closed.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

#include "bridge/Cp932.h"
#include "core/Settings.h"
#include "k4r_version.h"
#include "ui/CommandLine.h"
#include "ui/Main.h"
#include "ui/Prompts.h"
#include "ui/QtJapanese.h"

namespace {

constexpr const char* kHelp =
    "Usage: k4r-editor [FILE]\n"
    "\n"
    "K4R Editor edits registered-officer files (.K4R): names and readings, abilities,\n"
    "skills, years, origin, faith, biography, home base, relations and face portrait.\n"
    "\n"
    "  FILE           an officer file (.K4R) to open at start; optional. Without it the\n"
    "                 editor starts empty and the open button picks a file.\n"
    "  -h, --help     show this help and exit\n"
    "  --version      show the version and exit\n"
    "  --             end of the options: a FILE after it may start with a dash\n"
    "\n"
#ifdef _WIN32
    "The name lists BUSHOU.DAT and KAO.DAT are read from the working folder (the\n"
    "game's folder, or the folder of a shortcut's \"Start in\").\n"
    "Settings live in k4r-editor.ini beside the program.\n"
#else
    "The name lists BUSHOU.DAT and KAO.DAT are read from the working folder, or else\n"
    "from $XDG_DATA_HOME/k4r-editor/ (default ~/.local/share/k4r-editor/), or else\n"
    "from k4r-editor/ under each folder of $XDG_DATA_DIRS (default /usr/local/share,\n"
    "/usr/share).\n"
    "Settings live in k4r-editor.ini beside the program when its folder is writable\n"
    "or the file is already there; otherwise in\n"
    "$XDG_CONFIG_HOME/k4r-editor/k4r-editor.ini (default ~/.config/k4r-editor/).\n"
#endif
    "The command-line tool k4r reads and edits the same files from the shell.\n";

// A windowed Windows program starts without standard output; when it was
// started from a console and its output goes nowhere else, it writes there.
void UseStartingConsole() {
#ifdef _WIN32
  if (GetStdHandle(STD_OUTPUT_HANDLE) == nullptr && AttachConsole(ATTACH_PARENT_PROCESS) != 0) {
    static_cast<void>(std::freopen("CONOUT$", "w", stdout));
    static_cast<void>(std::freopen("CONOUT$", "w", stderr));
  }
#endif
}

// Answered before the window system starts, so that they work without a display.
// Returns an exit code when the arguments asked for one of them.
int AnswerInformationRequest(int argc, char** argv) {
  for (int index = 1; index < argc; ++index) {
    const char* argument = argv[index];
    if (std::strcmp(argument, "--") == 0) {
      break;
    }
    if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
      UseStartingConsole();
      std::fputs(kHelp, stdout);
      return 0;
    }
    if (std::strcmp(argument, "--version") == 0) {
      UseStartingConsole();
      std::printf("k4r-editor %s\n", k4r::kVersion);
      return 0;
    }
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (const int code = AnswerInformationRequest(argc, argv); code >= 0) {
    return code;
  }
  QApplication application(argc, argv);
  // Qt has taken its own options out; anything else unknown is the user's slip.
  const k4r::ui::EditorCommandLine commandLine = k4r::ui::ReadEditorCommandLine(QCoreApplication::arguments());
  if (!commandLine.usageError.isEmpty()) {
    UseStartingConsole();
    std::fprintf(stderr, "k4r-editor: %s\n%s\n", qPrintable(commandLine.usageError), qPrintable(k4r::ui::kEditorUsage));
    return 2;
  }
  k4r::ui::InstallQtJapanese(application);
  // The title is the main window's caption. It is not made the display name,
  // which the window system would append to every caption.
  QApplication::setApplicationName(QStringLiteral("k4r-editor"));
  QApplication::setApplicationVersion(QString::fromLatin1(k4r::kVersion));
  // The desktop entry's name, so that the window system matches the window to it.
  QGuiApplication::setDesktopFileName(QString::fromLatin1(k4r::kAppId));
  k4r::bridge::RequireCp932Codec();

  const std::filesystem::path programPath = k4r::bridge::ToPath(QCoreApplication::applicationFilePath());
#ifdef _WIN32
  // Beside the program, always: an editor unpacked from its zip keeps its
  // settings in its own folder, as the game's tools do.
  const std::filesystem::path settingsPath = k4r::SettingsPathFor(programPath);
#else
  // Beside the program, or in the user's configuration folder for an installed editor.
  const std::filesystem::path settingsPath = k4r::ChooseSettingsPath(
      programPath, k4r::bridge::ToPath(qEnvironmentVariable("XDG_CONFIG_HOME")), k4r::bridge::ToPath(QDir::homePath()));
#endif
  TForm1 form(settingsPath);
  QApplication::setWindowIcon(form.windowIcon());
  form.setWindowTitle(k4r::ui::kAppTitle);

  // A file named on the command line is opened as the open command opens a chosen one.
  if (!commandLine.file.isEmpty()) {
    form.OpenOfficerFile(QFileInfo(commandLine.file).absoluteFilePath());
  }
  form.show();
  return QApplication::exec();
}
