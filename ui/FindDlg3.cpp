#include "ui/FindDlg3.h"

#include <QComboBox>

#include "core/find_in_list.h"
#include "ui/DialogFrame.h"
#include "ui/Main.h"

using k4r::ui::FollowEditText;
using k4r::ui::ListSearch;
using k4r::ui::PlaceAtOffset;
using k4r::ui::SetUpFixedDialog;
using k4r::ui::WireSearchDialog;

TForm6::TForm6(TForm1& mainWindow) : QDialog(&mainWindow), mainWindow_(mainWindow) {
  ui_.setupUi(this);
  SetUpFixedDialog(*this, k4r::ui::kSearchDialogSize);
  WireSearchDialog(*this, *ui_.FindEdit3, *ui_.CancelBtn3);
  PlaceAtOffset(*this, mainWindow_, QPoint(140, 175));
  // Unlike the other two, this dialog takes the joined text as it is made,
  // and opens with its search button enabled: Enter at once moves to the
  // next face.
  search_.TakeJoinedText(*mainWindow_.KaoComboBox1());
  connect(ui_.FindEdit3, &QLineEdit::textChanged, this, &TForm6::FindEdit3Change);
  connect(ui_.FindBtn3, &QPushButton::clicked, this, &TForm6::FindBtn3Click);
}

void TForm6::FindEdit3Change() {
  FollowEditText(*ui_.FindBtn3, *ui_.FindEdit3);
}

void TForm6::FindBtn3Click() {
  if (search_.Run(*mainWindow_.KaoComboBox1(), k4r::search_span::kFaces, ui_.FindEdit3->text()) ==
      k4r::ui::ListSearch::Outcome::Selected) {
    // A selection set from code does not redraw the portrait by itself.
    mainWindow_.KaoComboBox1Change();
  }
  ui_.FindEdit3->setFocus();
}
