#pragma once
// Reducing a true-colour picture to the 256-colour table of a face portrait.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/FaceArchive.h"

namespace k4r {

// 0xRRGGBB.
[[nodiscard]] inline std::uint32_t PackRgb(Rgb colour) {
  return (std::uint32_t{colour.red} << 16) | (std::uint32_t{colour.green} << 8) | colour.blue;
}
[[nodiscard]] inline Rgb UnpackRgb(std::uint32_t rgb) {
  return Rgb{static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8), static_cast<std::uint8_t>(rgb)};
}

struct VarianceCutResult {
  std::vector<Rgb> colours;          // at most 256
  std::vector<std::uint8_t> pixels;  // one number into `colours` per input pixel
};

// Splits the colour cube into up to 256 boxes, always cutting the box with
// the largest squared error where the two halves keep the least; each box's
// pixel-weighted mean is one entry and each pixel takes its own box's entry.
// A picture of 256 colours or fewer comes back exact. The same pixels always
// give the same result. `pixels` are 0xRRGGBB.
[[nodiscard]] VarianceCutResult VarianceCut(std::span<const std::uint32_t> pixels);

enum class PaletteChoice {
  New,   // a colour table of its own for the picture
  Keep,  // the face's present colour table
};

struct ReductionOptions {
  PaletteChoice palette = PaletteChoice::New;
  bool dither = false;
};

// `picture` is 96 x 120 colours row by row. A picture whose colours all stand
// in `present`'s table comes back with that table and, where a pixel's colour
// is the one it has now, the colour number it has now: a face exported and
// imported untouched is the same face. Otherwise the colours are reduced as
// `options` say; entries of a new table that the picture does not need keep
// `present`'s colours.
[[nodiscard]] FacePortrait ReduceToFace(std::span<const Rgb> picture, const FacePortrait& present,
                                        const ReductionOptions& options);

// Peak signal-to-noise ratio in dB of `b` against `a` over all three
// channels (equal pictures: infinity).
[[nodiscard]] double PeakSignalToNoise(std::span<const Rgb> a, std::span<const Rgb> b);

}  // namespace k4r
