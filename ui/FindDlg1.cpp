#include "ui/FindDlg1.h"

#include <QComboBox>
#include <QShowEvent>

#include "core/FindInList.h"
#include "ui/DialogFrame.h"
#include "ui_FindDlg1.h"

using k4r::ui::FollowEditText;
using k4r::ui::PlaceAtOffset;
using k4r::ui::SetUpFixedDialog;
using k4r::ui::WireSearchDialog;

TForm3::TForm3(QComboBox& bases, const k4r::ui::OwnerFrame& ownerFrame, QWidget* owner)
    : QDialog(owner), bases_(bases), ui_(std::make_unique<Ui::TForm3>()) {
  ui_->setupUi(this);
  SetUpFixedDialog(*this, k4r::ui::kSearchDialogSize);
  WireSearchDialog(*this, *ui_->FindEdit1, *ui_->CancelBtn1);
  PlaceAtOffset(*this, ownerFrame, QPoint(500, 240));
  connect(ui_->FindEdit1, &QLineEdit::textChanged, this, &TForm3::FindEdit1Change);
  connect(ui_->FindBtn1, &QPushButton::clicked, this, &TForm3::FindBtn1Click);
}

TForm3::~TForm3() = default;

void TForm3::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) {
    FormShow();
  }
  QDialog::showEvent(event);
}

void TForm3::FormShow() {
  search_.TakeJoinedText(bases_);
}

void TForm3::FindEdit1Change() {
  FollowEditText(*ui_->FindBtn1, *ui_->FindEdit1);
}

void TForm3::FindBtn1Click() {
  search_.Run(bases_, k4r::search_span::kBases, ui_->FindEdit1->text());
  ui_->FindEdit1->setFocus();
}
