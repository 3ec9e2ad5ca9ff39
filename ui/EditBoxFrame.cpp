#include "ui/EditBoxFrame.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QProxyStyle>
#include <QStyleFactory>

namespace k4r::ui {
namespace {

// Follows the application's style, except that a scroll area's frame is an
// edit box's, which the style draws with the focus when the box has it.
class EditBoxFrameStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    if (element == PE_Frame && qobject_cast<const QAbstractScrollArea*>(widget) != nullptr) {
      element = PE_FrameLineEdit;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
  }
};

}  // namespace

void FrameLikeEditBoxes(QAbstractScrollArea& box, QObject& owner) {
  // Based on the application's own style, not on the desktop's default.
  auto* style = new EditBoxFrameStyle(QStyleFactory::create(QApplication::style()->name()));
  style->setParent(&owner);
  box.setStyle(style);
}

}  // namespace k4r::ui
