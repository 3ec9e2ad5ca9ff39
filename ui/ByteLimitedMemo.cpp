#include "ui/ByteLimitedMemo.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>
#include <algorithm>

#include "bridge/Cp932.h"
#include "ui/ByteLimit.h"

using k4r::ui::Cp932Size;
using k4r::ui::LineBreaks;

namespace {

QString WithUnixLineBreaks(QString text) {
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

// The document marks line breaks inside a selection with these two.
QString PlainLineBreaks(QString text) {
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  text.replace(QChar::LineSeparator, QLatin1Char('\n'));
  return text;
}

std::size_t SavedSize(const QString& text) {
  return k4r::ui::EncodedSize(text, LineBreaks::CountAsCrLf);
}

}  // namespace

ByteLimitedMemo::ByteLimitedMemo(QWidget* parent) : QPlainTextEdit(parent) {}

void ByteLimitedMemo::SetBytes(k4r::ByteView bytes) {
  originalBytes_ = k4r::ByteString(bytes);
  setPlainText(WithUnixLineBreaks(k4r::bridge::FromCp932(bytes)));
  // The document may have normalised the text; compare with what it holds.
  originalText_ = toPlainText();
  hasOriginal_ = true;
}

k4r::ByteString ByteLimitedMemo::Bytes() const {
  const QString text = toPlainText();
  if (hasOriginal_ && text == originalText_) {
    return originalBytes_;
  }
  QString withCrLf = text;
  withCrLf.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
  return k4r::ui::EncodeEdited(withCrLf);
}

std::size_t ByteLimitedMemo::ByteSize() const {
  return SavedSize(toPlainText());
}

std::optional<QString> ByteLimitedMemo::Fit(const QString& inserted) const {
  const QString text = WithUnixLineBreaks(inserted);
  if (!Cp932Size(text, LineBreaks::CountAsCrLf)) {
    return std::nullopt;
  }
  const std::size_t limit = static_cast<std::size_t>(std::max(byteLimit_, 0));
  const std::size_t selected = SavedSize(PlainLineBreaks(textCursor().selectedText()));
  const std::size_t current = ByteSize();
  const std::size_t kept = current - std::min(current, selected);
  if (kept >= limit) {
    return std::nullopt;
  }
  return k4r::ui::FitInsertion(text, limit - kept, LineBreaks::CountAsCrLf);
}

void ByteLimitedMemo::keyPressEvent(QKeyEvent* event) {
  QString typed = event->text();
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    typed = QStringLiteral("\n");
  }
  const bool insertsText = !typed.isEmpty() && (typed == QLatin1String("\n") || typed.at(0).isPrint()) &&
                           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
  if (insertsText) {
    const std::optional<QString> fitting = Fit(typed);
    if (!fitting || *fitting != typed) {
      event->accept();  // refused whole: a character is never split or replaced
      return;
    }
  }
  QPlainTextEdit::keyPressEvent(event);
}

void ByteLimitedMemo::inputMethodEvent(QInputMethodEvent* event) {
  const QString commit = event->commitString();
  if (commit.isEmpty()) {
    QPlainTextEdit::inputMethodEvent(event);
    return;
  }
  const QString fitting = Fit(commit).value_or(QString());
  if (fitting == commit) {
    QPlainTextEdit::inputMethodEvent(event);
    return;
  }
  QInputMethodEvent trimmed(event->preeditString(), event->attributes());
  trimmed.setCommitString(fitting, event->replacementStart(), event->replacementLength());
  QPlainTextEdit::inputMethodEvent(&trimmed);
  event->accept();
}

void ByteLimitedMemo::insertFromMimeData(const QMimeData* source) {
  if (source == nullptr || !source->hasText()) {
    return;
  }
  const std::optional<QString> fitting = Fit(source->text());
  if (!fitting || fitting->isEmpty()) {
    return;
  }
  QMimeData plain;
  plain.setText(*fitting);
  QPlainTextEdit::insertFromMimeData(&plain);
}
