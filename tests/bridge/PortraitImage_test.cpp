#include "bridge/PortraitImage.h"

#include <gtest/gtest.h>

#include <QImage>

#include "core/FaceArchive.h"

namespace k4r::bridge {
namespace {

// Every colour different and every colour number used, in no simple order.
FacePortrait MixedPortrait() {
  FacePortrait portrait;
  for (std::size_t k = 0; k < portrait.colours.size(); ++k) {
    portrait.colours[k] = Rgb{static_cast<std::uint8_t>(k), static_cast<std::uint8_t>(255 - k),
                              static_cast<std::uint8_t>((k * 37) & 0xFF)};
  }
  std::uint32_t state = 12345;
  for (std::uint8_t& pixel : portrait.pixels) {
    state = state * 1103515245u + 12345u;
    pixel = static_cast<std::uint8_t>(state >> 24);
  }
  return portrait;
}

QRgb Expected(const FacePortrait& portrait, int x, int y) {
  const Rgb colour = portrait.colours[portrait.pixels[static_cast<std::size_t>(y * FacePortrait::kWidth + x)]];
  return qRgb(colour.red, colour.green, colour.blue);
}

// The row-at-once path (32-bit images) and the point-by-point one (any other
// format) must set the same pixels, clip the same way and touch nothing else.
TEST(PortraitImage, DrawsEveryPixelOnlyInsideThePortraitOnAnyImage) {
  const struct {
    QImage::Format format;
    int width, height;
  } cases[] = {
      {QImage::Format_RGB32, 96, 120}, {QImage::Format_RGB32, 101, 125}, {QImage::Format_ARGB32, 97, 121},
      {QImage::Format_RGB32, 50, 60},  {QImage::Format_RGB888, 99, 123}, {QImage::Format_RGB888, 40, 130},
  };
  const FacePortrait portrait = MixedPortrait();
  const QRgb untouched = qRgb(1, 2, 3);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "format " << c.format << ", " << c.width << " x " << c.height);
    QImage image(c.width, c.height, c.format);
    image.fill(untouched);
    ImageSurface surface(image);
    DrawPortrait(portrait, surface);
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        const bool inside = x < FacePortrait::kWidth && y < FacePortrait::kHeight;
        ASSERT_EQ(image.pixel(x, y), inside ? Expected(portrait, x, y) : untouched) << "pixel " << x << "," << y;
      }
    }
  }
}

TEST(PortraitImage, PortraitToImageIsTheWholePortraitAndOnlyIt) {
  const FacePortrait portrait = MixedPortrait();
  const QImage image = PortraitToImage(portrait);
  ASSERT_EQ(image.size(), QSize(FacePortrait::kWidth, FacePortrait::kHeight));
  for (int y = 0; y < FacePortrait::kHeight; ++y) {
    for (int x = 0; x < FacePortrait::kWidth; ++x) {
      ASSERT_EQ(image.pixel(x, y), Expected(portrait, x, y)) << "pixel " << x << "," << y;
    }
  }
}

// A copy taken before drawing keeps its pixels: the row writes detach.
TEST(PortraitImage, DrawingLeavesASharedCopyAlone) {
  QImage image(FacePortrait::kWidth, FacePortrait::kHeight, QImage::Format_RGB32);
  image.fill(qRgb(9, 9, 9));
  const QImage copy = image;
  ImageSurface surface(image);
  DrawPortrait(MixedPortrait(), surface);
  EXPECT_EQ(copy.pixel(10, 10), qRgb(9, 9, 9));
  EXPECT_NE(image, copy);
}

}  // namespace
}  // namespace k4r::bridge
