// Card faces and backs, 71 x 96. The 15-pixel strip at the left must name the
// card on its own: the hand overlaps cards so that only that strip shows.
#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QRadialGradient>
#include <array>
#include <cmath>
#include <vector>

#include "client/ui/artwork_draw.h"

namespace quarn::client::art {
namespace {

constexpr qreal kW = 71;
constexpr qreal kH = 96;
constexpr std::array<const char*, 14> kRankText = {"",  "3",  "4", "5", "6", "7", "8",
                                                   "9", "10", "J", "Q", "K", "A", "2"};

QFont CornerFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(14);
  font.setBold(true);
  return font;
}

QFont CjkFont(int pixels, bool bold) {
  QFont font(QStringLiteral("Noto Sans CJK SC"));
  font.setFamilies(
      {QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("Noto Sans CJK SC")});
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

void DrawBlank(QPainter& p) {
  QRectF card(0.5, 0.5, kW - 1, kH - 1);
  p.setPen(QPen(QColor(70, 70, 70), 1));
  p.setBrush(QColor(255, 255, 252));
  p.drawRoundedRect(card, 4, 4);
}

// Rank and suit in the top-left corner; the bottom-right corner repeats them upside down.
void DrawCorners(QPainter& p, const QString& rank, int suit) {
  for (int turn = 0; turn < 2; ++turn) {
    p.save();
    if (turn == 1) {
      p.translate(kW, kH);
      p.rotate(180);
    }
    p.setFont(CornerFont());
    p.setPen(SuitColor(suit));
    DrawFittedText(p, QRectF(1.5, 2, 13, 15), rank, Qt::AlignHCenter | Qt::AlignTop);
    p.setPen(Qt::NoPen);
    p.setBrush(SuitColor(suit));
    p.drawPath(SuitPath(suit, QRectF(3, 19, 10, 10)));
    p.restore();
  }
}

// Pip centres for 1..10 pips in a unit box (x, y), the lower half mirrored by the caller.
const std::array<std::vector<QPointF>, 11>& PipLayouts() {
  static const std::array<std::vector<QPointF>, 11> layouts = {{
      {},
      {{0.5, 0.5}},
      {{0.5, 0.0}, {0.5, 1.0}},
      {{0.5, 0.0}, {0.5, 0.5}, {0.5, 1.0}},
      {{0, 0}, {1, 0}, {0, 1}, {1, 1}},
      {{0, 0}, {1, 0}, {0.5, 0.5}, {0, 1}, {1, 1}},
      {{0, 0}, {1, 0}, {0, 0.5}, {1, 0.5}, {0, 1}, {1, 1}},
      {{0, 0}, {1, 0}, {0.5, 0.25}, {0, 0.5}, {1, 0.5}, {0, 1}, {1, 1}},
      {{0, 0}, {1, 0}, {0.5, 0.25}, {0, 0.5}, {1, 0.5}, {0.5, 0.75}, {0, 1}, {1, 1}},
      {{0, 0},
       {1, 0},
       {0, 1.0 / 3},
       {1, 1.0 / 3},
       {0.5, 0.5},
       {0, 2.0 / 3},
       {1, 2.0 / 3},
       {0, 1},
       {1, 1}},
      {{0, 0},
       {1, 0},
       {0.5, 1.0 / 6},
       {0, 1.0 / 3},
       {1, 1.0 / 3},
       {0, 2.0 / 3},
       {1, 2.0 / 3},
       {0.5, 5.0 / 6},
       {0, 1},
       {1, 1}},
  }};
  return layouts;
}

void DrawPips(QPainter& p, int count, int suit) {
  const QRectF area(22, 14, 27, 68);  // pip centres; the pips reach 6 px beyond
  const qreal pip = count == 1 ? 30 : 12;
  p.setPen(Qt::NoPen);
  p.setBrush(SuitColor(suit));
  for (const QPointF& at : PipLayouts()[count]) {
    QPointF centre(area.left() + at.x() * area.width(), area.top() + at.y() * area.height());
    p.save();
    p.translate(centre);
    if (at.y() > 0.5) p.rotate(180);  // the lower pips face the other player
    p.drawPath(SuitPath(suit, QRectF(-pip / 2, -pip / 2, pip, pip)));
    p.restore();
  }
}

// J, Q and K: a framed panel with a large letter, a small crown for the royals.
void DrawCourt(QPainter& p, const QString& letter, int suit, int rank) {
  const QRectF frame(15.5, 13.5, 40, 69);
  QColor tint = suit == 0 || suit == 2 ? QColor(255, 236, 220) : QColor(226, 234, 250);
  p.setPen(QPen(SuitColor(suit), 1));
  p.setBrush(tint);
  p.drawRect(frame);
  if (rank >= 10) {  // Q and K wear a crown
    QPainterPath crown;
    crown.moveTo(25, 32);
    crown.lineTo(23, 20);
    crown.lineTo(29.5, 26);
    crown.lineTo(35.5, 17);
    crown.lineTo(41.5, 26);
    crown.lineTo(48, 20);
    crown.lineTo(46, 32);
    crown.closeSubpath();
    p.setPen(QPen(QColor(150, 100, 0), 0.8));
    p.setBrush(rank == 11 ? QColor(240, 190, 40) : QColor(250, 215, 120));
    p.drawPath(crown);
  }
  QFont font(QStringLiteral("DejaVu Serif"));
  font.setPixelSize(30);
  font.setBold(true);
  p.setFont(font);
  p.setPen(SuitColor(suit));
  p.drawText(QRectF(15, 34, 41, 36), Qt::AlignCenter, letter);
  p.setPen(Qt::NoPen);
  p.setBrush(SuitColor(suit));
  p.drawPath(SuitPath(suit, QRectF(18, 70, 9, 9)));
  p.drawPath(SuitPath(suit, QRectF(44, 70, 9, 9)));
}

QPainterPath StarPath(const QPointF& centre, qreal outer, qreal inner) {
  QPainterPath star;
  for (int i = 0; i < 10; ++i) {
    qreal radius = i % 2 == 0 ? outer : inner;
    qreal angle = -M_PI / 2 + i * M_PI / 5;
    QPointF at = centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
    if (i == 0) {
      star.moveTo(at);
    } else {
      star.lineTo(at);
    }
  }
  star.closeSubpath();
  return star;
}

// Jokers: the big one red and gold, the small one black and grey; each names
// itself in its corners ("大"/"小" over "王") and in the centre.
void DrawJoker(QPainter& p, bool big) {
  const QColor ink = big ? QColor(200, 20, 20) : QColor(25, 25, 25);
  for (int turn = 0; turn < 2; ++turn) {
    p.save();
    if (turn == 1) {
      p.translate(kW, kH);
      p.rotate(180);
    }
    p.setFont(CjkFont(12, true));
    p.setPen(ink);
    p.drawText(QRectF(1, 2, 14, 14), Qt::AlignCenter,
               big ? QStringLiteral("大") : QStringLiteral("小"));
    p.drawText(QRectF(1, 15, 14, 14), Qt::AlignCenter, QStringLiteral("王"));
    p.restore();
  }
  QRadialGradient glow(QPointF(35.5, 40), 24);
  glow.setColorAt(0, big ? QColor(255, 240, 120) : QColor(235, 235, 235));
  glow.setColorAt(1, big ? QColor(255, 150, 40) : QColor(120, 120, 120));
  p.setPen(QPen(ink, 1.2));
  p.setBrush(glow);
  p.drawPath(StarPath(QPointF(35.5, 40), 21, 9));
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  p.drawEllipse(QPointF(31.5, 38), 1.6, 1.6);
  p.drawEllipse(QPointF(39.5, 38), 1.6, 1.6);
  p.setPen(QPen(ink, 1.2));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(31, 38, 9, 7), 200 * 16, 140 * 16);
  p.setFont(CjkFont(17, true));
  p.drawText(QRectF(14, 62, 43, 20), Qt::AlignCenter,
             big ? QStringLiteral("大王") : QStringLiteral("小王"));
}

}  // namespace

