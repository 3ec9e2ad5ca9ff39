#include "core/Bytes.h"

namespace k4r {

std::size_t CharacterWidthAt(ByteView text, std::size_t at) {
  const bool pair = IsShiftJisLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() &&
                    IsShiftJisTrailByte(static_cast<unsigned char>(text[at + 1]));
  return pair ? 2 : 1;
}

bool IsValidUtf8(ByteView text) {
  std::size_t at = 0;
  while (at < text.size()) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
      ++at;
      continue;
    }
    // The allowed range of the second byte narrows for E0, ED, F0 and F4,
    // which keeps out overlong forms, surrogates and values past U+10FFFF.
    std::size_t length = 0;
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      secondLow = lead == 0xE0 ? 0xA0 : 0x80;
      secondHigh = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      secondLow = lead == 0xF0 ? 0x90 : 0x80;
      secondHigh = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
      return false;
    }
    if (at + length > text.size()) {
      return false;
    }
    const auto second = static_cast<unsigned char>(text[at + 1]);
    if (second < secondLow || second > secondHigh) {
      return false;
    }
    for (std::size_t i = 2; i < length; ++i) {
      const auto next = static_cast<unsigned char>(text[at + i]);
      if (next < 0x80 || next > 0xBF) {
        return false;
      }
    }
    at += length;
  }
  return true;
}

ByteView CutAtCharacterBoundary(ByteView text, std::size_t limit) {
  if (text.size() <= limit) {
    return text;
  }
  std::size_t boundary = 0;
  while (boundary < limit) {
    const std::size_t width = IsShiftJisLeadByte(static_cast<unsigned char>(text[boundary])) ? 2 : 1;
    if (boundary + width > limit) {
      break;
    }
    boundary += width;
  }
  return text.substr(0, boundary);
}

}  // namespace k4r
