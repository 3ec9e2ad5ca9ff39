#include "ui/DialogFrame.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QWindow>
#include <algorithm>

namespace k4r::ui {

QFont DialogFont() {
  QFont font;
  font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
                    QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")});
  font.setPixelSize(12);
  return font;
}

void SetUpFixedDialog(QDialog& dialog, QSize clientSize) {
  dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                        Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  dialog.setSizeGripEnabled(false);
  dialog.setFixedSize(clientSize);
  const QFont font = DialogFont();
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

void PlaceAtOffset(QWidget& dialog, const QWidget& mainWindow, QPoint offset) {
  const QPoint wanted = FrameTopLeft(mainWindow) + offset;
  // The dialog has no frame of its own yet; the main window's frame, drawn by
  // the same window manager, is the best guess of how much it adds.
  const QRect mainFrame = mainWindow.frameGeometry();
  const QRect mainClient = mainWindow.geometry();
  const QSize frameExtra(mainFrame.width() - mainClient.width(), mainFrame.height() - mainClient.height());
  const QRect dialogFrame(wanted, dialog.size() + frameExtra);

  QScreen* screen = QGuiApplication::screenAt(wanted);
  if (screen == nullptr) {
    screen = mainWindow.screen();
  }
  if (screen == nullptr) {
    dialog.move(wanted);
    return;
  }
  dialog.move(FitInside(dialogFrame, screen->availableGeometry()));
}

}  // namespace k4r::ui
