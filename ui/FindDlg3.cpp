#include "ui/FindDlg3.h"

#include <QComboBox>

#include "core/FindInList.h"
#include "ui/DialogFrame.h"
#include "ui_FindDlg3.h"

using k4r::ui::FollowEditText;
using k4r::ui::PlaceAtOffset;
using k4r::ui::SetUpFixedDialog;
using k4r::ui::WireSearchDialog;

TForm6::TForm6(QComboBox& faces, const k4r::ui::OwnerFrame& ownerFrame, QWidget* owner)
    : QDialog(owner), faces_(faces), ui_(std::make_unique<Ui::TForm6>()) {
  ui_->setupUi(this);
  SetUpFixedDialog(*this, k4r::ui::kSearchDialogSize);
  WireSearchDialog(*this, *ui_->FindEdit3, *ui_->CancelBtn3);
  PlaceAtOffset(*this, ownerFrame, QPoint(140, 175));
  // Unlike the other two, this dialog takes the joined text as it is made,
  // and opens with its search button enabled: Enter at once moves to the
  // next face.
  search_.TakeJoinedText(faces_);
  connect(ui_->FindEdit3, &QLineEdit::textChanged, this, &TForm6::FindEdit3Change);
  connect(ui_->FindBtn3, &QPushButton::clicked, this, &TForm6::FindBtn3Click);
}

TForm6::~TForm6() = default;

void TForm6::FindEdit3Change() {
  FollowEditText(*ui_->FindBtn3, *ui_->FindEdit3);
}

void TForm6::FindBtn3Click() {
  if (search_.Run(faces_, k4r::search_span::kFaces, ui_->FindEdit3->text()) == k4r::ui::ListSearch::Outcome::Selected) {
    emit FaceSelected();
  }
  ui_->FindEdit3->setFocus();
}
