// Picks a face's traits from its number, and the shapes shared by the
// drawing steps.

#include <array>
#include <cmath>
#include <cstdint>

#include "demo/DemoFaceParts.h"

namespace k4r::demo::face_art {
namespace {

// splitmix64: tiny, fast and the same everywhere (the standard library's
// distributions are not).
class Dice {
 public:
  explicit Dice(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
  double Between(double low, double high) { return low + (high - low) * Unit(); }
  int Below(int count) { return static_cast<int>(Next() % static_cast<std::uint64_t>(count)); }
  bool Chance(double probability) { return Unit() < probability; }
  template <typename T, std::size_t N>
  const T& Pick(const std::array<T, N>& items) {
    return items[static_cast<std::size_t>(Below(static_cast<int>(N)))];
  }

 private:
  std::uint64_t state_;
};

}  // namespace

QColor Mix(const QColor& a, const QColor& b, double t) {
  return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                          static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                          static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}
QColor WithAlpha(QColor colour, int alpha) {
  colour.setAlpha(alpha);
  return colour;
}

Traits ChooseTraits(int faceNumber) {
  Dice dice(0x4B34524445ULL * 7919ULL + static_cast<std::uint64_t>(faceNumber) * 0x2545F4914F6CDD1DULL);
  Traits t;
  static const std::array<std::array<QColor, 2>, 9> skies = {{
      {QColor(0x8F, 0xB8, 0xDE), QColor(0xE8, 0xF0, 0xF8)},
      {QColor(0xF2, 0xB2, 0x79), QColor(0x7C, 0x6B, 0xA8)},
      {QColor(0x9F, 0xC9, 0xA9), QColor(0xEC, 0xF3, 0xE6)},
      {QColor(0xE8, 0xD9, 0xB5), QColor(0xC4, 0xAE, 0x84)},
      {QColor(0x8E, 0x3B, 0x3B), QColor(0xE0, 0x9C, 0x72)},
      {QColor(0x5F, 0x6F, 0x86), QColor(0xB4, 0xC2, 0xD2)},
      {QColor(0xE6, 0xC0, 0x68), QColor(0xFF, 0xF1, 0xC4)},
      {QColor(0x1F, 0x2A, 0x48), QColor(0x55, 0x66, 0x96)},
      {QColor(0xC9, 0xB6, 0xD9), QColor(0xF3, 0xE6, 0xEE)},
  }};
  const auto& sky = dice.Pick(skies);
  const double shift = dice.Between(-0.12, 0.12);
  t.skyTop = Mix(sky[0], shift > 0 ? Qt::white : Qt::black, std::abs(shift));
  t.skyBottom = sky[1];
  t.scenery = Mix(t.skyTop, QColor(0x30, 0x38, 0x48), dice.Between(0.25, 0.5));
  t.backdrop = static_cast<Scenery>(dice.Below(5));
  t.sunX = dice.Chance(0.5) ? dice.Between(10, 24) : dice.Between(72, 86);
  t.sunY = dice.Between(12, 26);

  static const std::array<QColor, 12> cloths = {
      QColor(0x2E, 0x3A, 0x6E), QColor(0x9B, 0x2D, 0x30), QColor(0x2F, 0x5D, 0x3A), QColor(0xB8, 0x86, 0x2B),
      QColor(0x26, 0x24, 0x28), QColor(0x6A, 0x3D, 0x6E), QColor(0x6B, 0x4A, 0x2F), QColor(0x2A, 0x6F, 0x73),
      QColor(0x6E, 0x72, 0x78), QColor(0xD8, 0xD2, 0xC4), QColor(0xC0, 0x5A, 0x2A), QColor(0x4A, 0x6E, 0xA8)};
  t.cloth = dice.Pick(cloths);
  t.trim = dice.Pick(cloths);
  if (t.trim == t.cloth) {
    t.trim = Mix(t.cloth, Qt::white, 0.55);
  }
  t.under = dice.Chance(0.7) ? QColor(0xF2, 0xEE, 0xE4) : Mix(dice.Pick(cloths), Qt::white, 0.3);
  t.collar = static_cast<Collar>(dice.Below(4));
  t.shoulderY = dice.Between(97, 103);
  t.shoulderReach = dice.Between(-4, 8);

  static const std::array<QColor, 8> skins = {
      QColor(0xF6, 0xDC, 0xC4), QColor(0xF0, 0xD0, 0xB0), QColor(0xE8, 0xC0, 0x9A), QColor(0xDD, 0xAE, 0x86),
      QColor(0xCC, 0x98, 0x70), QColor(0xB8, 0x84, 0x5E), QColor(0x9C, 0x6A, 0x48), QColor(0xE9, 0xC8, 0xA8)};
  t.skin = dice.Pick(skins);
  t.female = dice.Chance(0.2);
  t.old = !t.female && dice.Chance(0.22);
  static const std::array<QColor, 6> hairs = {QColor(0x1B, 0x18, 0x18), QColor(0x22, 0x1C, 0x1A),
                                              QColor(0x3A, 0x2A, 0x20), QColor(0x4E, 0x36, 0x26),
                                              QColor(0x2B, 0x26, 0x2E), QColor(0x6A, 0x40, 0x28)};
  t.hair = t.old ? Mix(QColor(0x70, 0x6C, 0x6A), QColor(0xF0, 0xEE, 0xEA), dice.Unit()) : dice.Pick(hairs);
  static const std::array<QColor, 4> irises = {QColor(0x2A, 0x1A, 0x12), QColor(0x3B, 0x26, 0x18),
                                               QColor(0x1C, 0x1C, 0x22), QColor(0x4A, 0x34, 0x22)};
  t.iris = dice.Pick(irises);
  t.lips = Mix(t.skin, QColor(0xB0, 0x30, 0x3C), t.female ? dice.Between(0.5, 0.75) : dice.Between(0.2, 0.35));

  t.cx = 48 + dice.Between(-1.5, 1.5);
  t.cy = 57 + dice.Between(-2, 2);
  t.w = t.female ? dice.Between(16.5, 18.5) : dice.Between(17.5, 21.5);
  t.h = dice.Between(22.5, 26);
  t.jaw = t.female ? dice.Between(0.3, 0.45) : dice.Between(0.4, 0.72);
  t.eyeSpread = dice.Between(0.38, 0.46);
  t.eyeWidth = dice.Between(6.2, 7.6) + (t.female ? 0.4 : 0);
  t.eyeHeight = dice.Between(2.1, 3.1) + (t.female ? 0.4 : 0);
  t.eyeTilt = dice.Between(-6, 12);
  t.eyeDrop = dice.Between(-1, 1.5);
  t.browTilt = t.female ? dice.Between(-1, 0.5) : dice.Between(-1.5, 2.5);
  t.browWeight = t.female ? dice.Between(0.9, 1.3) : dice.Between(1.4, 2.6);
  t.browArch = dice.Between(0, 1.8);
  t.browGap = dice.Between(3.8, 5.4);
  t.noseLength = dice.Between(8.5, 11.5);
  t.mouthWidth = dice.Between(7, 11) - (t.female ? 1.5 : 0);
  t.mouthCurve = dice.Between(-0.7, 1.8);
  t.blush = t.female || dice.Chance(0.15);

  static const std::array<Hair, 10> menStyles = {Hair::kTopknot, Hair::kTopknot,  Hair::kTiedBack, Hair::kBald,
                                                 Hair::kHelmet,  Hair::kCourtCap, Hair::kHeadband, Hair::kHood,
                                                 Hair::kCropped, Hair::kTuft};
  static const std::array<Hair, 3> womenStyles = {Hair::kLong, Hair::kLong, Hair::kTiedBack};
  t.hairStyle = t.female ? dice.Pick(womenStyles) : dice.Pick(menStyles);
  if (t.hairStyle == Hair::kHelmet) {
    t.collar = Collar::kArmour;
  }
  static const std::array<QColor, 6> helmets = {QColor(0x22, 0x22, 0x26), QColor(0x7A, 0x1E, 0x1E),
                                                QColor(0x3A, 0x3E, 0x48), QColor(0x5A, 0x46, 0x2A),
                                                QColor(0x1E, 0x2E, 0x4E), QColor(0x8A, 0x8C, 0x90)};
  t.helmet = dice.Pick(helmets);
  t.crest = static_cast<Crest>(dice.Below(4));
  static const std::array<QColor, 6> hoods = {QColor(0xEC, 0xE8, 0xDE), QColor(0x5C, 0x3A, 0x6E),
                                              QColor(0x2A, 0x28, 0x2C), QColor(0x80, 0x82, 0x86),
                                              QColor(0xC8, 0x8A, 0x2C), QColor(0x8A, 0x5A, 0x3A)};
  t.hood = dice.Pick(hoods);
  t.coverMouth = t.hairStyle == Hair::kHood && dice.Chance(0.5);

  static const std::array<Beard, 8> beards = {Beard::kNone, Beard::kNone,   Beard::kMoustache, Beard::kFull,
                                              Beard::kFull, Beard::kGoatee, Beard::kWhiskers,  Beard::kStubble};
  t.beard = t.female || t.coverMouth ? Beard::kNone : dice.Pick(beards);
  t.beardLength = dice.Between(3, 13);
  return t;
}

QPainterPath HeadPath(const Traits& t, double grow) {
  const double w = t.w + grow;
  const double h = t.h + grow;
  const double top = t.cy - h;
  const double chin = t.cy + h;
  QPainterPath path;
  path.moveTo(t.cx, top);
  path.cubicTo(t.cx + w * 0.58, top, t.cx + w, t.cy - h * 0.6, t.cx + w, t.cy - h * 0.08);
  path.cubicTo(t.cx + w, t.cy + h * 0.45, t.cx + w * t.jaw, chin, t.cx, chin);
  path.cubicTo(t.cx - w * t.jaw, chin, t.cx - w, t.cy + h * 0.45, t.cx - w, t.cy - h * 0.08);
  path.cubicTo(t.cx - w, t.cy - h * 0.6, t.cx - w * 0.58, top, t.cx, top);
  path.closeSubpath();
  return path;
}

QPainterPath HoodPath(const Traits& t) {
  const double top = t.cy - t.h - 6;
  const double bottom = t.shoulderY + 2;
  QPainterPath path;
  path.moveTo(t.cx, top);
  path.cubicTo(t.cx + t.w + 3, top, t.cx + t.w + 7, t.cy - t.h * 0.5, t.cx + t.w + 7, t.cy + 2);
  path.cubicTo(t.cx + t.w + 7, t.cy + t.h * 0.7, t.cx + t.w + 9, bottom - 8, t.cx + t.w + 13, bottom);
  path.quadTo(t.cx, bottom + 5, t.cx - t.w - 13, bottom);
  path.cubicTo(t.cx - t.w - 9, bottom - 8, t.cx - t.w - 7, t.cy + t.h * 0.7, t.cx - t.w - 7, t.cy + 2);
  path.cubicTo(t.cx - t.w - 7, t.cy - t.h * 0.5, t.cx - t.w - 3, top, t.cx, top);
  path.closeSubpath();
  return path;
}

QPainterPath RectPath(double x, double y, double width, double height) {
  QPainterPath path;
  path.addRect(x, y, width, height);
  return path;
}

QPen Stroke(const QColor& colour, double width) {
  return QPen(colour, width, Qt::SolidLine, Qt::RoundCap);
}

}  // namespace k4r::demo::face_art
