#include "ui/WindowPlace.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
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

bool OnWayland() {
  return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool IsFixedSize(const QWidget& window) {
  return window.minimumSize() == window.maximumSize();
}

constexpr Qt::WindowStates kResizingStates = Qt::WindowMaximized | Qt::WindowFullScreen;

// Wayland compositors may maximise a window or show it full screen whatever
// its flags and size limits say (weston does, from the title bar Qt draws and
// from its own keys), and end the program when the window does not then take
// the size they gave. So there the window system may size the window, and
// the window goes back to its normal state and its own size at once.
class FixedSizeKeeper : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* window = static_cast<QWidget*>(watched);
    switch (event->type()) {
      case QEvent::Show:
        if (OnWayland() && window->windowHandle() != nullptr) {
          window->windowHandle()->setMaximumSize(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
        }
        break;
      case QEvent::WindowStateChange:
        if ((window->windowState() & kResizingStates) != 0) {
          // Not from inside the state change that is being delivered.
          QTimer::singleShot(0, window, [window] { window->setWindowState(window->windowState() & ~kResizingStates); });
        }
        break;
      case QEvent::Resize:
        // A frame edge dragged on Wayland: the size snaps back.
        if (IsFixedSize(*window) && (window->windowState() & kResizingStates) == 0 &&
            window->size() != window->maximumSize()) {
          QTimer::singleShot(0, window, [window] {
            if (IsFixedSize(*window) && (window->windowState() & kResizingStates) == 0) {
              window->resize(window->maximumSize());
            }
          });
        }
        break;
      default: break;
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
  return !OnWayland();
}

Status StoreWindowPlace(const std::filesystem::path& settingsPath, bool placeKnown, QPoint corner) {
  if (!placeKnown) {
    return Success();
  }
  return SaveWindowPos(settingsPath, corner.y(), corner.x());
}

void KeepNormalState(QWidget& window) {
  window.installEventFilter(new FixedSizeKeeper(&window));  // owned by the window
}

}  // namespace k4r::ui
