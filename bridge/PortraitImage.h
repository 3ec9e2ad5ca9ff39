#pragma once
// A decoded face portrait as a Qt image.

#include <QImage>

#include "core/FaceArchive.h"

namespace k4r::bridge {

// A pixel surface over a QImage; points outside the image are ignored.
class ImageSurface final : public PixelSurface {
 public:
  explicit ImageSurface(QImage& image) : image_(image) {}
  void SetPixel(int x, int y, Rgb colour) override;
  // For 32-bit images the colour table is converted once and whole rows are
  // written: setPixel per point costs more than all the rest of reading and
  // drawing a portrait.
  void SetPalettePicture(std::span<const std::uint8_t> pixels, int width, std::span<const Rgb, 256> colours) override;

 private:
  QImage& image_;
};

// The 96 x 120 portrait as an RGB32 image, drawn through DrawPortrait.
[[nodiscard]] QImage PortraitToImage(const FacePortrait& portrait);

}  // namespace k4r::bridge
