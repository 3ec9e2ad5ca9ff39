#include "bridge/PortraitImage.h"

namespace k4r::bridge {

void ImageSurface::SetPixel(int x, int y, Rgb colour) {
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) {
    return;
  }
  image_.setPixel(x, y, qRgb(colour.red, colour.green, colour.blue));
}

QImage PortraitToImage(const FacePortrait& portrait) {
  QImage image(FacePortrait::kWidth, FacePortrait::kHeight, QImage::Format_RGB32);
  ImageSurface surface(image);
  DrawPortrait(portrait, surface);
  return image;
}

}  // namespace k4r::bridge
