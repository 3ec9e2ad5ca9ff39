#include "ui/NumberBox.h"

#include <QValidator>
#include <algorithm>

#include "core/IntegerRule.h"

namespace {

// Every change passes here; nothing is refused, since the change handlers
// answer a text that is not a number themselves.
class AsciiDigitsValidator final : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& /*cursor*/) const override {
    const bool ascii = std::all_of(input.begin(), input.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (!ascii) {
      // Each full-width form is one UTF-16 unit, as its ASCII form: the cursor stays.
      input = QString::fromStdString(k4r::WithAsciiNumberForms(input.toStdString()));
    }
    return Acceptable;
  }
};

}  // namespace

NumberEdit::NumberEdit(QWidget* parent) : QLineEdit(parent) {
  setAttribute(Qt::WA_InputMethodEnabled, false);
  setInputMethodHints(Qt::ImhDigitsOnly | Qt::ImhNoPredictiveText);
  setValidator(new AsciiDigitsValidator(this));
}

QVariant NumberEdit::inputMethodQuery(Qt::InputMethodQuery property) const {
  if (property == Qt::ImEnabled) {
    return false;
  }
  return QLineEdit::inputMethodQuery(property);
}
