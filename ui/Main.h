#pragma once
// The editor's main window: every field of one registered officer, the
// derived death year and scenario ages, open and save, and program start and
// stop. Behaviour lives in the handlers named after their control and event.

#include <QMainWindow>
#include <QString>
#include <filesystem>
#include <memory>

#include "core/BushouFile.h"
#include "core/FaceArchive.h"
#include "core/OfficerFile.h"

namespace k4r::ui {
class CompositionWatch;
}

class QComboBox;
class QLabel;
class QMenu;
class QPainter;
class QPalette;

namespace Ui {
class TForm1;
}

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  // Runs the start-up sequence (FormCreate), whose boxes come before the
  // window is first shown.
  explicit TForm1(std::filesystem::path settingsPath, QWidget* parent = nullptr);
  ~TForm1() override;

  // The list that the officer search serves: 0 father, 1 friend, 2 enemy.
  [[nodiscard]] int FindMode() const { return findMode_; }
  void SetFindMode(int mode) { findMode_ = mode; }
  // The face graphics file's path as read at start.
  [[nodiscard]] const QString& KaoPath() const { return kaoPath_; }

  // Opens an officer file as the open command does with a chosen path: the
  // open command, the command-line argument and a dropped file use it.
  bool OpenOfficerFile(const QString& path);

  // Fixed at start for the whole run.
  [[nodiscard]] bool OfficerListAvailable() const { return availability_.officerList; }
  [[nodiscard]] bool FaceAvailable() const { return availability_.face; }

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Start and stop (MainStartup.cpp, Main.cpp).
  void SetUpControls();
  void ConnectHandlers();
  void FormCreate();
  void LoadOfficerNames();
  void LoadFaceNames();
  void ReadFaceTable();
  void FormCloseQuery();

  // Commands (MainFile.cpp).
  void Open1Click();
  [[nodiscard]] QString OpenDialogFolder() const;
  void ToolButton1Click();
  void Save1Click();
  // Ends an input method's composition, so that the text the user sees in
  // the boxes is what save, open and close work with.
  void CommitComposition();
  void ToolButton2Click();
  void Exit1Click();

  // The form <-> controls mapping, in one place (MainFile.cpp).
  struct ListsToShow {
    bool Kyoten = true, Aishou = true, Oya = true, Tomo = true, Teki = true;
  };
  [[nodiscard]] k4r::OfficerForm ReadForm() const;
  void ShowForm(const k4r::OfficerForm& form, const ListsToShow& lists);
  [[nodiscard]] k4r::KeepFlags ReadKeepFlags() const;
  [[nodiscard]] k4r::NameListSizes ListSizes() const;

  // Derived values and presets (MainDerived.cpp).
  void tanjouEdit1Change();
  void jumyouEdit1Change();
  void ShowDeathYear(qint64 birthYear, qint64 lifespan);
  void ShowAges(qint64 birthYear);
  static void ColourState(QLabel& state, const QPalette& windowPalette);
  void MaxBtn1Click();
  void MinBtn1Click();
  void MinBtn2Click();
  void MaxBtn2Click();
  void GenpukuBtn1Click();
  void GenpukuBtn2Click();
  void GenpukuBtn3Click();
  void GenpukuBtn4Click();

  // Colours that depend on the palette, set again when it changes (Main.cpp).
  void ApplyPaletteColours();

  // The portrait (Main.cpp).
  // Repaints the portrait for the face list's selection at once.
  void KaoComboBox1Change();
  void PaintBox1Paint(QPainter& painter);
  void ReportPortraitFailure(const QString& message);

  // The portrait's context menu (MainPortrait.cpp): only while FaceAvailable,
  // for the face list's selection.
  void SetUpPortraitMenu();
  [[nodiscard]] int MenuFaceNumber() const;  // -1: no menu
  void PaintBox1ContextPopup(const QPoint& globalPosition);
  void ExportFace1Click();
  void ImportFace1Click();

  // The dialogs (MainDialogs.cpp).
  void FindBtn1Click();
  void FindBtn2Click();
  void FindBtn3Click();
  void FindBtn4Click();
  void ShowOfficerSearch();
  void FindBtn5Click();
  void Settings1Click();
  void About1Click();

  std::unique_ptr<Ui::TForm1> ui;
  std::filesystem::path settingsPath_;
  QString openDir_;  // Open/Dir: initial folder of the file-open dialog when set
  QString kaoPath_;
  k4r::BushouFile BushouFile;
  k4r::FaceArchive faceArchive_;
  k4r::Availability availability_;
  int findMode_ = 0;
  k4r::ui::CompositionWatch* composition_ = nullptr;  // owned as a child
  bool portraitFailureReported_ = false;
  QMenu* PortraitMenu1 = nullptr;  // owned by the window
};
