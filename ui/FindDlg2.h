#pragma once
// The officer search: finds the next officer whose name holds a typed text,
// in the father, friend or enemy list as the main window's FindMode says.

#include <QDialog>
#include <QString>

#include "ui/SearchDialogCore.h"
#include "ui/ui_FindDlg2.h"

class QComboBox;
class QShowEvent;

class TForm1;

class TForm4 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm4(TForm1& mainWindow);

  // The caption for a FindMode: 0 father, 1 friend, 2 enemy.
  [[nodiscard]] static QString CaptionFor(int findMode);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  void FindEdit2Change();
  void FindBtn2Click();
  // The list that FindMode names now.
  [[nodiscard]] QComboBox& TargetList() const;

  TForm1& mainWindow_;
  Ui::TForm4 ui_;
  k4r::ui::ListSearch search_;
};
