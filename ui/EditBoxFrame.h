#pragma once
// A multi-line box framed as the one-line edit boxes are, focus included:
// the style draws a plain frame around scroll areas, which does not show
// that the box has the keyboard focus.

class QAbstractScrollArea;
class QObject;

namespace k4r::ui {

// `owner` keeps the style that draws the frame; it must outlive `box`.
void FrameLikeEditBoxes(QAbstractScrollArea& box, QObject& owner);

}  // namespace k4r::ui
