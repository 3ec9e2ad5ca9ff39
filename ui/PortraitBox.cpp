#include "ui/PortraitBox.h"

#include <QPainter>

PortraitBox::PortraitBox(QWidget* parent) : QWidget(parent) {}

void PortraitBox::paintEvent(QPaintEvent* /*event*/) {
  if (!paintHandler_) {
    return;
  }
  QPainter painter(this);
  paintHandler_(painter);
}
