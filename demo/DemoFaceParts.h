#pragma once
// The parts the demo portraits are drawn from: the traits a face number
// picks, shared shapes, and one drawing step per layer (back to front).

#include <QColor>
#include <QPainter>
#include <QPainterPath>

#include "core/FaceArchive.h"

namespace k4r::demo::face_art {

// Drawing units: one unit is one pixel of the finished portrait.
constexpr int kWidth = FacePortrait::kWidth;
constexpr int kHeight = FacePortrait::kHeight;

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

// Everything about one face, picked once from its number.
[[nodiscard]] Traits ChooseTraits(int faceNumber);

[[nodiscard]] QColor Mix(const QColor& a, const QColor& b, double t);
[[nodiscard]] QColor WithAlpha(QColor colour, int alpha);
[[nodiscard]] QPen Stroke(const QColor& colour, double width);
[[nodiscard]] QPainterPath RectPath(double x, double y, double width, double height);
// The head: rounded crown, widest at the temples, narrowing to the chin.
[[nodiscard]] QPainterPath HeadPath(const Traits& t, double grow = 0);
// A monk's cowl: round over the crown, falling in folds to the shoulders.
[[nodiscard]] QPainterPath HoodPath(const Traits& t);

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

void DrawBackdrop(QPainter& p, const Traits& t);
void DrawHairBehind(QPainter& p, const Traits& t);
void DrawBody(QPainter& p, const Traits& t);
void DrawEar(QPainter& p, const Traits& t, double side);
void DrawFace(QPainter& p, const Traits& t);
void DrawBeard(QPainter& p, const Traits& t);
void DrawHairFront(QPainter& p, const Traits& t);

}  // namespace k4r::demo::face_art
