#pragma once
// What the main window's open and save tests share: reading and setting its
// controls by object name, and the bytes of the files it writes.

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <cstdint>
#include <filesystem>

#include "bridge/Cp932.h"
#include "ui/support/EditorFixture.h"

namespace k4r::testing::main_file {

inline const QString kErrorBox = QStringLiteral("box|error|Miravel 登録武将エディタ|");

inline QString Text(QWidget& window, const char* name) {
  if (auto* label = window.findChild<QLabel*>(QString::fromLatin1(name))) {
    return label->text();
  }
  return Control<QLineEdit>(window, name)->text();
}
inline int Selected(QWidget& window, const char* name) {
  return Control<QComboBox>(window, name)->currentIndex();
}
inline void Select(QWidget& window, const char* name, int position) {
  Control<QComboBox>(window, name)->setCurrentIndex(position);
}
inline void Trigger(QWidget& window, const char* action) {
  Control<QAction>(window, action)->trigger();
}
inline std::uint8_t At(const ByteString& bytes, std::size_t offset) {
  return static_cast<std::uint8_t>(bytes[offset]);
}
inline std::uint16_t WordAt(const ByteString& bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(At(bytes, offset) | (At(bytes, offset + 1) << 8));
}
inline std::filesystem::path PathOf(const QString& path) {
  return bridge::ToPath(path);
}

// A second officer that differs from the sample in every list field.
inline OfficerBytes OtherOfficer() {
  OfficerBytes officer = SampleOfficer();
  officer.Word(259, 262 - 20).Byte(265, 3).Word(248, 562 + 11).Word(261, 562 + 12).Word(263, 562 + 13);
  return officer;
}

}  // namespace k4r::testing::main_file
