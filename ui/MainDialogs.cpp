// The search, settings and About dialogs opened from the main window. Each
// is made afresh for one modal showing, owned by the main window, and gone
// when the handler returns, also when something escapes from it. A dialog is
// given what it works on: the list it moves, the paths it shows or writes,
// and the window's frame it is placed from.

#include "ui/AboutDlg.h"
#include "ui/DialogFrame.h"
#include "ui/FindDlg1.h"
#include "ui/FindDlg2.h"
#include "ui/FindDlg3.h"
#include "ui/Main.h"
#include "ui/SettingDlg1.h"
#include "ui_Main.h"

using k4r::ui::FrameOf;

void TForm1::FindBtn1Click() {
  TForm3 dialog(*ui->KyotenComboBox1, FrameOf(*this), this);
  dialog.exec();
}

void TForm1::FindBtn2Click() {
  SetFindMode(0);
  ShowOfficerSearch();
}

void TForm1::FindBtn3Click() {
  SetFindMode(1);
  ShowOfficerSearch();
}

void TForm1::FindBtn4Click() {
  SetFindMode(2);
  ShowOfficerSearch();
}

void TForm1::ShowOfficerSearch() {
  QComboBox* officers = ui->OyaComboBox1;
  if (findMode_ == 1) {
    officers = ui->TomoComboBox1;
  } else if (findMode_ == 2) {
    officers = ui->TekiComboBox1;
  }
  TForm4 dialog(findMode_, *officers, FrameOf(*this), this);
  dialog.exec();
}

void TForm1::FindBtn5Click() {
  TForm6 dialog(*ui->KaoComboBox1, FrameOf(*this), this);
  connect(&dialog, &TForm6::FaceSelected, this, &TForm1::KaoComboBox1Change);
  dialog.exec();
}

void TForm1::Settings1Click() {
  TForm5 dialog(kaoPath_, settingsPath_, FrameOf(*this), this);
  dialog.exec();
}

void TForm1::About1Click() {
  TForm2 dialog(FrameOf(*this), this);
  dialog.exec();
}
