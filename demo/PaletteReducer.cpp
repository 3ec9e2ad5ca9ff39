#include "demo/PaletteReducer.h"

#include <algorithm>
#include <utility>

#include "core/ColourReduction.h"

namespace k4r::demo {

PalettePicture ReducePalette(const QImage& source) {
  const QImage image = source.convertToFormat(QImage::Format_RGB32);
  std::vector<std::uint32_t> pixels;
  pixels.reserve(static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.height()));
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      pixels.push_back(line[x] & 0xFFFFFFu);
    }
  }
  VarianceCutResult cut = VarianceCut(pixels);
  PalettePicture result;
  std::copy(cut.colours.begin(), cut.colours.end(), result.colours.begin());
  result.pixels = std::move(cut.pixels);
  return result;
}

}  // namespace k4r::demo
