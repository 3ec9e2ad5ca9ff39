#pragma once
// The face search: finds the next face whose name holds a typed text and
// has the main window draw it.

#include <QDialog>

#include "ui/SearchDialogCore.h"
#include "ui/ui_FindDlg3.h"

class TForm1;

class TForm6 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm6(TForm1& mainWindow);

 private:
  void FindEdit3Change();
  void FindBtn3Click();

  TForm1& mainWindow_;
  Ui::TForm6 ui_;
  k4r::ui::ListSearch search_;
};
