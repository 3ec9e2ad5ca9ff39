#pragma once
// An up/down arrow pair attached to an edit box. A click, or the Up and Down
// keys while the box has focus, reads the number in the box, steps it by 1 and
// writes it back as plain digits, which is a text change like any other. It
// never steps past Minimum or Maximum and does not wrap; what the user types
// is not held to that range.

#include <QWidget>

class QLineEdit;
class QToolButton;

class UpDown : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int minimum READ minimum WRITE setMinimum)
  Q_PROPERTY(int maximum READ maximum WRITE setMaximum)
  Q_PROPERTY(int position READ position WRITE setPosition)

 public:
  explicit UpDown(QWidget* parent = nullptr);

  [[nodiscard]] int minimum() const { return minimum_; }
  void setMinimum(int value) { minimum_ = value; }
  [[nodiscard]] int maximum() const { return maximum_; }
  void setMaximum(int value) { maximum_ = value; }
  // The last value the spinner read or wrote; used when the box holds no number.
  [[nodiscard]] int position() const { return position_; }
  void setPosition(int value) { position_ = value; }

  void SetBuddy(QLineEdit* buddy);

  void StepUp();
  void StepDown();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Step(int direction);

  int minimum_ = 0;
  int maximum_ = 100;
  int position_ = 0;
  QLineEdit* buddy_ = nullptr;
  QToolButton* up_ = nullptr;
  QToolButton* down_ = nullptr;
};
