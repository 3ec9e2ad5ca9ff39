#pragma once
// The About dialog: the program's name, version, credit and a link to the
// project's home page.

#include <QDialog>

#include "ui/ui_AboutDlg.h"

class TForm1;

class TForm2 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm2(TForm1& mainWindow);

 protected:
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ColourLink();
  void Label4Click();

  Ui::TForm2 ui_;
};
