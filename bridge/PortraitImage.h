#pragma once
// A decoded face portrait as a Qt image.

#include <QImage>

#include "core/face_archive.h"

namespace k4r::bridge {

// A pixel surface over a QImage; points outside the image are ignored.
class ImageSurface final : public PixelSurface {
 public:
  explicit ImageSurface(QImage& image) : image_(image) {}
  void SetPixel(int x, int y, Rgb colour) override;
  // Straight into the row's memory for 32-bit images: setPixel per point
  // costs more than the whole rest of a portrait's reading and drawing.
  void SetRow(int y, std::span<const Rgb> colours) override;

 private:
  QImage& image_;
};

// The 96 x 120 portrait as an RGB32 image, drawn through DrawPortrait.
[[nodiscard]] QImage PortraitToImage(const FacePortrait& portrait);

}  // namespace k4r::bridge
