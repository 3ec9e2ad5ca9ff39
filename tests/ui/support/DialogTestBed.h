#pragma once
// A real main window over real name list files in a temporary working
// folder, for the tests of the dialogs it opens. Prompts are recorded from
// before the window is made until the bed goes.

#include <QString>
#include <QStringList>
#include <filesystem>
#include <memory>

#include "support/TempDir.h"
#include "ui/support/EditorFixture.h"

class QAbstractButton;
class QAction;
class TForm1;

namespace k4r::testing {

struct BedFiles {
  QStringList officers;  // lines of BUSHOU.DAT; empty: no such file
  QStringList faces;     // lines of KAO.DAT; empty: no such file
  QString kaoPath;       // Kao/Path of the settings file
};

class DialogTestBed {
 public:
  explicit DialogTestBed(const BedFiles& files);
  ~DialogTestBed();
  DialogTestBed(const DialogTestBed&) = delete;
  DialogTestBed& operator=(const DialogTestBed&) = delete;

  [[nodiscard]] TForm1& Window() { return *window_; }
  [[nodiscard]] const TempDir& Folder() const { return folder_; }
  [[nodiscard]] const std::filesystem::path& SettingsPath() const { return settingsPath_; }

  // The main window's own controls, found before any dialog (whose controls
  // share some names) exists.
  [[nodiscard]] QAbstractButton& MainButton(const char* objectName);
  [[nodiscard]] QAction& MainAction(const char* objectName);

 private:
  TempDir folder_;
  std::filesystem::path settingsPath_;
  std::filesystem::path previousFolder_;
  DataFoldersForTest dataFolders_;
  std::unique_ptr<TForm1> window_;
};

}  // namespace k4r::testing
