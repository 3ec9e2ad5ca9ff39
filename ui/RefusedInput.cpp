#include "ui/RefusedInput.h"

#include <QStringList>

#include "ui/Prompts.h"

namespace k4r::ui {

QString RefusedInputText(const QString& refused) {
  QStringList named;
  for (const char32_t code : refused.toUcs4()) {
    const bool visible = QChar::isPrint(code) && !QChar::isSpace(code);
    named << (visible ? QString::fromUcs4(&code, 1)
                      : QStringLiteral("U+%1").arg(static_cast<uint>(code), 4, 16, QLatin1Char('0')).toUpper());
  }
  return QStringLiteral("保存できない文字は入力できません: ") + named.join(QLatin1Char(' '));
}

void ReportRefusedInput(QWidget& box, const QString& refused) {
  Prompts::Beep();
  Prompts::ShowToolTip(box, RefusedInputText(refused));
}

}  // namespace k4r::ui
