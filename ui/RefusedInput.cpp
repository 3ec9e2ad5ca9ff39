#include "ui/RefusedInput.h"

#include <QAccessible>
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

// A tool tip is seen, not heard: the message is raised as an alert too, on
// the tool tip itself, whose accessible name is its text.
void Report(QWidget& box, const QString& message) {
  Prompts::Beep();
  Prompts::ShowToolTip(box, message);
  if (auto* tip = box.findChild<QLabel*>(QStringLiteral("inputToolTip"), Qt::FindDirectChildrenOnly)) {
    tip->setAccessibleName(message);
    QAccessibleEvent alert(tip, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
  }
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
