#include "bridge/PortraitImage.h"

#include <algorithm>

namespace k4r::bridge {

void ImageSurface::SetPixel(int x, int y, Rgb colour) {
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) {
    return;
  }
  image_.setPixel(x, y, qRgb(colour.red, colour.green, colour.blue));
}

void ImageSurface::SetRow(int y, std::span<const Rgb> colours) {
  const QImage::Format format = image_.format();
  if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32) {
    PixelSurface::SetRow(y, colours);
    return;
  }
  if (y < 0 || y >= image_.height()) {
    return;
  }
  auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
  const std::size_t count = std::min(colours.size(), static_cast<std::size_t>(image_.width()));
  for (std::size_t x = 0; x < count; ++x) {
    line[x] = qRgb(colours[x].red, colours[x].green, colours[x].blue);
  }
}

QImage PortraitToImage(const FacePortrait& portrait) {
  QImage image(FacePortrait::kWidth, FacePortrait::kHeight, QImage::Format_RGB32);
  ImageSurface surface(image);
  DrawPortrait(portrait, surface);
  return image;
}

}  // namespace k4r::bridge
