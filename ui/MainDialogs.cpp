// The search, settings and About dialogs opened from the main window.

#include "ui/Main.h"

// dialogs are wired by the dialogs module
void TForm1::FindBtn1Click() {}

void TForm1::FindBtn2Click() {
  SetFindMode(0);
}

void TForm1::FindBtn3Click() {
  SetFindMode(1);
}

void TForm1::FindBtn4Click() {
  SetFindMode(2);
}

void TForm1::FindBtn5Click() {}

void TForm1::Settings1Click() {}

void TForm1::About1Click() {}
