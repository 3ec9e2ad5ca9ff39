#pragma once
// The multi-line edit box of the biography: held to a limit in code page 932
// bytes with each line break counted as the two bytes CR LF; characters
// CP932 cannot hold are left out with the beep and a tool tip. It shows CR LF, lone CR and lone LF as line breaks and
// gives every line break back as CR LF; text set from bytes comes back as
// exactly those bytes while the user has not changed it.

#include <QPlainTextEdit>

#include "core/Bytes.h"

class ByteLimitedMemo : public QPlainTextEdit {
  Q_OBJECT
  Q_PROPERTY(int byteLimit READ byteLimit WRITE setByteLimit)

 public:
  explicit ByteLimitedMemo(QWidget* parent = nullptr);

  [[nodiscard]] int byteLimit() const { return byteLimit_; }
  void setByteLimit(int limit) { byteLimit_ = limit; }

  void SetBytes(k4r::ByteView bytes);
  [[nodiscard]] k4r::ByteString Bytes() const;
  // The CP932 size of the text as it would be saved.
  [[nodiscard]] std::size_t ByteSize() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  // What of storable text fits in place of the current selection.
  [[nodiscard]] QString Fit(const QString& storable) const;
  // What of `inserted` goes in: the characters CP932 cannot hold are left
  // out (with the beep and the tool tip), then as much as fits.
  [[nodiscard]] QString Admit(const QString& inserted);

  int byteLimit_ = 146;
  k4r::ByteString originalBytes_;
  QString originalText_;
  bool hasOriginal_ = false;
};
