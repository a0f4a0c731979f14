// Service icons: 22 small symbols of what a player may ask the waiter for,
// each on a light disc of its own colour.
#include <QColor>
#include <array>
#include <cmath>

#include "client/ui/artwork_draw.h"

namespace quarn::client::art {
namespace {

void Pen(QPainter& p, const QColor& fill, qreal width = 0.8) {
  p.setPen(QPen(fill.darker(170), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(fill);
}

void Tea(QPainter& p) {
  Pen(p, QColor(90, 160, 90));
  p.drawChord(QRectF(7, 6, 18, 20), 180 * 16, 180 * 16);
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(22, 15, 6, 6), -90 * 16, 180 * 16);
  p.drawLine(QPointF(13, 12), QPointF(12, 6));
  p.drawLine(QPointF(18, 12), QPointF(19, 6));
}
void Coffee(QPainter& p) {
  Pen(p, QColor(120, 70, 40));
  p.drawRect(QRectF(8, 11, 13, 14));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QRectF(20, 14, 6, 7));
  p.drawArc(QRectF(10, 3, 4, 7), 90 * 16, 180 * 16);
  p.drawArc(QRectF(15, 3, 4, 7), 90 * 16, 180 * 16);
}
void Beer(QPainter& p) {
  Pen(p, QColor(240, 180, 30));
  p.drawRect(QRectF(9, 10, 12, 16));
  p.setBrush(Qt::white);
  p.drawEllipse(QRectF(8, 6, 14, 6));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(21, 13, 4, 8));
}
void Cake(QPainter& p) {
  Pen(p, QColor(250, 170, 200));
  p.drawRect(QRectF(6, 15, 20, 11));
  p.setBrush(QColor(255, 250, 240));
  p.drawRect(QRectF(6, 15, 20, 3));
  Pen(p, QColor(250, 90, 90));
  p.drawRect(QRectF(15, 8, 2, 7));
  Pen(p, QColor(255, 200, 0));
  p.drawEllipse(QPointF(16, 6), 1.5, 2);
}
void Flower(QPainter& p) {
  Pen(p, QColor(60, 150, 60), 1.5);
  p.drawLine(QPointF(16, 16), QPointF(16, 28));
  Pen(p, QColor(230, 60, 120));
  for (int i = 0; i < 5; ++i) {
    qreal a = i * 2 * M_PI / 5;
    p.drawEllipse(QPointF(16 + 5 * std::cos(a), 12 + 5 * std::sin(a)), 3.5, 3.5);
  }
  Pen(p, QColor(255, 220, 0));
  p.drawEllipse(QPointF(16, 12), 2.5, 2.5);
}
void Star(QPainter& p) {
  Pen(p, QColor(255, 200, 0));
  QPolygonF star;
  for (int i = 0; i < 10; ++i) {
    qreal r = i % 2 ? 5 : 12;
    qreal a = -M_PI / 2 + i * M_PI / 5;
    star << QPointF(16 + r * std::cos(a), 17 + r * std::sin(a));
  }
  p.drawPolygon(star);
}
void Heart(QPainter& p) {
  Pen(p, QColor(220, 30, 60));
  p.drawPath(SuitPath(2, QRectF(6, 6, 20, 20)));
}
void Note(QPainter& p) {
  Pen(p, QColor(60, 60, 160), 1.5);
  p.drawLine(QPointF(13, 23), QPointF(13, 7));
  p.drawLine(QPointF(24, 20), QPointF(24, 5));
  p.drawLine(QPointF(13, 7), QPointF(24, 5));
  p.drawEllipse(QPointF(10.5, 23), 3, 2.3);
  p.drawEllipse(QPointF(21.5, 20), 3, 2.3);
}
void Moon(QPainter& p) {
  QPainterPath moon;
  moon.addEllipse(QPointF(16, 16), 10, 10);
  QPainterPath bite;
  bite.addEllipse(QPointF(21, 12), 9, 9);
  Pen(p, QColor(240, 220, 90));
  p.drawPath(moon.subtracted(bite));
}
void Sun(QPainter& p) {
  Pen(p, QColor(250, 140, 0), 1.5);
  for (int i = 0; i < 8; ++i) {
    qreal a = i * M_PI / 4;
    p.drawLine(QPointF(16 + 8 * std::cos(a), 16 + 8 * std::sin(a)),
               QPointF(16 + 13 * std::cos(a), 16 + 13 * std::sin(a)));
  }
  p.drawEllipse(QPointF(16, 16), 6.5, 6.5);
}
void Apple(QPainter& p) {
  Pen(p, QColor(210, 30, 30));
  p.drawEllipse(QRectF(7, 10, 10, 16));
  p.drawEllipse(QRectF(15, 10, 10, 16));
  Pen(p, QColor(70, 160, 50));
  p.drawEllipse(QRectF(17, 4, 6, 4));
  p.drawLine(QPointF(16, 11), QPointF(16, 6));
}
void Cherries(QPainter& p) {
  Pen(p, QColor(80, 140, 40), 1.2);
  p.setBrush(Qt::NoBrush);
  p.drawLine(QPointF(10, 20), QPointF(20, 5));
  p.drawLine(QPointF(22, 21), QPointF(20, 5));
  Pen(p, QColor(200, 0, 40));
  p.drawEllipse(QPointF(10, 22), 5, 5);
  p.drawEllipse(QPointF(22, 23), 5, 5);
}
void Gift(QPainter& p) {
  Pen(p, QColor(60, 130, 220));
  p.drawRect(QRectF(6, 13, 20, 14));
  p.drawRect(QRectF(5, 9, 22, 5));
  Pen(p, QColor(230, 40, 60));
  p.drawRect(QRectF(14.5, 9, 3, 18));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QRectF(9, 4, 7, 5));
  p.drawEllipse(QRectF(16, 4, 7, 5));
}
void Crown(QPainter& p) {
  Pen(p, QColor(245, 190, 20));
  p.drawPolygon(QPolygonF({{6, 24}, {5, 9}, {11, 16}, {16, 6}, {21, 16}, {27, 9}, {26, 24}}));
  Pen(p, QColor(220, 30, 60));
  p.drawEllipse(QPointF(16, 20), 2, 2);
}
void Bell(QPainter& p) {
  Pen(p, QColor(230, 170, 30));
  QPainterPath bell;
  bell.moveTo(7, 24);
  bell.cubicTo(10, 20, 9, 6, 16, 6);
  bell.cubicTo(23, 6, 22, 20, 25, 24);
  bell.closeSubpath();
  p.drawPath(bell);
  p.drawEllipse(QPointF(16, 26), 2.5, 2.5);
}
void Lightning(QPainter& p) {
  Pen(p, QColor(255, 230, 0));
  p.drawPolygon(QPolygonF({{19, 3}, {8, 18}, {15, 18}, {12, 29}, {24, 13}, {17, 13}}));
}
void Umbrella(QPainter& p) {
  Pen(p, QColor(140, 60, 200));
  p.drawChord(QRectF(4, 5, 24, 20), 0, 180 * 16);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(60, 40, 40), 1.4));
  p.drawLine(QPointF(16, 15), QPointF(16, 25));
  p.drawArc(QRectF(12, 23, 4, 4), 180 * 16, 180 * 16);
}
void Fish(QPainter& p) {
  Pen(p, QColor(40, 150, 220));
  p.drawEllipse(QRectF(5, 10, 18, 12));
  p.drawPolygon(QPolygonF({{21, 16}, {28, 10}, {28, 22}}));
  p.setBrush(Qt::black);
  p.drawEllipse(QPointF(10, 15), 1, 1);
}
void Clover(QPainter& p) {
  Pen(p, QColor(40, 170, 60));
  p.drawEllipse(QPointF(16, 10), 5, 5);
  p.drawEllipse(QPointF(10, 16), 5, 5);
  p.drawEllipse(QPointF(22, 16), 5, 5);
  p.drawEllipse(QPointF(16, 22), 5, 5);
  p.setPen(QPen(QColor(30, 110, 40), 1.5));
  p.drawLine(QPointF(16, 16), QPointF(24, 29));
}
void Gem(QPainter& p) {
  Pen(p, QColor(90, 210, 230));
  p.drawPolygon(QPolygonF({{9, 7}, {23, 7}, {28, 13}, {16, 27}, {4, 13}}));
  p.setBrush(Qt::NoBrush);
  p.drawLine(QPointF(4, 13), QPointF(28, 13));
  p.drawLine(QPointF(12, 13), QPointF(16, 27));
  p.drawLine(QPointF(20, 13), QPointF(16, 27));
}
void Smile(QPainter& p) {
  Pen(p, QColor(255, 215, 40));
  p.drawEllipse(QPointF(16, 16), 11, 11);
  p.setBrush(Qt::black);
  p.drawEllipse(QPointF(12, 13), 1.3, 1.8);
  p.drawEllipse(QPointF(20, 13), 1.3, 1.8);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(Qt::black, 1.3));
  p.drawArc(QRectF(10, 13, 12, 9), 200 * 16, 140 * 16);
}
void Balloon(QPainter& p) {
  Pen(p, QColor(240, 90, 160));
  p.drawEllipse(QRectF(8, 3, 16, 19));
  p.drawPolygon(QPolygonF({{16, 22}, {14, 25}, {18, 25}}));
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(80, 80, 80), 0.8));
  p.drawLine(QPointF(16, 25), QPointF(14, 30));
}

}  // namespace

void DrawServiceIcon(QPainter& p, int n) {
  using Draw = void (*)(QPainter&);
  static constexpr std::array<Draw, 22> kSymbols = {
      Tea,      Coffee, Beer,  Cake, Flower,    Star,     Heart, Note,   Moon, Sun,   Apple,
      Cherries, Gift,   Crown, Bell, Lightning, Umbrella, Fish,  Clover, Gem,  Smile, Balloon};
  if (n < 1 || n > static_cast<int>(kSymbols.size())) return;
  QColor disc = QColor::fromHsv(((n - 1) * 137) % 360, 45, 250);
  p.setPen(QPen(disc.darker(130), 1));
  p.setBrush(disc);
  p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 7, 7);
  kSymbols[static_cast<std::size_t>(n - 1)](p);
}

}  // namespace quarn::client::art
