// The editor's entry: the window system, the application title, the main
// window (whose creation runs the start-up), an optional officer file to open,
// and the event loop until the main window has closed.

#include <QApplication>
#include <QFileInfo>
#include <QIcon>

#include "bridge/Cp932.h"
#include "core/settings.h"
#include "ui/Main.h"
#include "ui/Prompts.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // The title is the main window's caption. It is not made the display name,
  // which the window system would append to every caption.
  QApplication::setApplicationName(QStringLiteral("k4r-editor"));
  k4r::bridge::RequireCp932Codec();

  TForm1 form(k4r::SettingsPathFor(k4r::bridge::ToPath(QCoreApplication::applicationFilePath())));
  QApplication::setWindowIcon(form.windowIcon());
  form.setWindowTitle(k4r::ui::kAppTitle);

  // A file named on the command line is opened as the open command opens a chosen one.
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() > 1) {
    form.OpenOfficerFile(QFileInfo(arguments.at(1)).absoluteFilePath());
  }
  form.show();
  return QApplication::exec();
}
