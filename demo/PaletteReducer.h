#pragma once
// Reduces a picture to a palette of at most 256 colours, the form the face
// graphics file stores.

#include <QImage>
#include <array>
#include <cstdint>
#include <vector>

#include "core/FaceArchive.h"

namespace k4r::demo {

struct PalettePicture {
  std::array<Rgb, 256> colours{};    // entries past the used ones stay black
  std::vector<std::uint8_t> pixels;  // row by row from the top, numbers into `colours`
};

// Splits the colour cube into up to 256 boxes, always cutting the box with
// the largest squared error where the two halves keep the least; each box's
// pixel-weighted mean is one entry. A picture of 256 colours or fewer comes
// back exact. The same picture always gives the same bytes.
[[nodiscard]] PalettePicture ReducePalette(const QImage& image);

}  // namespace k4r::demo
