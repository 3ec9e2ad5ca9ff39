#include "ui/FindDlg2.h"

#include <QComboBox>
#include <QShowEvent>

#include "core/FindInList.h"
#include "ui/DialogFrame.h"
#include "ui_FindDlg2.h"

using k4r::ui::FollowEditText;
using k4r::ui::PlaceAtOffset;
using k4r::ui::SetUpFixedDialog;
using k4r::ui::WireSearchDialog;

TForm4::TForm4(int findMode, QComboBox& officers, const k4r::ui::OwnerFrame& ownerFrame, QWidget* owner)
    : QDialog(owner), findMode_(findMode), officers_(officers), ui_(std::make_unique<Ui::TForm4>()) {
  ui_->setupUi(this);
  SetUpFixedDialog(*this, k4r::ui::kSearchDialogSize);
  WireSearchDialog(*this, *ui_->FindEdit2, *ui_->CancelBtn2);
  PlaceAtOffset(*this, ownerFrame, QPoint(200, 275));
  connect(ui_->FindEdit2, &QLineEdit::textChanged, this, &TForm4::FindEdit2Change);
  connect(ui_->FindBtn2, &QPushButton::clicked, this, &TForm4::FindBtn2Click);
}

TForm4::~TForm4() = default;

QString TForm4::CaptionFor(int findMode) {
  switch (findMode) {
    case 1: return QStringLiteral("親友武将検索");
    case 2: return QStringLiteral("敵対武将検索");
    default: return QStringLiteral("実父武将検索");
  }
}

void TForm4::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) {
    FormShow();
  }
  QDialog::showEvent(event);
}

void TForm4::FormShow() {
  setWindowTitle(CaptionFor(findMode_));
  search_.TakeJoinedText(officers_);
}

void TForm4::FindEdit2Change() {
  FollowEditText(*ui_->FindBtn2, *ui_->FindEdit2);
}

void TForm4::FindBtn2Click() {
  search_.Run(officers_, k4r::search_span::kOfficers, ui_->FindEdit2->text());
  ui_->FindEdit2->setFocus();
}
