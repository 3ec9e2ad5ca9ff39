#include "ui/WindowPlace.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <limits>

#include "core/Settings.h"

namespace k4r::ui {
namespace {

// How much of the title bar's length must show for it to be grabbed.
constexpr int kTitleBarGrip = 100;
// Before a window is first shown the window manager has not framed it yet.
constexpr int kAssumedTitleBarHeight = 30;

// The corner nearest `corner` at which the title bar shows on `screen`.
QPoint ShowOn(QPoint corner, QSize titleBar, const QRect& screen) {
  const int grip = std::min({titleBar.width(), kTitleBarGrip, screen.width()});
  const int lowestLeft = screen.left() + grip - titleBar.width();
  const int highestLeft = screen.left() + screen.width() - grip;
  const int lowestTop = screen.top();
  const int highestTop = std::max(lowestTop, screen.top() + screen.height() - titleBar.height());
  return {std::clamp(corner.x(), lowestLeft, highestLeft), std::clamp(corner.y(), lowestTop, highestTop)};
}

class NormalStateKeeper : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::WindowStateChange) {
      auto* window = static_cast<QWidget*>(watched);
      constexpr Qt::WindowStates kResizing = Qt::WindowMaximized | Qt::WindowFullScreen;
      if ((window->windowState() & kResizing) != 0) {
        // Not from inside the state change that is being delivered.
        QTimer::singleShot(0, window,
                           [window, kResizing] { window->setWindowState(window->windowState() & ~kResizing); });
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

QPoint ShowTitleBar(QPoint corner, QSize titleBar, const QList<QRect>& screens) {
  QPoint nearest = corner;
  qint64 nearestDistance = std::numeric_limits<qint64>::max();
  for (const QRect& screen : screens) {
    const QPoint shown = ShowOn(corner, titleBar, screen);
    if (shown == corner) {
      return corner;
    }
    const qint64 dx = shown.x() - corner.x();
    const qint64 dy = shown.y() - corner.y();
    if (dx * dx + dy * dy < nearestDistance) {
      nearestDistance = dx * dx + dy * dy;
      nearest = shown;
    }
  }
  return nearest;
}

QPoint OpeningCorner(QPoint stored, int frameWidth, int menuHeight) {
  QList<QRect> areas;
  for (const QScreen* screen : QGuiApplication::screens()) {
    areas.append(screen->availableGeometry());
  }
  return ShowTitleBar(stored, QSize(frameWidth, kAssumedTitleBarHeight + menuHeight), areas);
}

bool PlatformReportsWindowPlace() {
  return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

Status StoreWindowPlace(const std::filesystem::path& settingsPath, bool placeKnown, QPoint corner) {
  if (!placeKnown) {
    return Success();
  }
  return SaveWindowPos(settingsPath, corner.y(), corner.x());
}

void KeepNormalState(QWidget& window) {
  window.installEventFilter(new NormalStateKeeper(&window));  // owned by the window
}

}  // namespace k4r::ui
