// The head itself: ears, face and its features, beards.

#include <QLinearGradient>
#include <QRadialGradient>

#include "demo/DemoFaceParts.h"

namespace k4r::demo::face_art {
namespace {

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

}  // namespace

void DrawEar(QPainter& p, const Traits& t, double side) {
  const QPointF centre(t.cx + side * (t.w - 0.5), t.cy + 1.5);
  p.setPen(Qt::NoPen);
  p.setBrush(Mix(t.skin, QColor(0x80, 0x40, 0x30), 0.12));
  p.drawEllipse(centre, 4, 6.5);
  p.setBrush(Mix(t.skin, QColor(0x80, 0x40, 0x30), 0.3));
  p.drawEllipse(centre + QPointF(side * 1, 0), 1.6, 3.8);
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

}  // namespace k4r::demo::face_art
