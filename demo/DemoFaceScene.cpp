// The layers behind the head: backdrop, hair and headgear that fall behind
// it, shoulders and clothing.

#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

#include "demo/DemoFaceParts.h"

namespace k4r::demo::face_art {

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

}  // namespace k4r::demo::face_art
