#pragma once
// Text in the core is raw code-page-932 (Shift-JIS) bytes, never converted.

#include <string>
#include <string_view>

namespace k4r {

using ByteString = std::string;
using ByteView = std::string_view;

// True for a byte that starts a two-byte Shift-JIS character when it stands
// where a character begins.
[[nodiscard]] constexpr bool IsShiftJisLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// True for a byte that can follow a lead byte as the second byte of a
// two-byte character (0x40-0x7E, 0x80-0xFC).
[[nodiscard]] constexpr bool IsShiftJisTrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// The number of bytes of the character that starts at `at`: 2 for a lead
// byte followed by a trail byte, otherwise 1 (ASCII, half-width katakana, or
// a broken byte that stands alone).
[[nodiscard]] std::size_t CharacterWidthAt(ByteView text, std::size_t at);

// True when `text` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF). A byte check only: nothing is converted.
[[nodiscard]] bool IsValidUtf8(ByteView text);

// The longest prefix of `text` of at most `limit` bytes that does not end in
// the middle of a two-byte character (characters counted from the start).
[[nodiscard]] ByteView CutAtCharacterBoundary(ByteView text, std::size_t limit);

}  // namespace k4r
