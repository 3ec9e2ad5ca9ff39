#pragma once
// The face search: finds the next face whose name holds a typed text and
// tells the main window to draw it.

#include <QDialog>
#include <memory>

#include "ui/SearchDialogCore.h"

class QComboBox;

namespace k4r::ui {
struct OwnerFrame;
}
namespace Ui {
class TForm6;
}

class TForm6 : public QDialog {
  Q_OBJECT

 public:
  // Searches `faces`, placed from `owner`'s frame.
  TForm6(QComboBox& faces, const k4r::ui::OwnerFrame& ownerFrame, QWidget* owner);
  ~TForm6() override;

 signals:
  // A search has selected another face; a selection set from code does not
  // redraw the portrait by itself.
  void FaceSelected();

 private:
  void FindEdit3Change();
  void FindBtn3Click();

  QComboBox& faces_;
  std::unique_ptr<Ui::TForm6> ui_;
  k4r::ui::ListSearch search_;
};
