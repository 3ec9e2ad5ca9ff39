#include "ui/UpDown.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include "core/IntegerRule.h"

UpDown::UpDown(QWidget* parent) : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
  setFocusPolicy(Qt::NoFocus);
  for (QToolButton* button : {up_, down_}) {
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRepeat(true);
    button->setArrowType(button == up_ ? Qt::UpArrow : Qt::DownArrow);
  }
  up_->setObjectName(QStringLiteral("up"));
  down_->setObjectName(QStringLiteral("down"));
  connect(up_, &QToolButton::clicked, this, &UpDown::StepUp);
  connect(down_, &QToolButton::clicked, this, &UpDown::StepDown);
}

void UpDown::SetBuddy(QLineEdit* buddy) {
  if (buddy_ != nullptr) {
    buddy_->removeEventFilter(this);
  }
  buddy_ = buddy;
  if (buddy_ != nullptr) {
    buddy_->installEventFilter(this);
  }
}

void UpDown::StepUp() {
  Step(+1);
}
void UpDown::StepDown() {
  Step(-1);
}

void UpDown::Step(int direction) {
  if (buddy_ == nullptr || !isEnabled()) {
    return;
  }
  const std::optional<std::int32_t> shown = k4r::ParseInteger(buddy_->text().toStdString());
  const int current = shown ? *shown : position_;
  // A typed value beyond a bound still steps back towards the range, never past it.
  if ((direction > 0 && current >= maximum_) || (direction < 0 && current <= minimum_)) {
    position_ = current;
    return;
  }
  position_ = current + direction;
  buddy_->setText(QString::number(position_));
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
  if (watched == buddy_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
      Step(key->key() == Qt::Key_Up ? +1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void UpDown::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int upper = height() / 2;
  up_->setGeometry(0, 0, width(), upper);
  down_->setGeometry(0, upper, width(), height() - upper);
}