QColor SuitColor(int suit) {
  return suit == 0 || suit == 2 ? QColor(205, 20, 20) : QColor(20, 20, 20);
}

QPainterPath SuitPath(int suit, const QRectF& box) {
  QPainterPath unit;
  unit.setFillRule(Qt::WindingFill);
  switch (suit) {
    case 0:  // diamond
      unit.moveTo(0.5, 0);
      unit.lineTo(0.92, 0.5);
      unit.lineTo(0.5, 1);
      unit.lineTo(0.08, 0.5);
      unit.closeSubpath();
      break;
    case 1:  // club: three leaves and a stem
      unit.addEllipse(QPointF(0.5, 0.26), 0.23, 0.23);
      unit.addEllipse(QPointF(0.24, 0.58), 0.23, 0.23);
      unit.addEllipse(QPointF(0.76, 0.58), 0.23, 0.23);
      unit.addEllipse(QPointF(0.5, 0.5), 0.14, 0.14);
      unit.moveTo(0.5, 0.5);
      unit.lineTo(0.68, 1);
      unit.lineTo(0.32, 1);
      unit.closeSubpath();
      break;
    case 2:  // heart
      unit.moveTo(0.5, 0.25);
      unit.cubicTo(0.5, 0.0, 0.0, -0.02, 0.0, 0.33);
      unit.cubicTo(0.0, 0.6, 0.35, 0.75, 0.5, 0.97);
      unit.cubicTo(0.65, 0.75, 1.0, 0.6, 1.0, 0.33);
      unit.cubicTo(1.0, -0.02, 0.5, 0.0, 0.5, 0.25);
      break;
    default:  // spade: an upturned heart on a stem
      unit.moveTo(0.5, 0);
      unit.cubicTo(0.6, 0.18, 1.0, 0.35, 1.0, 0.6);
      unit.cubicTo(1.0, 0.82, 0.75, 0.9, 0.5, 0.72);
      unit.cubicTo(0.25, 0.9, 0.0, 0.82, 0.0, 0.6);
      unit.cubicTo(0.0, 0.35, 0.4, 0.18, 0.5, 0);
      unit.moveTo(0.5, 0.6);
      unit.lineTo(0.68, 1);
      unit.lineTo(0.32, 1);
      unit.closeSubpath();
      break;
  }
  QTransform toBox;
  toBox.translate(box.left(), box.top());
  toBox.scale(box.width(), box.height());
  return toBox.map(unit);
}

