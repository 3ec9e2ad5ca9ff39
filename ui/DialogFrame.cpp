#include "ui/DialogFrame.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "bridge/EditorFont.h"
#include "ui/Accessibility.h"
#include "ui/WindowPlace.h"

namespace k4r::ui {

void SetUpFixedDialog(QDialog& dialog, QSize clientSize) {
  dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                        Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  dialog.setSizeGripEnabled(false);
  dialog.setFixedSize(clientSize);
  const QFont font = bridge::EditorFont();
  dialog.setFont(font);
  // Under the main window's style sheet a control does not take its font
  // from the dialog, so each one is given it.
  for (QWidget* control : dialog.findChildren<QWidget*>()) {
    QFont own = font;
    own.setBold(control->font().bold());
    own.setItalic(control->font().italic());
    own.setUnderline(control->font().underline());
    control->setFont(own);
  }
  NameByLabels(dialog);
  KeepNormalState(dialog);
}

QPoint FitInside(const QRect& frame, const QRect& available) {
  int left = frame.left();
  int top = frame.top();
  // Over the right or bottom edge: back just far enough. A window larger
  // than the screen then keeps its top-left corner on the screen.
  left = std::min(left, available.right() - frame.width() + 1);
  top = std::min(top, available.bottom() - frame.height() + 1);
  left = std::max(left, available.left());
  top = std::max(top, available.top());
  return {left, top};
}

QPoint FrameTopLeft(const QWidget& window) {
  const QWindow* platformWindow = window.windowHandle();
  if (platformWindow == nullptr || !window.isVisible()) {
    return window.pos();
  }
  return platformWindow->framePosition();
}

OwnerFrame FrameOf(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  const QRect client = window.geometry();
  return {FrameTopLeft(window), QSize(frame.width() - client.width(), frame.height() - client.height()),
          window.screen()};
}

void PlaceAtOffset(QWidget& dialog, const OwnerFrame& owner, QPoint offset) {
  const QPoint wanted = owner.topLeft + offset;
  // The dialog has no frame of its own yet; the owner's frame, drawn by the
  // same window manager, is the best guess of how much it adds.
  const QRect dialogFrame(wanted, dialog.size() + owner.decoration);

  QScreen* screen = QGuiApplication::screenAt(wanted);
  if (screen == nullptr) {
    screen = owner.screen;
  }
  if (screen == nullptr) {
    dialog.move(wanted);
    return;
  }
  dialog.move(FitInside(dialogFrame, screen->availableGeometry()));
}

}  // namespace k4r::ui
