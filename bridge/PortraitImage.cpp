#include "bridge/PortraitImage.h"

#include <algorithm>
#include <array>

namespace k4r::bridge {

void ImageSurface::SetPixel(int x, int y, Rgb colour) {
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) {
    return;
  }
  image_.setPixel(x, y, qRgb(colour.red, colour.green, colour.blue));
}

void ImageSurface::SetPalettePicture(std::span<const std::uint8_t> pixels, int width,
                                     std::span<const Rgb, 256> colours) {
  const QImage::Format format = image_.format();
  if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32) {
    PixelSurface::SetPalettePicture(pixels, width, colours);
    return;
  }
  if (width <= 0) {
    return;
  }
  std::array<QRgb, 256> table;
  for (std::size_t k = 0; k < table.size(); ++k) {
    table[k] = qRgb(colours[k].red, colours[k].green, colours[k].blue);
  }
  const auto rowLength = static_cast<std::size_t>(width);
  const auto rows = static_cast<int>(std::min(pixels.size() / rowLength, static_cast<std::size_t>(image_.height())));
  const std::size_t columns = std::min(rowLength, static_cast<std::size_t>(image_.width()));
  for (int y = 0; y < rows; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
    const std::uint8_t* numbers = pixels.data() + static_cast<std::size_t>(y) * rowLength;
    for (std::size_t x = 0; x < columns; ++x) {
      line[x] = table[numbers[x]];
    }
  }
}

QImage PortraitToImage(const FacePortrait& portrait) {
  QImage image(FacePortrait::kWidth, FacePortrait::kHeight, QImage::Format_RGB32);
  ImageSurface surface(image);
  DrawPortrait(portrait, surface);
  return image;
}

}  // namespace k4r::bridge
