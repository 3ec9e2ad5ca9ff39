#include "ui/ByteLimitedMemo.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>
#include <algorithm>

#include "bridge/Cp932.h"
#include "ui/ByteLimit.h"
#include "ui/RefusedInput.h"

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

// The text a key inserts, by the rule of Qt's text controls (a printable or
// private-use character or a surrogate pair, not with Ctrl or Ctrl+Shift;
// format characters always), with Return and Enter as a line break; empty
// for keys that insert nothing. Tab moves the focus in this box.
QString TextOfKey(const QKeyEvent& event) {
  if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) {
    return QStringLiteral("\n");
  }
  const QString text = event.text();
  if (text.isEmpty()) {
    return {};
  }
  const QChar first = text.at(0);
  if (first.category() == QChar::Other_Format) {
    return text;
  }
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  if (modifiers == Qt::ControlModifier || modifiers == (Qt::ShiftModifier | Qt::ControlModifier)) {
    return {};
  }
  const bool surrogatePair = first.isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate();
  if (first.isPrint() || first.category() == QChar::Other_PrivateUse || surrogatePair) {
    return text;
  }
  return {};
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

QString ByteLimitedMemo::Fit(const QString& storable) const {
  const std::size_t limit = static_cast<std::size_t>(std::max(byteLimit_, 0));
  const std::size_t selected = SavedSize(PlainLineBreaks(textCursor().selectedText()));
  const std::size_t current = ByteSize();
  const std::size_t kept = current - std::min(current, selected);
  if (kept >= limit) {
    return {};
  }
  return *k4r::ui::FitInsertion(storable, limit - kept, LineBreaks::CountAsCrLf);
}

QString ByteLimitedMemo::Admit(const QString& inserted) {
  const k4r::ui::ScreenedText screened = k4r::ui::ScreenStorable(WithUnixLineBreaks(inserted));
  if (!screened.refused.isEmpty()) {
    k4r::ui::ReportRefusedInput(*this, screened.refused);
  }
  const QString fitting = Fit(screened.storable);
  if (fitting.size() < screened.storable.size()) {
    k4r::ui::ReportCutInput(*this, screened.storable.mid(fitting.size()), byteLimit_);
  }
  return fitting;
}

void ByteLimitedMemo::keyPressEvent(QKeyEvent* event) {
  const QString typed = TextOfKey(*event);
  if (!typed.isEmpty()) {
    const QString admitted = Admit(typed);
    if (admitted != typed) {
      // Nothing of a key is split or replaced but what the file cannot store.
      if (!admitted.isEmpty() && typed != QLatin1String("\n")) {
        QKeyEvent trimmed(event->type(), event->key(), event->modifiers(), admitted, event->isAutoRepeat(),
                          static_cast<quint16>(event->count()));
        QPlainTextEdit::keyPressEvent(&trimmed);
      }
      event->accept();
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
  const QString admitted = Admit(commit);
  if (admitted == commit) {
    QPlainTextEdit::inputMethodEvent(event);
    return;
  }
  QInputMethodEvent trimmed(event->preeditString(), event->attributes());
  trimmed.setCommitString(admitted, event->replacementStart(), event->replacementLength());
  QPlainTextEdit::inputMethodEvent(&trimmed);
  event->accept();
}

void ByteLimitedMemo::insertFromMimeData(const QMimeData* source) {
  if (source == nullptr || !source->hasText()) {
    return;
  }
  const QString admitted = Admit(source->text());
  if (admitted.isEmpty()) {
    return;
  }
  QMimeData plain;
  plain.setText(admitted);
  QPlainTextEdit::insertFromMimeData(&plain);
}
