#include "core/bytes.h"

namespace k4r {

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
