#pragma once
// What the editor's small modal dialogs share: the fixed dialog frame in the
// window font, and the placement at a fixed offset from the main window.

#include <QPoint>
#include <QRect>
#include <QSize>

class QDialog;
class QScreen;
class QWidget;

namespace k4r::ui {

// A fixed-size dialog with a close box and no minimise, maximise or resize,
// whose client area is `clientSize`, in bridge::EditorFont(): the dialog and every
// control of its form, each keeping the bold, italic and underline of its
// form. Call it once the form's controls are made.
void SetUpFixedDialog(QDialog& dialog, QSize clientSize);

// Where a window whose frame is `frame` goes so that it lies wholly inside
// `available`: moved just enough, left/up first when it hangs over the right
// or bottom edge, right/down when it hangs over the left or top edge.
[[nodiscard]] QPoint FitInside(const QRect& frame, const QRect& available);

// The top-left corner of a top-level window's frame as the window system has
// it now, or the position last asked for while the window is not shown.
// Qt's widget keeps the frame's size from the last move or resize it saw,
// which can still be none when the window manager framed the window without
// moving its client area; the platform window asks again when that changed.
[[nodiscard]] QPoint FrameTopLeft(const QWidget& window);

// What a dialog placed at an offset from the main window needs of it: the
// frame's top-left corner, what the window manager's frame adds to a client
// area, and the screen the window is on.
struct OwnerFrame {
  QPoint topLeft;
  QSize decoration;
  QScreen* screen = nullptr;
};

// `window`'s frame as it stands now.
[[nodiscard]] OwnerFrame FrameOf(const QWidget& window);

// Moves `dialog` (its frame's top-left corner) to the owner's top-left frame
// corner plus `offset`, then onto the screen if it would stick out.
void PlaceAtOffset(QWidget& dialog, const OwnerFrame& owner, QPoint offset);

}  // namespace k4r::ui
