#include "ui/RefusedInput.h"

#include <QAccessible>
#include <QEvent>
#include <QLabel>
#include <QStringList>

#include "ui/Prompts.h"

namespace k4r::ui {
namespace {

QString Named(const QString& characters) {
  QStringList named;
  for (const char32_t code : characters.toUcs4()) {
    const bool visible = QChar::isPrint(code) && !QChar::isSpace(code);
    named << (visible ? QString::fromUcs4(&code, 1)
                      : QStringLiteral("U+%1").arg(static_cast<uint>(code), 4, 16, QLatin1Char('0')).toUpper());
  }
  return named.join(QLatin1Char(' '));
}

// Gives the box its own description back when the tool tip goes.
class DescriptionKeeper final : public QObject {
 public:
  DescriptionKeeper(QWidget& tip, QWidget& box) : QObject(&tip), box_(box), original_(box.accessibleDescription()) {
    setObjectName(QStringLiteral("descriptionKeeper"));
    tip.installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Hide) {
      box_.setAccessibleDescription(original_);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget& box_;
  QString original_;
};

// A tool tip is seen, not heard. The message is raised as an alert on the
// tool tip, whose accessible name is its text (Windows and macOS announce
// alerts); Qt's AT-SPI bridge drops alerts, so while the tip shows the box's
// description is the message too, a change screen readers read for the
// focused control.
void Report(QWidget& box, const QString& message) {
  Prompts::Beep();
  Prompts::ShowToolTip(box, message);
  auto* tip = box.findChild<QLabel*>(QStringLiteral("inputToolTip"), Qt::FindDirectChildrenOnly);
  if (tip == nullptr) {
    return;
  }
  tip->setAccessibleName(message);
  if (tip->findChild<QObject*>(QStringLiteral("descriptionKeeper")) == nullptr) {
    new DescriptionKeeper(*tip, box);
  }
  box.setAccessibleDescription(message);
  QAccessibleEvent alert(tip, QAccessible::Alert);
  QAccessible::updateAccessibility(&alert);
}

}  // namespace

QString RefusedInputText(const QString& refused) {
  return QStringLiteral("保存できない文字は入力できません: ") + Named(refused);
}

QString CutInputText(const QString& leftOut, int byteLimit) {
  return QString::number(byteLimit) + QStringLiteral(" バイトを超える分は入力できません: ") + Named(leftOut);
}

void ReportRefusedInput(QWidget& box, const QString& refused) {
  Report(box, RefusedInputText(refused));
}

void ReportCutInput(QWidget& box, const QString& leftOut, int byteLimit) {
  Report(box, CutInputText(leftOut, byteLimit));
}

}  // namespace k4r::ui
