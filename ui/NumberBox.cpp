#include "ui/NumberBox.h"

#include <QInputMethodQueryEvent>
#include <QLineEdit>
#include <QValidator>
#include <algorithm>

#include "core/IntegerRule.h"

namespace k4r::ui {
namespace {

// A QLineEdit answers Qt::ImEnabled from its enabled and read-only state
// alone, and some input method modules ask the widget directly; so the box's
// answers are given here, with the input method off and digits asked for.
class DirectInputFilter final : public QObject {
 public:
  explicit DirectInputFilter(QLineEdit& box) : QObject(&box), box_(box) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != &box_ || event->type() != QEvent::InputMethodQuery) {
      return QObject::eventFilter(watched, event);
    }
    auto* query = static_cast<QInputMethodQueryEvent*>(event);
    for (int bit = 0; bit < 32; ++bit) {
      const auto property = static_cast<Qt::InputMethodQuery>(1U << bit);
      if (!query->queries().testFlag(property)) {
        continue;
      }
      if (property == Qt::ImEnabled) {
        query->setValue(property, false);
      } else if (property == Qt::ImHints) {
        query->setValue(property, static_cast<int>(box_.inputMethodHints()));
      } else {
        query->setValue(property, box_.inputMethodQuery(property));
      }
    }
    query->accept();
    return true;
  }

 private:
  QLineEdit& box_;
};

// Every change passes here; nothing is refused, since the change handlers
// answer a text that is not a number themselves.
class AsciiDigitsValidator final : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& /*cursor*/) const override {
    // Each full-width form is one UTF-16 unit, as its ASCII form: the cursor stays.
    input = WithAsciiDigits(input);
    return Acceptable;
  }
};

}  // namespace

QString WithAsciiDigits(const QString& text) {
  const bool ascii = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
  if (ascii) {
    return text;
  }
  return QString::fromStdString(k4r::WithAsciiNumberForms(text.toStdString()));
}

void MakeNumberBox(QLineEdit& box) {
  box.setAttribute(Qt::WA_InputMethodEnabled, false);
  box.setInputMethodHints(Qt::ImhDigitsOnly | Qt::ImhNoPredictiveText);
  box.installEventFilter(new DirectInputFilter(box));
  box.setValidator(new AsciiDigitsValidator(&box));
}

}  // namespace k4r::ui
