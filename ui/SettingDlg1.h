#pragma once
// The settings dialog: the path of the face graphics file KAO_M.VX9,
// written to the settings file on OK and used from the next start.

#include <QDialog>
#include <QString>

#include "ui/ui_SettingDlg1.h"

class TForm1;

class TForm5 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm5(TForm1& mainWindow);

 private:
  void OpenFileBtn1Click();
  void OKBtn1Click();

  TForm1& mainWindow_;
  Ui::TForm5 ui_;
  // The file chosen by the last browse of this showing; the next browse
  // starts there.
  QString lastChoice_;
};
