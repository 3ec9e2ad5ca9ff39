// Draws the invented demo portraits: a head and shoulders on a backdrop,
// every feature picked from a generator seeded by the face number.

#include <QPainter>

#include "demo/DemoFaceParts.h"
#include "demo/DemoFaces.h"

namespace k4r::demo {
namespace {
// Drawn larger and scaled down: small features (eyes, brows) stay crisp.
constexpr int kSupersample = 3;
}  // namespace

QImage RenderDemoFace(int faceNumber) {
  using namespace face_art;
  const Traits traits = ChooseTraits(faceNumber);
  QImage canvas(kWidth * kSupersample, kHeight * kSupersample, QImage::Format_RGB32);
  {
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kSupersample, kSupersample);
    DrawBackdrop(p, traits);
    DrawHairBehind(p, traits);
    DrawBody(p, traits);
    DrawEar(p, traits, -1);
    DrawEar(p, traits, 1);
    DrawFace(p, traits);
    DrawBeard(p, traits);
    DrawHairFront(p, traits);
  }
  return canvas.scaled(kWidth, kHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
      .convertToFormat(QImage::Format_RGB32);
}

}  // namespace k4r::demo
