// Program start: the settings, the two name lists, the face graphics file.

#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <filesystem>
#include <system_error>
#include <vector>

#include "bridge/Cp932.h"
#include "bridge/SettingsPath.h"
#include "core/NameList.h"
#include "core/NameListPlace.h"
#include "core/Settings.h"
#include "ui/Accessibility.h"
#include "ui/ListItems.h"
#include "ui/Main.h"
#include "ui/Prompts.h"
#include "ui/WindowPlace.h"
#include "ui_Main.h"

using k4r::bridge::FromUtf8;
using k4r::ui::BoxIcon;
using k4r::ui::Prompts;

namespace {

// The name lists are looked up by their bare names in the process's working
// folder (not beside the program), then in the data folders of the XDG base
// directory rules. Windows has no such folders: the working folder only.
std::vector<std::filesystem::path> NameListFolders() {
  const std::filesystem::path workingFolder;  // relative names: the working folder
#ifndef _WIN32
  k4r::NameListEnvironment environment;
  environment.workingFolder = workingFolder;
  environment.xdgDataHome = qgetenv("XDG_DATA_HOME").toStdString();
  environment.xdgDataDirs = qgetenv("XDG_DATA_DIRS").toStdString();
  environment.home = qgetenv("HOME").toStdString();
  return k4r::NameListFolders(environment);
#else
  return {workingFolder};
#endif
}

k4r::NameListLoad ReadNameList(const char* fileName) {
  return k4r::LoadNameList(k4r::LocateNameList(fileName, NameListFolders()));
}

// A missing list is reported with a beep and a box centred on the screen; a
// list that is there but cannot be read is reported with its reason, and the
// editor goes on as if it were missing.
void ReportUnloaded(const k4r::NameListLoad& load, const QString& missingText) {
  Prompts::Beep();
  if (load.outcome == k4r::NameListLoad::Outcome::Unreadable) {
    Prompts::ShowError(nullptr, FromUtf8(load.failure.message));
  } else {
    Prompts::ShowBox(nullptr, BoxIcon::Error, QStringLiteral("エラー"), missingText);
  }
}

}  // namespace

void TForm1::FormCreate() {
  // 1. Settings: position (top, then left), open folder, face path.
  const k4r::Settings settings = k4r::LoadSettings(settingsPath_);
  // The position is the frame's corner. Qt hands it to the window manager as
  // such (north-west gravity) only while the window keeps the size it had
  // when it was created; a resize before the window is mapped turns it into
  // the client area's corner, and the window would creep up by its title bar
  // on every start. So the window takes its final size first.
  adjustSize();
  // A place whose title bar would be off every screen (stored on another
  // screen layout, or made up by a window system that does not tell) is
  // moved just enough to show it; the file keeps what it holds.
  move(k4r::ui::OpeningCorner(QPoint(settings.WinLeft, settings.WinTop), width(), menuBar()->sizeHint().height()));
  openDir_ = k4r::bridge::FromSettingsPath(settings.OpenDir);
  kaoPath_ = k4r::bridge::FromSettingsPath(settings.KaoPath);

  // 2. and 3. The name lists.
  LoadOfficerNames();
  LoadFaceNames();

  // 4. The file-open dialog takes openDir_ as its initial folder when shown.
  // 5. BushouFile starts empty with the window.

  // 6. The face graphics file.
  ReadFaceTable();

  // 7. The note on the two skills marked "※".
  ui->Label30->setText(QStringLiteral("※軍師、威圧は\n効果の有無が不明です"));
  ui->Label30->adjustSize();

  // The death year and the ages are shown from the start texts (1460, 110)
  // right away, so that the window never shows a birth year without them.
  tanjouEdit1Change();

  k4r::ui::NameMainControls(*ui, availability_.face);
}

void TForm1::LoadOfficerNames() {
  const k4r::NameListLoad load = ReadNameList(k4r::kOfficerListFile);
  if (load.outcome == k4r::NameListLoad::Outcome::Loaded) {
    for (QComboBox* list : {ui->OyaComboBox1, ui->TomoComboBox1, ui->TekiComboBox1}) {
      k4r::ui::AppendEntries(*list, load.entries);
      list->setCurrentIndex(0);
    }
    availability_.officerList = true;
    return;
  }
  ReportUnloaded(load, QStringLiteral("BUSHOU.DATファイルが見つかりませんでした。"));
  availability_.officerList = false;
  for (QWidget* control : std::initializer_list<QWidget*>{
           ui->Label27, ui->Label28, ui->Label29, ui->OyaComboBox1, ui->TomoComboBox1, ui->TekiComboBox1,
           ui->FixedCheckBox3, ui->FixedCheckBox4, ui->FixedCheckBox5, ui->FindBtn2, ui->FindBtn3, ui->FindBtn4}) {
    control->setEnabled(false);
  }
}

void TForm1::LoadFaceNames() {
  const k4r::NameListLoad load = ReadNameList(k4r::kFaceListFile);
  if (load.outcome == k4r::NameListLoad::Outcome::Loaded) {
    k4r::ui::AppendEntries(*ui->KaoComboBox1, load.entries);
    ui->KaoComboBox1->setCurrentIndex(0);
    ui->FindBtn5->setEnabled(true);
    ui->Label31->setEnabled(true);
    availability_.face = true;
    return;
  }
  ReportUnloaded(load, QStringLiteral("KAO.DATファイルが見つかりませんでした。"));
  ui->KaoComboBox1->setEnabled(false);
  ui->FindBtn5->setEnabled(false);
  ui->Label31->setEnabled(false);
  availability_.face = false;
}

// No message for an empty path or a missing file: portraits are simply not
// available. A file that is there but whose table cannot be read is reported
// and treated the same way.
void TForm1::ReadFaceTable() {
  const std::filesystem::path path = k4r::bridge::ToPath(kaoPath_);
  std::error_code error;
  const bool present = !kaoPath_.isEmpty() && std::filesystem::is_regular_file(path, error);
  if (present) {
    const k4r::Status table = faceArchive_.LoadOffsetTable(path);
    if (table) {
      return;  // FaceAvailable stays as the face list left it
    }
    Prompts::ShowError(nullptr, FromUtf8(table.failure().message));
  }
  ui->KaoComboBox1->setEnabled(false);
  availability_.face = false;
}
