#pragma once
// The base search: finds the next home base whose name holds a typed text.

#include <QDialog>
#include <memory>

#include "ui/SearchDialogCore.h"

class QComboBox;
class QShowEvent;

namespace k4r::ui {
struct OwnerFrame;
}
namespace Ui {
class TForm3;
}

class TForm3 : public QDialog {
  Q_OBJECT

 public:
  // Searches `bases`, placed from `owner`'s frame.
  TForm3(QComboBox& bases, const k4r::ui::OwnerFrame& ownerFrame, QWidget* owner);
  ~TForm3() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  void FindEdit1Change();
  void FindBtn1Click();

  QComboBox& bases_;
  std::unique_ptr<Ui::TForm3> ui_;
  k4r::ui::ListSearch search_;
};
