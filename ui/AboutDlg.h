#pragma once
// The About dialog: the program's name, version, credit and a link to the
// project's home page.

#include <QDialog>
#include <memory>

namespace k4r::ui {
struct OwnerFrame;
}
namespace Ui {
class TForm2;
}

class TForm2 : public QDialog {
  Q_OBJECT

 public:
  // Placed from `owner`'s frame.
  TForm2(const k4r::ui::OwnerFrame& ownerFrame, QWidget* owner);
  ~TForm2() override;

 protected:
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ColourLink();
  void Label4Click();

  std::unique_ptr<Ui::TForm2> ui_;
};
