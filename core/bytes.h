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

// The longest prefix of `text` of at most `limit` bytes that does not end in
// the middle of a two-byte character (characters counted from the start).
[[nodiscard]] ByteView CutAtCharacterBoundary(ByteView text, std::size_t limit);

}  // namespace k4r
