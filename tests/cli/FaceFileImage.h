#pragma once
// Face graphics files built byte by byte, with pictures of known pixels.

#include <QColor>
#include <cstdint>

#include "core/Bytes.h"
#include "core/FaceArchive.h"

namespace k4r::testing {

inline void PutInt32(ByteString& bytes, std::size_t at, std::int32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    bytes[at + i] = static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
  }
}

inline void PutImageOffset(ByteString& file, int face, std::int64_t offset) {
  PutInt32(file, static_cast<std::size_t>(face_file::kTableOffset + face_file::kTableStride * face),
           static_cast<std::int32_t>(offset));
}

inline QRgb Colour(int k) {
  return qRgb(k, 255 - k, k / 2);
}
inline int ColourNumber(int x, int y, int seed) {
  return (x + 2 * y + seed) % 256;
}

// One image in the file's layout: palette blue, green, red, skip; rows from
// the top, 128 bytes apart, of which only the first 96 count.
inline ByteString FaceImage(int seed) {
  namespace ff = face_file;
  ByteString image(static_cast<std::size_t>(ff::kImageSize), '\x11');
  for (int k = 0; k < 256; ++k) {
    const auto at = static_cast<std::size_t>(ff::kPaletteOffset + 4 * k);
    image[at] = static_cast<char>(qBlue(Colour(k)));
    image[at + 1] = static_cast<char>(qGreen(Colour(k)));
    image[at + 2] = static_cast<char>(qRed(Colour(k)));
    image[at + 3] = static_cast<char>(0x5A);
  }
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 128; ++x) {
      const auto at = static_cast<std::size_t>(ff::kPixelsOffset + ff::kRowStride * y + x);
      if (at < image.size()) {
        image[at] = static_cast<char>(x < 96 ? ColourNumber(x, y, seed) : 0xFF);
      }
    }
  }
  return image;
}

// Faces 3 and 999 have pictures (seeds 0 and 7); face 5 points past the end
// of the file.
inline ByteString SmallArchive() {
  namespace ff = face_file;
  ByteString file(static_cast<std::size_t>(ff::kTableEnd), '\0');
  PutImageOffset(file, 3, ff::kTableEnd);
  PutImageOffset(file, 999, ff::kTableEnd + ff::kImageSize);
  PutImageOffset(file, 5, ff::kTableEnd + ff::kImageSize + 100);
  file += FaceImage(0);
  file += FaceImage(7);
  return file;
}

}  // namespace k4r::testing
