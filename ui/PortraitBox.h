#pragma once
// The paint area of the face portrait: its painting is done by whoever owns
// the picture (the main window's PaintBox1Paint).

#include <QWidget>
#include <functional>

class QPainter;

class PortraitBox : public QWidget {
  Q_OBJECT

 public:
  explicit PortraitBox(QWidget* parent = nullptr);
  void SetPaintHandler(std::function<void(QPainter&)> handler) { paintHandler_ = std::move(handler); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::function<void(QPainter&)> paintHandler_;
};
