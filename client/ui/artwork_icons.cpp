// Head icons: 40 simple faces. Each has its own background colour; the four
// expressions times ten headgears make every face different as well.
#include <QColor>
#include <array>

#include "client/ui/artwork_draw.h"

namespace quarn::client::art {
namespace {

constexpr QPointF kFace(16, 18);
constexpr qreal kFaceRadius = 10;

const std::array<QColor, 4> kSkins = {QColor(255, 220, 180), QColor(240, 195, 150),
                                      QColor(205, 150, 105), QColor(255, 235, 205)};

void DrawEyes(QPainter& p, int expression) {
  p.setPen(QPen(QColor(30, 30, 30), 1.3, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(QColor(30, 30, 30));
  switch (expression) {
    case 0:  // round eyes
      p.drawEllipse(QPointF(12.5, 16.5), 1.3, 1.5);
      p.drawEllipse(QPointF(19.5, 16.5), 1.3, 1.5);
      break;
    case 1:  // laughing eyes
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(10.5, 15, 4, 4), 0, 180 * 16);
      p.drawArc(QRectF(17.5, 15, 4, 4), 0, 180 * 16);
      break;
    case 2:  // glasses
      p.setBrush(QColor(255, 255, 255, 120));
      p.drawEllipse(QPointF(12.5, 16.5), 2.8, 2.6);
      p.drawEllipse(QPointF(19.5, 16.5), 2.8, 2.6);
      p.drawLine(QPointF(15.3, 16.3), QPointF(16.7, 16.3));
      p.setBrush(QColor(30, 30, 30));
      p.drawEllipse(QPointF(12.5, 16.5), 0.8, 0.8);
      p.drawEllipse(QPointF(19.5, 16.5), 0.8, 0.8);
      break;
    default:  // a wink
      p.drawEllipse(QPointF(12.5, 16.5), 1.3, 1.5);
      p.drawLine(QPointF(18, 16.8), QPointF(21, 16.8));
      break;
  }
}

void DrawMouth(QPainter& p, int expression) {
  p.setPen(QPen(QColor(150, 30, 30), 1.3, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  switch (expression) {
    case 1:  // open laugh
      p.setBrush(QColor(170, 40, 40));
      p.drawChord(QRectF(12, 19, 8, 6), 180 * 16, 180 * 16);
      break;
    case 2:  // straight
      p.drawLine(QPointF(13.5, 23), QPointF(18.5, 23));
      break;
    default:  // smile
      p.drawArc(QRectF(12, 18.5, 8, 5.5), 200 * 16, 140 * 16);
      break;
  }
}

void DrawHeadgear(QPainter& p, int style, const QColor& colour) {
  p.setPen(QPen(colour.darker(150), 0.8));
  p.setBrush(colour);
  switch (style) {
    case 0:  // bare
      break;
    case 1:  // hair
      p.setBrush(QColor(50, 35, 25));
      p.drawChord(QRectF(6, 7, 20, 16), 10 * 16, 160 * 16);
      break;
    case 2:  // top hat
      p.drawRect(QRectF(10.5, 1.5, 11, 8));
      p.drawRect(QRectF(7.5, 8.5, 17, 2));
      break;
    case 3:  // cap with a peak
      p.drawChord(QRectF(6.5, 5, 19, 12), 0, 180 * 16);
      p.drawRect(QRectF(16, 9.5, 10, 2));
      break;
    case 4:  // bow
      p.drawPolygon(QPolygonF({{16, 7}, {9, 3}, {9, 11}}));
      p.drawPolygon(QPolygonF({{16, 7}, {23, 3}, {23, 11}}));
      p.drawEllipse(QPointF(16, 7), 1.8, 1.8);
      break;
    case 5:  // crown
      p.setBrush(QColor(245, 200, 40));
      p.drawPolygon(QPolygonF({{9, 10}, {8, 2}, {12.5, 6}, {16, 1}, {19.5, 6}, {24, 2}, {23, 10}}));
      break;
    case 6:  // headband
      p.drawRect(QRectF(6.5, 11, 19, 3));
      p.drawPolygon(QPolygonF({{24, 12}, {29, 9}, {29, 15}}));
      break;
    case 7:  // beard
      p.setBrush(QColor(90, 60, 40));
      p.drawChord(QRectF(6.5, 14, 19, 14), 180 * 16, 180 * 16);
      break;
    case 8:  // pigtails
      p.drawEllipse(QPointF(5, 13), 3.5, 3.5);
      p.drawEllipse(QPointF(27, 13), 3.5, 3.5);
      p.setBrush(QColor(60, 40, 30));
      p.drawChord(QRectF(6, 8, 20, 12), 0, 180 * 16);
      break;
    default:  // antennae
      p.setPen(QPen(colour.darker(150), 1.2));
      p.drawLine(QPointF(12, 9), QPointF(9, 2));
      p.drawLine(QPointF(20, 9), QPointF(23, 2));
      p.drawEllipse(QPointF(9, 2.5), 2, 2);
      p.drawEllipse(QPointF(23, 2.5), 2, 2);
      break;
  }
}

}  // namespace

void DrawHeadIcon(QPainter& p, int n) {
  int index = n - 1;
  int expression = index % 4;
  int headgear = index / 4;
  // Spread the hues so that neighbouring numbers look clearly different.
  QColor background = QColor::fromHsv((index * 97) % 360, 110 + (index % 3) * 40, 235);
  QColor accent = QColor::fromHsv((index * 97 + 180) % 360, 200, 200);
  p.setPen(QPen(background.darker(140), 1));
  p.setBrush(background);
  p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 5, 5);
  bool beardFirst = headgear == 7;
  p.setPen(QPen(QColor(120, 80, 50), 0.8));
  p.setBrush(kSkins[static_cast<std::size_t>(index % 4 == 0 ? 0 : (index / 3) % 4)]);
  p.drawEllipse(kFace, kFaceRadius, kFaceRadius);
  if (!beardFirst) {
    DrawHeadgear(p, headgear, accent);
    DrawEyes(p, expression);
    DrawMouth(p, expression);
  } else {
    DrawEyes(p, expression);
    DrawHeadgear(p, headgear, accent);
  }
}

void DrawLandlordCap(QPainter& p) {
  // A landlord's round hat: dark red crown, gold brim and a gold knob.
  p.setPen(QPen(QColor(90, 20, 10), 0.8));
  p.setBrush(QColor(190, 30, 30));
  p.drawChord(QRectF(2.5, 3, 11, 12), 0, 180 * 16);
  p.setBrush(QColor(245, 190, 30));
  p.drawRoundedRect(QRectF(0.5, 9, 15, 4), 2, 2);
  p.drawEllipse(QPointF(8, 3), 1.8, 1.8);
}

}  // namespace quarn::client::art
