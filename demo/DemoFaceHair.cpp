// Hair and headgear drawn over the head.

#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>

#include "demo/DemoFaceParts.h"

namespace k4r::demo::face_art {

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

}  // namespace k4r::demo::face_art
