#pragma once
// The base search: finds the next home base whose name holds a typed text.

#include <QDialog>

#include "ui/SearchDialogCore.h"
#include "ui/ui_FindDlg1.h"

class QShowEvent;

class TForm1;

class TForm3 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm3(TForm1& mainWindow);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  void FindEdit1Change();
  void FindBtn1Click();

  TForm1& mainWindow_;
  Ui::TForm3 ui_;
  k4r::ui::ListSearch search_;
};
