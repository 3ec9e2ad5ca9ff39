#include "ui/ByteLimitedEdit.h"

#include <QValidator>
#include <algorithm>

#include "bridge/Cp932.h"
#include "ui/ByteLimit.h"
#include "ui/RefusedInput.h"

using k4r::ui::Cp932Size;
using k4r::ui::FitInsertion;
using k4r::ui::LineBreaks;

// Every change of the text passes here before it is made: typing, pasting,
// dropping and input-method commits. Characters CP932 cannot hold are left
// out with the beep and a tool tip; a change that would exceed the limit keeps
// as much of the inserted text as fits, and names the rest the same way.
class ByteLimitValidator final : public QValidator {
 public:
  explicit ByteLimitValidator(ByteLimitedEdit& edit) : QValidator(&edit), edit_(edit) {}

  State validate(QString& input, int& cursor) const override {
    if (edit_.settingBytes_) {
      return Acceptable;
    }
    const QString& before = edit_.acceptedText_;
    // The inserted part lies between what the text kept in front and behind.
    qsizetype front = 0;
    while (front < before.size() && front < input.size() && before.at(front) == input.at(front)) {
      ++front;
    }
    qsizetype back = 0;
    while (back < before.size() - front && back < input.size() - front &&
           before.at(before.size() - 1 - back) == input.at(input.size() - 1 - back)) {
      ++back;
    }
    // Characters the file cannot store are left out and named; the rest of
    // the same insertion goes in.
    const k4r::ui::ScreenedText screened = k4r::ui::ScreenStorable(input.mid(front, input.size() - front - back));
    if (!screened.refused.isEmpty()) {
      k4r::ui::ReportRefusedInput(edit_, screened.refused);
    }
    const QString& inserted = screened.storable;
    if (inserted.isEmpty() && input.size() - front - back > 0) {
      return Invalid;
    }
    const std::size_t insertedSize = *Cp932Size(inserted, LineBreaks::AsIs);
    const std::size_t limit = static_cast<std::size_t>(std::max(edit_.byteLimit_, 0));
    const std::size_t kept = SavedSize(input.left(front) + input.right(back));
    const std::size_t newSize = kept + insertedSize;
    if (newSize <= limit || newSize <= SavedSize(before)) {
      if (!screened.refused.isEmpty()) {
        input = input.left(front) + inserted + input.right(back);
        cursor = static_cast<int>(front + inserted.size());
      }
      return Acceptable;
    }
    // What does not fit is left out, and the user is told what it was.
    const QString fitting = kept >= limit ? QString() : *FitInsertion(inserted, limit - kept, LineBreaks::AsIs);
    k4r::ui::ReportCutInput(edit_, inserted.mid(fitting.size()), edit_.byteLimit_);
    if (fitting.isEmpty()) {
      return Invalid;
    }
    input = input.left(front) + fitting + input.right(back);
    cursor = static_cast<int>(front + fitting.size());
    return Acceptable;
  }

 private:
  static std::size_t SavedSize(const QString& text) { return k4r::ui::EncodedSize(text, LineBreaks::AsIs); }

  ByteLimitedEdit& edit_;
};

ByteLimitedEdit::ByteLimitedEdit(QWidget* parent) : QLineEdit(parent) {
  setValidator(new ByteLimitValidator(*this));
  connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { acceptedText_ = text; });
}

void ByteLimitedEdit::SetBytes(k4r::ByteView bytes) {
  originalBytes_ = k4r::ByteString(bytes);
  originalText_ = k4r::bridge::FromCp932(bytes);
  hasOriginal_ = true;
  settingBytes_ = true;
  setText(originalText_);
  acceptedText_ = text();
  settingBytes_ = false;
}

k4r::ByteString ByteLimitedEdit::Bytes() const {
  if (hasOriginal_ && text() == originalText_) {
    return originalBytes_;
  }
  return k4r::ui::EncodeEdited(text());
}
