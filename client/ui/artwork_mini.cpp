// The small cards shown beside a seat: rank at the top left, suit at the top
// right, so that a fan of them shows every card by its top or left strip.
#include <QFont>

#include "client/ui/artwork_draw.h"
#include "core/tpoker.h"

namespace quarn::client::art {

void DrawMiniCard(QPainter& p, const QRectF& box, int cardNumber) {
  const int rank = RankOf(cardNumber);
  if (rank == 0) return;
  const int suit = SuitOf(cardNumber);
  const bool joker = suit == kSuitJoker;
  const qreal w = box.width();
  const qreal h = box.height();
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(box.topLeft());
  p.setPen(QPen(QColor(70, 70, 70), std::max(1.0, w / 24)));
  p.setBrush(QColor(255, 255, 252));
  p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), w / 8, w / 8);
  // The small joker is black and the big one red, as on the full faces.
  const QColor ink =
      joker ? (rank == kRankBigJoker ? QColor(205, 20, 20) : QColor(20, 20, 20)) : SuitColor(suit);
  QFont font(QStringLiteral("DejaVu Sans"));
  if (joker) font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("SimSun")});
  font.setPixelSize(std::max(6, qRound(h * 0.36)));
  font.setBold(true);
  p.setFont(font);
  p.setPen(ink);
  const QString text = joker ? (rank == kRankBigJoker ? QStringLiteral("大") : QStringLiteral("小"))
                             : QString::fromUtf8(RankName(rank).data(),
                                                 static_cast<qsizetype>(RankName(rank).size()));
  DrawFittedText(p, QRectF(w * 0.05, h * 0.03, w * 0.55, h * 0.42), text,
                 Qt::AlignLeft | Qt::AlignVCenter);
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  if (joker) {
    p.setPen(ink);
    DrawFittedText(p, QRectF(w * 0.15, h * 0.5, w * 0.7, h * 0.42), QStringLiteral("王"),
                   Qt::AlignCenter);
  } else {
    p.drawPath(SuitPath(suit, QRectF(w * 0.6, h * 0.1, w * 0.32, h * 0.24)));
    p.drawPath(SuitPath(suit, QRectF(w * 0.28, h * 0.52, w * 0.44, h * 0.34)));
  }
  p.restore();
}

}  // namespace quarn::client::art
