#include "ui/FindDlg2.h"

#include <QComboBox>
#include <QShowEvent>

#include "core/find_in_list.h"
#include "ui/DialogFrame.h"
#include "ui/Main.h"

using k4r::ui::FollowEditText;
using k4r::ui::ListSearch;
using k4r::ui::PlaceAtOffset;
using k4r::ui::SetUpFixedDialog;
using k4r::ui::WireSearchDialog;

TForm4::TForm4(TForm1& mainWindow) : QDialog(&mainWindow), mainWindow_(mainWindow) {
  ui_.setupUi(this);
  SetUpFixedDialog(*this, k4r::ui::kSearchDialogSize);
  WireSearchDialog(*this, *ui_.FindEdit2, *ui_.CancelBtn2);
  PlaceAtOffset(*this, mainWindow_, QPoint(200, 275));
  connect(ui_.FindEdit2, &QLineEdit::textChanged, this, &TForm4::FindEdit2Change);
  connect(ui_.FindBtn2, &QPushButton::clicked, this, &TForm4::FindBtn2Click);
}

QString TForm4::CaptionFor(int findMode) {
  switch (findMode) {
    case 1: return QStringLiteral("親友武将検索");
    case 2: return QStringLiteral("敵対武将検索");
    default: return QStringLiteral("実父武将検索");
  }
}

QComboBox& TForm4::TargetList() const {
  switch (mainWindow_.FindMode()) {
    case 1: return *mainWindow_.TomoComboBox1();
    case 2: return *mainWindow_.TekiComboBox1();
    default: return *mainWindow_.OyaComboBox1();
  }
}

void TForm4::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) {
    FormShow();
  }
  QDialog::showEvent(event);
}

void TForm4::FormShow() {
  setWindowTitle(CaptionFor(mainWindow_.FindMode()));
  search_.TakeJoinedText(TargetList());
}

void TForm4::FindEdit2Change() {
  FollowEditText(*ui_.FindBtn2, *ui_.FindEdit2);
}

void TForm4::FindBtn2Click() {
  search_.Run(TargetList(), k4r::search_span::kOfficers, ui_.FindEdit2->text());
  ui_.FindEdit2->setFocus();
}
