#pragma once
// The one place where text changes encoding: code page 932 (Shift-JIS)
// bytes to QString and back, through Qt's ICU-backed "windows-31j" codec.

#include <QString>
#include <filesystem>
#include <optional>

#include "core/Bytes.h"

namespace k4r::bridge {

// Makes sure the codec exists; the first conversion calls it too. Without the
// codec the program cannot show a single name, so it stops with a message.
void RequireCp932Codec();

// Bytes that are not valid CP932 become U+FFFD; callers that must give the
// bytes back unchanged keep the bytes themselves.
[[nodiscard]] QString FromCp932(ByteView bytes);

// nullopt when the text holds a character that CP932 cannot represent. The
// JIS X 0208 forms of 〜 ‖ − ¢ £ ¬ — are stored as the codes of their Windows
// forms ～ ∥ － ￠ ￡ ￢ ― (0x8160 0x8161 0x817C 0x8191 0x8192 0x81CA 0x815C),
// which is also how they read back; no other "best fit" stand-in is taken.
[[nodiscard]] std::optional<ByteString> ToCp932(const QString& text);

// File system paths, for messages and for opening files.
[[nodiscard]] std::filesystem::path ToPath(const QString& text);
[[nodiscard]] QString FromPath(const std::filesystem::path& path);

// Core messages are UTF-8.
[[nodiscard]] QString FromUtf8(std::string_view text);

}  // namespace k4r::bridge
