#pragma once
// The officer search: finds the next officer whose name holds a typed text,
// in the father, friend or enemy list as the main window's FindMode says.

#include <QDialog>
#include <QString>
#include <memory>

#include "ui/SearchDialogCore.h"

class QComboBox;
class QShowEvent;

namespace k4r::ui {
struct OwnerFrame;
}
namespace Ui {
class TForm4;
}

class TForm4 : public QDialog {
  Q_OBJECT

 public:
  // Searches `officers`, the list that `findMode` names (0 father, 1 friend,
  // 2 enemy), captioned for that mode and placed from `owner`'s frame.
  TForm4(int findMode, QComboBox& officers, const k4r::ui::OwnerFrame& ownerFrame, QWidget* owner);
  ~TForm4() override;

  // The caption for a FindMode: 0 father, 1 friend, 2 enemy.
  [[nodiscard]] static QString CaptionFor(int findMode);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  void FindEdit2Change();
  void FindBtn2Click();

  int findMode_;
  QComboBox& officers_;
  std::unique_ptr<Ui::TForm4> ui_;
  k4r::ui::ListSearch search_;
};
