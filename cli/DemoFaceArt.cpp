// Draws the invented demo portraits: a head and shoulders on a backdrop,
// every feature picked from a generator seeded by the face number.

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "cli/DemoFaces.h"

namespace k4r::cli {
namespace {

constexpr int kWidth = 96;
constexpr int kHeight = 120;
// Drawn larger and scaled down: small features (eyes, brows) stay crisp.
constexpr int kSupersample = 3;

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

QColor Mix(const QColor& a, const QColor& b, double t) {
  return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                          static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                          static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}
QColor WithAlpha(QColor colour, int alpha) {
  colour.setAlpha(alpha);
  return colour;
}

enum class Hair { kTopknot, kTiedBack, kLong, kBald, kHelmet, kCourtCap, kHeadband, kHood, kCropped, kTuft };
enum class Beard { kNone, kMoustache, kFull, kGoatee, kWhiskers, kStubble };
enum class Collar { kCrossed, kArmour, kRound, kWinged };
enum class Scenery { kPlain, kMountains, kSun, kCurtain, kClouds };
enum class Crest { kNone, kCrescent, kHorns, kDisc };

struct Traits {
  QColor skyTop, skyBottom, scenery;
  Scenery backdrop = Scenery::kPlain;
  double sunX = 0, sunY = 0;
  QColor cloth, trim, under;
  Collar collar = Collar::kCrossed;
  double shoulderY = 100, shoulderReach = 0;
  QColor skin, hair, iris, lips;
  double cx = 48, cy = 58, w = 20, h = 25, jaw = 0.5;
  double eyeSpread = 0.42, eyeWidth = 7, eyeHeight = 3, eyeTilt = 0, eyeDrop = 0;
  double browTilt = 0, browWeight = 1.6, browArch = 0.5, browGap = 4.5;
  double noseLength = 10, mouthWidth = 9, mouthCurve = 0.5;
  Hair hairStyle = Hair::kTopknot;
  Beard beard = Beard::kNone;
  double beardLength = 6;
  QColor helmet, hood;
  Crest crest = Crest::kNone;
  bool female = false, old = false, blush = false, coverMouth = false;
};

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
  t.mouthCurve = dice.Between(-1.2, 1.8);
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

// The head: rounded crown, widest at the temples, narrowing to the chin.
QPainterPath HeadPath(const Traits& t, double grow = 0) {
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

// A monk's cowl: round over the crown, falling in folds to the shoulders.
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

// Painting limited to a region. Clipping, unlike Qt's path booleans, never
// drops part of a curved shape.
class Clip {
 public:
  explicit Clip(QPainter& painter) : painter_(painter) { painter_.save(); }
  ~Clip() { painter_.restore(); }
  Clip(const Clip&) = delete;
  Clip& operator=(const Clip&) = delete;
  Clip& Inside(const QPainterPath& shape) {
    painter_.setClipPath(shape, Qt::IntersectClip);
    return *this;
  }
  Clip& Inside(double x, double y, double width, double height) { return Inside(RectPath(x, y, width, height)); }
  Clip& Outside(const QPainterPath& shape) {
    QPainterPath rest;
    rest.setFillRule(Qt::OddEvenFill);
    rest.addRect(-100, -100, kWidth + 200, kHeight + 200);
    rest.addPath(shape);
    return Inside(rest);
  }
  Clip& Outside(double x, double y, double width, double height) { return Outside(RectPath(x, y, width, height)); }
  void Fill(const QBrush& brush) { painter_.fillRect(QRectF(-10, -10, kWidth + 20, kHeight + 20), brush); }

 private:
  QPainter& painter_;
};

QPen Stroke(const QColor& colour, double width) {
  return QPen(colour, width, Qt::SolidLine, Qt::RoundCap);
}

void DrawBackdrop(QPainter& p, const Traits& t) {
  QLinearGradient sky(0, 0, 0, kHeight);
  sky.setColorAt(0, t.skyTop);
  sky.setColorAt(1, t.skyBottom);
  p.fillRect(QRectF(0, 0, kWidth, kHeight), sky);
  switch (t.backdrop) {
    case Scenery::kPlain: {
      QRadialGradient glow(t.cx, 50, 60);
      glow.setColorAt(0, WithAlpha(Qt::white, 70));
      glow.setColorAt(1, WithAlpha(Qt::white, 0));
      p.fillRect(QRectF(0, 0, kWidth, kHeight), glow);
      break;
    }
    case Scenery::kMountains: {
      QPainterPath far;
      far.moveTo(0, 84);
      far.lineTo(14, 62);
      far.lineTo(30, 76);
      far.lineTo(52, 54);
      far.lineTo(74, 78);
      far.lineTo(86, 66);
      far.lineTo(96, 74);
      far.lineTo(96, 120);
      far.lineTo(0, 120);
      p.fillPath(far, Mix(t.scenery, t.skyBottom, 0.45));
      QPainterPath near;
      near.moveTo(0, 92);
      near.quadTo(24, 74, 44, 90);
      near.quadTo(70, 72, 96, 88);
      near.lineTo(96, 120);
      near.lineTo(0, 120);
      p.fillPath(near, t.scenery);
      break;
    }
    case Scenery::kSun:
      p.setPen(Qt::NoPen);
      p.setBrush(WithAlpha(Mix(t.skyBottom, QColor(0xFF, 0xF4, 0xD0), 0.7), 230));
      p.drawEllipse(QPointF(t.sunX, t.sunY), 11, 11);
      break;
    case Scenery::kCurtain: {
      // A camp curtain: cloth panels with a broad pale band and a crest.
      p.fillRect(QRectF(0, 0, kWidth, kHeight), Mix(t.trim, t.skyBottom, 0.35));
      p.fillRect(QRectF(0, 30, kWidth, 22), Mix(QColor(0xF4, 0xF0, 0xE6), t.skyBottom, 0.2));
      p.setPen(Stroke(WithAlpha(Qt::black, 40), 0.8));
      for (double x = 8; x < kWidth; x += 20) {
        p.drawLine(QPointF(x, 0), QPointF(x, kHeight));
      }
      p.setPen(Stroke(Mix(t.trim, Qt::black, 0.3), 1.6));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QPointF(t.sunX, 41), 7, 7);
      p.setPen(Qt::NoPen);
      p.setBrush(Mix(t.trim, Qt::black, 0.3));
      for (int petal = 0; petal < 4; ++petal) {
        const double angle = petal * std::numbers::pi / 2;
        p.drawEllipse(QPointF(t.sunX + 2.6 * std::cos(angle), 41 + 2.6 * std::sin(angle)), 1.8, 1.8);
      }
      break;
    }
    case Scenery::kClouds:
      p.setPen(Qt::NoPen);
      p.setBrush(WithAlpha(Qt::white, 120));
      for (int i = 0; i < 3; ++i) {
        const double x = t.sunX + i * 9 - 9;
        p.drawEllipse(QPointF(x, t.sunY + (i % 2) * 3), 10 - i, 4);
      }
      p.drawEllipse(QPointF(96 - t.sunX, t.sunY + 20), 12, 3.5);
      break;
  }
}

void DrawHairBehind(QPainter& p, const Traits& t) {
  p.setPen(Qt::NoPen);
  switch (t.hairStyle) {
    case Hair::kLong: {
      QPainterPath back;
      back.moveTo(t.cx - t.w - 3, t.cy - t.h * 0.2);
      back.cubicTo(t.cx - t.w - 6, t.cy + t.h * 0.6, t.cx - t.w - 4, t.cy + t.h + 10, t.cx - t.w - 9, 112);
      back.lineTo(t.cx + t.w + 9, 112);
      back.cubicTo(t.cx + t.w + 4, t.cy + t.h + 10, t.cx + t.w + 6, t.cy + t.h * 0.6, t.cx + t.w + 3, t.cy - t.h * 0.2);
      back.closeSubpath();
      p.fillPath(back, Mix(t.hair, Qt::black, 0.15));
      p.fillPath(HeadPath(t, 3), Mix(t.hair, Qt::black, 0.15));
      break;
    }
    case Hair::kHelmet: {
      // The neck guard: layered plates hanging from the helmet.
      QPainterPath guard;
      guard.moveTo(t.cx - t.w - 7, t.cy - t.h * 0.45);
      guard.lineTo(t.cx + t.w + 7, t.cy - t.h * 0.45);
      guard.lineTo(t.cx + t.w + 15, t.cy + t.h * 0.55);
      guard.lineTo(t.cx - t.w - 15, t.cy + t.h * 0.55);
      guard.closeSubpath();
      p.fillPath(guard, t.helmet);
      p.setPen(Stroke(t.trim, 1.2));
      for (int row = 1; row <= 4; ++row) {
        const double y = t.cy - t.h * 0.45 + row * t.h * 0.2;
        const double spread = t.w + 7 + row * 1.6;
        p.drawLine(QPointF(t.cx - spread, y), QPointF(t.cx + spread, y));
      }
      break;
    }
    case Hair::kHood: p.fillPath(HoodPath(t), Mix(t.hood, Qt::black, 0.3)); break;
    case Hair::kTiedBack:
      p.setBrush(t.hair);
      p.drawEllipse(QPointF(t.cx + t.w * 0.1, t.cy - t.h - 2), 6.5, 5.5);
      break;
    default: break;
  }
}

void DrawBody(QPainter& p, const Traits& t) {
  const double neckHalf = t.w * 0.46;
  const double sy = t.shoulderY;
  QPainterPath body;
  body.moveTo(-12, 121);
  body.lineTo(-12, sy + 12 - t.shoulderReach);
  body.cubicTo(2 - t.shoulderReach, sy + 1, 22, sy - 3, t.cx - neckHalf - 3, sy - 6);
  body.lineTo(t.cx + neckHalf + 3, sy - 6);
  body.cubicTo(74, sy - 3, 94 + t.shoulderReach, sy + 1, 108, sy + 12 - t.shoulderReach);
  body.lineTo(108, 121);
  body.closeSubpath();
  QLinearGradient shade(0, sy - 6, 0, kHeight);
  shade.setColorAt(0, Mix(t.cloth, Qt::white, 0.12));
  shade.setColorAt(1, Mix(t.cloth, Qt::black, 0.25));
  p.fillPath(body, shade);

  // Neck, with the chin's shadow at its top.
  const QColor neck = Mix(t.skin, QColor(0x60, 0x40, 0x30), 0.18);
  p.setPen(Qt::NoPen);
  p.setBrush(neck);
  p.drawRoundedRect(QRectF(t.cx - neckHalf, t.cy + t.h * 0.5, 2 * neckHalf, sy - t.cy - t.h * 0.5), 3, 3);
  const QPointF chest(t.cx + 1, sy + 12);
  p.drawPolygon(QPolygonF({QPointF(t.cx - neckHalf, sy - 8), QPointF(t.cx + neckHalf, sy - 8), chest}));

  switch (t.collar) {
    case Collar::kCrossed:
    case Collar::kWinged: {
      if (t.collar == Collar::kWinged) {
        // Stiff winged over-garment standing out over the shoulders.
        QPainterPath wings;
        wings.moveTo(t.cx - neckHalf - 6, sy - 4);
        wings.lineTo(-6, sy - 9);
        wings.lineTo(-6, sy + 4);
        wings.lineTo(t.cx - 6, 121);
        wings.lineTo(t.cx + 8, 121);
        wings.lineTo(102, sy + 4);
        wings.lineTo(102, sy - 9);
        wings.lineTo(t.cx + neckHalf + 6, sy - 4);
        wings.closeSubpath();
        p.fillPath(wings, Mix(t.trim, Qt::black, 0.1));
        p.setPen(Stroke(Mix(t.trim, Qt::white, 0.6), 1.1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(12, sy + 4), 3.2, 3.2);
        p.drawEllipse(QPointF(84, sy + 4), 3.2, 3.2);
      }
      // Left panel over right: from the front the long edge runs from the
      // viewer's right down to the left; the white under-collar shows inside.
      const QPointF rightTop(t.cx + neckHalf + 1, sy - 8);
      const QPointF leftTop(t.cx - neckHalf - 1, sy - 8);
      const QPointF meet(t.cx - 3, sy + 16);
      const QPointF tuck(t.cx + 1, sy + 10);
      const QColor edge = t.female ? t.trim : Mix(t.cloth, Qt::black, 0.3);
      p.setPen(Stroke(edge, 4.5));
      p.drawLine(leftTop + QPointF(-2, 0), tuck + QPointF(-1, 2));
      p.setPen(Stroke(t.under, 2.2));
      p.drawLine(leftTop + QPointF(0.6, -0.5), tuck);
      p.setPen(Stroke(edge, 4.5));
      p.drawLine(rightTop + QPointF(2, 0), meet + QPointF(1.5, 1));
      p.setPen(Stroke(t.under, 2.2));
      p.drawLine(rightTop + QPointF(-0.6, -0.5), meet + QPointF(-0.5, -1));
      break;
    }
    case Collar::kArmour: {
      // Lacquered plates laced in rows over the shoulders, and a throat guard.
      const QColor plate = t.hairStyle == Hair::kHelmet ? t.helmet : Mix(t.cloth, Qt::black, 0.3);
      QPainterPath pads;
      pads.addRoundedRect(QRectF(-8, sy - 2, 30, 30), 5, 5);
      pads.addRoundedRect(QRectF(74, sy - 2, 30, 30), 5, 5);
      p.fillPath(pads, plate);
      p.setPen(Stroke(t.trim, 1.1));
      for (double y = sy + 3; y < kHeight; y += 5) {
        p.drawLine(QPointF(-8, y), QPointF(21, y + 1.5));
        p.drawLine(QPointF(75, y + 1.5), QPointF(104, y));
      }
      p.setPen(Qt::NoPen);
      p.setBrush(Mix(plate, Qt::white, 0.12));
      p.drawRoundedRect(QRectF(t.cx - neckHalf - 4, sy - 8, 2 * neckHalf + 8, 9), 4, 4);
      p.setPen(Stroke(t.trim, 1));
      p.drawLine(QPointF(t.cx - neckHalf - 2, sy - 4), QPointF(t.cx + neckHalf + 2, sy - 4));
      break;
    }
    case Collar::kRound: {
      p.setPen(Stroke(t.trim, 3.5));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(t.cx - neckHalf - 3, sy - 16, 2 * neckHalf + 6, 18), 180 * 16, 180 * 16);
      // A sash across the chest.
      p.setPen(Stroke(WithAlpha(Mix(t.trim, Qt::white, 0.25), 220), 6));
      p.drawLine(QPointF(14, sy - 1), QPointF(70, 124));
      break;
    }
  }
}

void DrawEar(QPainter& p, const Traits& t, double side) {
  const QPointF centre(t.cx + side * (t.w - 0.5), t.cy + 1.5);
  p.setPen(Qt::NoPen);
  p.setBrush(Mix(t.skin, QColor(0x80, 0x40, 0x30), 0.12));
  p.drawEllipse(centre, 4, 6.5);
  p.setBrush(Mix(t.skin, QColor(0x80, 0x40, 0x30), 0.3));
  p.drawEllipse(centre + QPointF(side * 1, 0), 1.6, 3.8);
}

// One eye and its brow in local coordinates: x grows outward from the nose.
void DrawEye(QPainter& p, const Traits& t, double side) {
  p.save();
  p.translate(t.cx + side * t.w * t.eyeSpread, t.cy + t.eyeDrop);
  p.scale(side, 1);
  p.rotate(-t.eyeTilt * 0.5);
  const double ew = t.eyeWidth / 2;
  const double eh = t.eyeHeight;
  QPainterPath almond;
  almond.moveTo(-ew, 0.4);
  almond.cubicTo(-ew * 0.5, -eh * 1.1, ew * 0.5, -eh * 1.2, ew, -0.3);
  almond.cubicTo(ew * 0.5, eh * 0.75, -ew * 0.5, eh * 0.75, -ew, 0.4);
  p.fillPath(almond, QColor(0xF6, 0xF3, 0xEC));
  p.save();
  p.setClipPath(almond);
  p.setPen(Qt::NoPen);
  p.setBrush(t.iris);
  p.drawEllipse(QPointF(-0.2, -0.2), eh * 0.95, eh * 0.95);
  p.setBrush(QColor(0x08, 0x08, 0x0A));
  p.drawEllipse(QPointF(-0.2, -0.2), eh * 0.45, eh * 0.45);
  p.setBrush(WithAlpha(Qt::white, 230));
  p.drawEllipse(QPointF(0.6, -0.9), 0.6, 0.6);
  p.restore();
  QPainterPath lid;
  lid.moveTo(-ew - 0.3, 0.5);
  lid.cubicTo(-ew * 0.5, -eh * 1.15, ew * 0.5, -eh * 1.25, ew + 0.6, -0.1);
  p.strokePath(lid, Stroke(QColor(0x24, 0x1A, 0x16), t.female ? 1.3 : 1.0));
  if (t.old) {
    p.setPen(Stroke(WithAlpha(Mix(t.skin, Qt::black, 0.5), 140), 0.6));
    p.drawLine(QPointF(ew + 1.2, 0.8), QPointF(ew + 3, 2));
    p.drawLine(QPointF(-ew * 0.6, eh * 0.9), QPointF(ew * 0.6, eh * 1.1));
  }

  // The brow: its inner end drops for a stern look.
  const QColor brow = t.hairStyle == Hair::kBald && !t.old ? Mix(t.hair, t.skin, 0.2) : t.hair;
  QPainterPath line;
  const double y = -eh - t.browGap;
  line.moveTo(-ew - 1, y + t.browTilt);
  line.quadTo(0, y - t.browArch - 0.5, ew + 1.5, y - t.browTilt * 0.3 + 0.8);
  p.strokePath(line, Stroke(Mix(brow, QColor(0x10, 0x0C, 0x0A), t.old ? 0.1 : 0.3), t.browWeight));
  p.restore();
}

void DrawFace(QPainter& p, const Traits& t) {
  const QPainterPath head = HeadPath(t);
  QLinearGradient light(t.cx - t.w, t.cy - t.h, t.cx + t.w, t.cy + t.h);
  light.setColorAt(0, Mix(t.skin, Qt::white, 0.12));
  light.setColorAt(1, Mix(t.skin, QColor(0x70, 0x40, 0x30), 0.14));
  p.fillPath(head, light);

  if (t.blush) {
    for (double side : {-1.0, 1.0}) {
      QRadialGradient cheek(t.cx + side * t.w * 0.55, t.cy + t.h * 0.3, 6);
      cheek.setColorAt(0, WithAlpha(QColor(0xE0, 0x70, 0x70), t.female ? 90 : 50));
      cheek.setColorAt(1, WithAlpha(QColor(0xE0, 0x70, 0x70), 0));
      p.fillPath(head, cheek);
    }
  }
  DrawEye(p, t, -1);
  DrawEye(p, t, 1);

  // Nose: a shaded side and a soft base.
  const QColor shadow = Mix(t.skin, QColor(0x50, 0x28, 0x20), 0.38);
  const double base = t.cy + t.noseLength;
  p.setPen(Stroke(WithAlpha(shadow, 120), 0.9));
  p.drawLine(QPointF(t.cx + 1.2, t.cy + 1), QPointF(t.cx + 2.2, base - 1.5));
  QPainterPath nose;
  nose.moveTo(t.cx - 3.2, base - 1);
  nose.quadTo(t.cx, base + 1.8, t.cx + 3.2, base - 1);
  p.strokePath(nose, Stroke(shadow, 1.0));

  // Mouth.
  const double my = t.cy + t.h * 0.58;
  const double half = t.mouthWidth / 2;
  if (t.female) {
    QPainterPath lips;
    lips.moveTo(t.cx - half, my);
    lips.quadTo(t.cx, my - 2.2, t.cx + half, my);
    lips.quadTo(t.cx, my + 3.2 + t.mouthCurve * 0.3, t.cx - half, my);
    p.fillPath(lips, t.lips);
  }
  QPainterPath mouth;
  mouth.moveTo(t.cx - half, my - t.mouthCurve * 0.6);
  mouth.quadTo(t.cx, my + t.mouthCurve, t.cx + half, my - t.mouthCurve * 0.6);
  p.strokePath(mouth, Stroke(Mix(t.lips, QColor(0x40, 0x18, 0x14), 0.5), 1.1));
  if (!t.female) {
    p.setPen(Stroke(WithAlpha(shadow, 90), 0.8));
    p.drawLine(QPointF(t.cx - 2, my + 3.2), QPointF(t.cx + 2, my + 3.2));
  }

  if (t.old) {
    const QColor crease = WithAlpha(Mix(t.skin, Qt::black, 0.45), 130);
    p.setPen(Stroke(crease, 0.7));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 2; ++i) {
      const double y = t.cy - t.h * (0.42 + 0.1 * i);
      p.drawArc(QRectF(t.cx - 8, y, 16, 5), 30 * 16, 120 * 16);
    }
    p.drawLine(QPointF(t.cx - 4.5, base), QPointF(t.cx - half - 1, my + 2));
    p.drawLine(QPointF(t.cx + 4.5, base), QPointF(t.cx + half + 1, my + 2));
  }
}

void DrawBeard(QPainter& p, const Traits& t) {
  const double my = t.cy + t.h * 0.58;
  const double half = t.mouthWidth / 2;
  const QColor colour = Mix(t.hair, QColor(0x10, 0x0C, 0x0A), 0.1);
  // Sideburns start at eye level so that they meet the hair at the temples.
  const QPainterPath jaw = HeadPath(t, 1.2);
  const double sideburnTop = t.cy - 1.5;
  QPainterPath tip;
  tip.moveTo(t.cx - t.w * 0.55, t.cy + t.h * 0.7);
  tip.quadTo(t.cx - 4, t.cy + t.h + t.beardLength, t.cx, t.cy + t.h + t.beardLength + 2);
  tip.quadTo(t.cx + 4, t.cy + t.h + t.beardLength, t.cx + t.w * 0.55, t.cy + t.h * 0.7);
  tip.closeSubpath();
  QPainterPath openFace;
  openFace.addEllipse(QPointF(t.cx, t.cy + t.h * 0.02), t.w * 0.74, t.h * 0.6);
  QPainterPath moustache;
  moustache.moveTo(t.cx, my - 3.6);
  moustache.cubicTo(t.cx - 3, my - 4.6, t.cx - half - 1, my - 3, t.cx - half - 2.5, my + 1.8);
  moustache.quadTo(t.cx - half + 1, my - 1.2, t.cx, my - 1.4);
  moustache.quadTo(t.cx + half - 1, my - 1.2, t.cx + half + 2.5, my + 1.8);
  moustache.cubicTo(t.cx + half + 1, my - 3, t.cx + 3, my - 4.6, t.cx, my - 3.6);

  switch (t.beard) {
    case Beard::kNone: return;
    case Beard::kMoustache: p.fillPath(moustache, colour); return;
    case Beard::kFull: {
      Clip(p).Outside(openFace).Inside(jaw).Inside(0, sideburnTop, kWidth, kHeight).Fill(colour);
      {
        Clip clip(p);
        clip.Outside(openFace);
        p.fillPath(tip, colour);
      }
      p.fillPath(moustache, colour);
      break;
    }
    case Beard::kGoatee: {
      QPainterPath goatee;
      const double lip = my + 2.5;
      goatee.moveTo(t.cx - 3.5, lip + 1);
      goatee.quadTo(t.cx, lip - 0.5, t.cx + 3.5, lip + 1);
      goatee.quadTo(t.cx + 4, t.cy + t.h, t.cx, t.cy + t.h + t.beardLength * 0.7);
      goatee.quadTo(t.cx - 4, t.cy + t.h, t.cx - 3.5, lip + 1);
      p.fillPath(goatee, colour);
      p.fillPath(moustache, colour);
      break;
    }
    case Beard::kWhiskers: {
      Clip(p)
          .Outside(openFace)
          .Outside(t.cx - t.w * 0.35, 0, t.w * 0.7, kHeight)
          .Inside(jaw)
          .Inside(0, sideburnTop, kWidth, kHeight)
          .Fill(colour);
      p.fillPath(moustache, colour);
      break;
    }
    case Beard::kStubble:
      Clip(p).Outside(openFace).Inside(jaw).Inside(0, sideburnTop, kWidth, kHeight).Fill(WithAlpha(colour, 70));
      p.fillPath(moustache, WithAlpha(colour, 70));
      return;
  }
  // The mouth shows through the beard.
  QPainterPath mouth;
  mouth.moveTo(t.cx - half * 0.8, my);
  mouth.quadTo(t.cx, my + t.mouthCurve * 0.8, t.cx + half * 0.8, my);
  p.strokePath(mouth, Stroke(Mix(t.lips, Qt::black, 0.55), 1.3));
}

// Hair and headgear over the head; `clip` keeps hair on the skull.
void DrawHairFront(QPainter& p, const Traits& t) {
  const QPainterPath shell = HeadPath(t, 1.6);
  const double hairline = t.cy - t.h * 0.5;
  const double top = t.cy - t.h;
  const QColor hair = t.hair;
  // The hair over the forehead, and the temples down beside the eyes to the ears.
  const auto fillCapAndTemples = [&] {
    Clip(p).Inside(shell).Inside(0, 0, kWidth, hairline + 1).Fill(hair);
    Clip(p).Inside(shell).Inside(0, 0, kWidth, t.cy - 1).Outside(t.cx - t.w * 0.72, 0, t.w * 1.44, kHeight).Fill(hair);
  };
  const QColor sheen = Mix(t.hair, Qt::white, 0.25);

  switch (t.hairStyle) {
    case Hair::kTopknot: {
      // Shaved crown, hair at the sides, the knot folded forward on top.
      fillCapAndTemples();
      QPainterPath crown;
      crown.addEllipse(QPointF(t.cx, t.cy - t.h * 0.62), t.w * 0.58, t.h * 0.62);
      Clip(p)
          .Inside(HeadPath(t))
          .Inside(crown)
          .Inside(0, 0, kWidth, hairline + 1)
          .Fill(Mix(t.skin, QColor(0x8C, 0x9C, 0xAC), 0.3));
      p.setPen(Qt::NoPen);
      p.setBrush(hair);
      p.drawRoundedRect(QRectF(t.cx - 2.8, top - 7, 5.6, 12), 2.6, 2.6);
      p.setPen(Stroke(QColor(0xF2, 0xEE, 0xE2), 1.2));
      p.drawLine(QPointF(t.cx - 2.8, top + 1.5), QPointF(t.cx + 2.8, top + 1.5));
      break;
    }
    case Hair::kTiedBack:
    case Hair::kCropped:
    case Hair::kHeadband:
    case Hair::kTuft:
    case Hair::kCourtCap: {
      fillCapAndTemples();
      p.setPen(Qt::NoPen);
      if (t.hairStyle == Hair::kCropped || t.hairStyle == Hair::kHeadband) {
        // Rough spikes over the crown.
        QPainterPath spikes;
        spikes.moveTo(t.cx - t.w - 1, hairline);
        for (int i = 0; i <= 8; ++i) {
          const double x = t.cx - t.w + i * t.w / 4;
          const double lift = (i % 2 == 0) ? 3.5 : 0;
          spikes.lineTo(x, top - lift + std::abs(i - 4) * 2.2);
        }
        spikes.lineTo(t.cx + t.w + 1, hairline);
        spikes.closeSubpath();
        Clip clip(p);
        clip.Inside(0, 0, kWidth, hairline);
        p.fillPath(spikes, hair);
      }
      if (t.hairStyle == Hair::kTuft) {
        QPainterPath tuft;
        tuft.moveTo(t.cx - 2, top + 1);
        tuft.quadTo(t.cx - 9, top - 10, t.cx - 6, top - 17);
        tuft.lineTo(t.cx + 6, top - 17);
        tuft.quadTo(t.cx + 9, top - 10, t.cx + 2, top + 1);
        tuft.closeSubpath();
        p.fillPath(tuft, hair);
      }
      // A parting and a few strands catch the light.
      p.setPen(Stroke(WithAlpha(sheen, 150), 0.8));
      p.drawLine(QPointF(t.cx - 6, top + 4), QPointF(t.cx - 10, hairline - 1));
      p.drawLine(QPointF(t.cx + 5, top + 3), QPointF(t.cx + 9, hairline - 2));
      if (t.hairStyle == Hair::kTuft) {
        p.setPen(Stroke(QColor(0xC0, 0x30, 0x30), 1.6));
        p.drawLine(QPointF(t.cx - 3, top - 1), QPointF(t.cx + 3, top - 1));
      }
      if (t.hairStyle == Hair::kHeadband) {
        const QColor band = t.trim.lightness() < 90 ? QColor(0xF2, 0xF0, 0xEA) : t.trim;
        Clip(p).Inside(shell).Inside(0, hairline - 5, kWidth, 4.5).Fill(band);
        p.setPen(Stroke(band, 1.8));
        p.drawLine(QPointF(t.cx + t.w, hairline - 3), QPointF(t.cx + t.w + 6, hairline + 4));
        p.drawLine(QPointF(t.cx + t.w, hairline - 3), QPointF(t.cx + t.w + 8, hairline - 1));
      }
      if (t.hairStyle == Hair::kCourtCap) {
        QPainterPath hat;
        hat.moveTo(t.cx - t.w * 0.62, top + 7);
        hat.cubicTo(t.cx - t.w * 0.7, top - 8, t.cx - t.w * 0.3, top - 22, t.cx + t.w * 0.1, top - 24);
        hat.quadTo(t.cx + t.w * 0.55, top - 20, t.cx + t.w * 0.62, top + 7);
        hat.closeSubpath();
        p.fillPath(hat, QColor(0x16, 0x16, 0x1A));
        p.setPen(Stroke(WithAlpha(Qt::white, 60), 1));
        p.drawLine(QPointF(t.cx - t.w * 0.3, top - 8), QPointF(t.cx - t.w * 0.05, top - 20));
      }
      break;
    }
    case Hair::kLong: {
      fillCapAndTemples();
      Clip(p)
          .Inside(HeadPath(t, 3))
          .Inside(0, 0, kWidth, t.cy + t.h * 0.5)
          .Outside(t.cx - t.w * 0.8, 0, t.w * 1.6, kHeight)
          .Fill(hair);
      p.setPen(Stroke(WithAlpha(sheen, 160), 0.9));
      p.drawLine(QPointF(t.cx, top + 1), QPointF(t.cx, hairline - 2));
      p.drawLine(QPointF(t.cx - 8, top + 5), QPointF(t.cx - 14, hairline + 2));
      // A hair ornament.
      p.setPen(Stroke(QColor(0xD8, 0xB0, 0x40), 1.2));
      p.drawLine(QPointF(t.cx + t.w * 0.5, top + 3), QPointF(t.cx + t.w + 6, top - 3));
      p.setPen(Qt::NoPen);
      p.setBrush(Mix(t.trim, Qt::white, 0.3));
      p.drawEllipse(QPointF(t.cx + t.w * 0.5, top + 3), 2.4, 2.4);
      break;
    }
    case Hair::kBald: {
      QRadialGradient shine(t.cx - 5, top + 6, 9);
      shine.setColorAt(0, WithAlpha(Qt::white, 110));
      shine.setColorAt(1, WithAlpha(Qt::white, 0));
      p.fillPath(HeadPath(t), shine);
      if (t.old) {
        Clip(p)
            .Inside(shell)
            .Inside(0, 0, kWidth, t.cy - 1)
            .Outside(t.cx - t.w * 0.72, 0, t.w * 1.44, kHeight)
            .Fill(WithAlpha(hair, 200));
      }
      break;
    }
    case Hair::kHelmet: {
      QPainterPath bowl;
      bowl.moveTo(t.cx - t.w - 4, hairline + 2);
      bowl.cubicTo(t.cx - t.w - 3, top - 12, t.cx + t.w + 3, top - 12, t.cx + t.w + 4, hairline + 2);
      bowl.closeSubpath();
      QLinearGradient metal(t.cx - t.w, 0, t.cx + t.w, 0);
      metal.setColorAt(0, Mix(t.helmet, Qt::white, 0.25));
      metal.setColorAt(1, Mix(t.helmet, Qt::black, 0.2));
      p.fillPath(bowl, metal);
      p.setPen(Stroke(WithAlpha(Mix(t.helmet, Qt::white, 0.45), 170), 0.8));
      for (int i = -2; i <= 2; ++i) {
        p.drawLine(QPointF(t.cx + i * 3.5, top - 6 + std::abs(i) * 0.8), QPointF(t.cx + i * 7.5, hairline));
      }
      // Visor band and the turned-back flaps.
      p.setPen(Qt::NoPen);
      p.setBrush(Mix(t.helmet, Qt::black, 0.35));
      p.drawRoundedRect(QRectF(t.cx - t.w - 4, hairline - 1, 2 * t.w + 8, 5), 2, 2);
      p.setBrush(t.trim);
      for (double side : {-1.0, 1.0}) {
        const double x = t.cx + side * (t.w + 3);
        p.drawPolygon(QPolygonF({QPointF(x, hairline - 3), QPointF(x + side * 8, hairline - 7),
                                 QPointF(x + side * 8, hairline + 4), QPointF(x, hairline + 5)}));
      }
      const QColor gold(0xE2, 0xB8, 0x40);
      p.setBrush(gold);
      switch (t.crest) {
        case Crest::kNone: break;
        case Crest::kCrescent: {
          QPainterPath moon;
          moon.addEllipse(QPointF(t.cx, top - 13), 11, 7);
          QPainterPath bite;
          bite.addEllipse(QPointF(t.cx, top - 16), 10, 6);
          Clip clip(p);
          clip.Outside(bite);
          p.fillPath(moon, gold);
          break;
        }
        case Crest::kHorns:
          p.setPen(Stroke(gold, 2.2));
          p.drawLine(QPointF(t.cx - 2, top - 4), QPointF(t.cx - 12, top - 24));
          p.drawLine(QPointF(t.cx + 2, top - 4), QPointF(t.cx + 12, top - 24));
          break;
        case Crest::kDisc:
          p.drawEllipse(QPointF(t.cx, top - 10), 6, 6);
          p.setBrush(QColor(0xB0, 0x20, 0x20));
          p.drawEllipse(QPointF(t.cx, top - 10), 3.4, 3.4);
          break;
      }
      break;
    }
    case Hair::kHood: {
      // The cowl over the head and shoulders, open for the face (or only
      // for the eyes, the rest wrapped).
      QPainterPath opening;
      if (t.coverMouth) {
        opening.addRoundedRect(QRectF(t.cx - t.w * 0.84, t.cy - t.h * 0.5, t.w * 1.68, t.h * 0.78), 7, 7);
      } else {
        opening.addEllipse(QPointF(t.cx, t.cy + t.h * 0.08), t.w * 0.9, t.h * 0.9);
      }
      const QPainterPath cloth = HoodPath(t);
      QLinearGradient fold(t.cx - t.w - 10, 0, t.cx + t.w + 10, 0);
      fold.setColorAt(0, Mix(t.hood, Qt::white, 0.15));
      fold.setColorAt(0.5, t.hood);
      fold.setColorAt(1, Mix(t.hood, Qt::black, 0.2));
      Clip clip(p);
      clip.Outside(opening);
      p.fillPath(cloth, fold);
      p.setPen(Stroke(WithAlpha(Mix(t.hood, Qt::black, 0.5), 150), 0.9));
      p.setBrush(Qt::NoBrush);
      p.drawPath(opening);
      p.save();
      p.translate(t.cx, t.cy + t.h * 0.1);
      p.scale(1.18, 1.12);
      p.translate(-t.cx, -t.cy - t.h * 0.1);
      p.setPen(Stroke(WithAlpha(Mix(t.hood, Qt::black, 0.5), 90), 0.8));
      p.drawPath(opening);
      p.restore();
      break;
    }
  }
}

}  // namespace

QImage RenderDemoFace(int faceNumber) {
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

}  // namespace k4r::cli
