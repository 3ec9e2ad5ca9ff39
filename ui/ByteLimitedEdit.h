#pragma once
// A one-line edit box for a fixed-width text field of the officer file: what
// the user types, pastes or commits from an input method is held to a limit
// in code page 932 bytes, and text CP932 cannot hold is refused. Text set from
// bytes comes back as exactly those bytes while the user has not changed it
// (CP932 has characters with two codes, and files may hold invalid bytes).

#include <QLineEdit>

#include "core/Bytes.h"

class ByteLimitedEdit : public QLineEdit {
  Q_OBJECT
  Q_PROPERTY(int byteLimit READ byteLimit WRITE setByteLimit)

 public:
  explicit ByteLimitedEdit(QWidget* parent = nullptr);

  [[nodiscard]] int byteLimit() const { return byteLimit_; }
  void setByteLimit(int limit) { byteLimit_ = limit; }

  // Shows `bytes` and remembers them; runs textChanged like any change.
  void SetBytes(k4r::ByteView bytes);
  // The remembered bytes while the text is the one they showed, else the
  // text in CP932.
  [[nodiscard]] k4r::ByteString Bytes() const;

 private:
  friend class ByteLimitValidator;
  int byteLimit_ = 8;
  bool settingBytes_ = false;
  QString acceptedText_;  // the text before the change being validated
  k4r::ByteString originalBytes_;
  QString originalText_;
  bool hasOriginal_ = false;
};
