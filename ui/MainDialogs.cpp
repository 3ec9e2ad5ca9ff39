// The search, settings and About dialogs opened from the main window. Each
// is made afresh for one modal showing, owned by the main window, and gone
// when the handler returns, also when something escapes from it.

#include "ui/AboutDlg.h"
#include "ui/FindDlg1.h"
#include "ui/FindDlg2.h"
#include "ui/FindDlg3.h"
#include "ui/Main.h"
#include "ui/SettingDlg1.h"

namespace {

// Shows `Dialog` modally over `mainWindow`; its result is not looked at.
template <typename Dialog>
void ShowOnce(TForm1& mainWindow) {
  Dialog dialog(mainWindow);
  dialog.exec();
}

}  // namespace

void TForm1::FindBtn1Click() {
  ShowOnce<TForm3>(*this);
}

void TForm1::FindBtn2Click() {
  SetFindMode(0);
  ShowOnce<TForm4>(*this);
}

void TForm1::FindBtn3Click() {
  SetFindMode(1);
  ShowOnce<TForm4>(*this);
}

void TForm1::FindBtn4Click() {
  SetFindMode(2);
  ShowOnce<TForm4>(*this);
}

void TForm1::FindBtn5Click() {
  ShowOnce<TForm6>(*this);
}

void TForm1::Settings1Click() {
  ShowOnce<TForm5>(*this);
}

void TForm1::About1Click() {
  ShowOnce<TForm2>(*this);
}