void DrawFittedText(QPainter& p, const QRectF& box, const QString& text, int flags) {
  qreal width = QFontMetricsF(p.font()).horizontalAdvance(text);
  if (width <= box.width()) {
    p.drawText(box, flags, text);
    return;
  }
  p.save();
  qreal squeeze = box.width() / width;
  p.translate(box.left(), box.top());
  p.scale(squeeze, 1);
  p.drawText(QRectF(0, 0, width, box.height()), flags, text);
  p.restore();
}

void DrawCardFace(QPainter& p, int m) {
  DrawBlank(p);
  if (m == 53 || m == 54) {
    DrawJoker(p, m == 54);
    return;
  }
  if (m < 1 || m > 52) return;
  int rank = (m - 1) / 4 + 1;
  int suit = (m - 1) % 4;
  QString rankText = QString::fromLatin1(kRankText[rank]);
  DrawCorners(p, rankText, suit);
  if (rank >= 9 && rank <= 11) {
    DrawCourt(p, rankText, suit, rank);
  } else {
    // Ranks 3..10 show their pips, the ace one big pip, the 2 two pips.
    int pips = rank <= 8 ? rank + 2 : rank == 12 ? 1 : 2;
    DrawPips(p, pips, suit);
  }
}

void DrawCardBack(QPainter& p, const QRectF& box, int scheme) {
  static const std::array<QColor, 6> kColours = {QColor(30, 70, 160),  QColor(170, 30, 40),
                                                 QColor(20, 120, 70),  QColor(110, 40, 140),
                                                 QColor(180, 110, 20), QColor(40, 110, 130)};
  QColor base = kColours[static_cast<std::size_t>((scheme - 1 + 6) % 6)];
  QRectF card = box.adjusted(0.5, 0.5, -0.5, -0.5);
  p.setPen(QPen(QColor(60, 60, 60), 1));
  p.setBrush(QColor(250, 250, 250));
  p.drawRoundedRect(card, 4, 4);
  QRectF inner = card.adjusted(4, 4, -4, -4);
  QLinearGradient shade(inner.topLeft(), inner.bottomRight());
  shade.setColorAt(0, base.lighter(130));
  shade.setColorAt(1, base.darker(120));
  p.setPen(Qt::NoPen);
  p.setBrush(shade);
  p.drawRoundedRect(inner, 2, 2);
  p.save();
  p.setClipRect(inner);
  p.setPen(QPen(QColor(255, 255, 255, 90), 1));
  for (qreal d = -inner.height(); d < inner.width(); d += 7) {
    p.drawLine(QPointF(inner.left() + d, inner.top()),
               QPointF(inner.left() + d + inner.height(), inner.bottom()));
    p.drawLine(QPointF(inner.left() + d + inner.height(), inner.top()),
               QPointF(inner.left() + d, inner.bottom()));
  }
  p.restore();
  QPointF centre = inner.center();
  p.setPen(QPen(QColor(255, 255, 255), 1.5));
  p.setBrush(base.darker(130));
  p.drawEllipse(centre, 13, 13);
  p.setPen(Qt::white);
  QFont font(QStringLiteral("DejaVu Serif"));
  font.setPixelSize(17);
  font.setBold(true);
  p.setFont(font);
  p.drawText(QRectF(centre.x() - 13, centre.y() - 13, 26, 26), Qt::AlignCenter,
             QStringLiteral("Q"));
}

}  // namespace quarn::client::art
