#include "client/ui/seatact.h"

#include <QCoreApplication>
#include <QPainter>
#include <algorithm>

#include "client/model/card_texts.h"
#include "client/ui/artwork_draw.h"
#include "client/ui/uifont.h"
#include "core/tpoker.h"

namespace quarn::client {

namespace {

constexpr qreal kMiniHeight = 30;  // a small card at scale 1
constexpr qreal kMiniAspect = 0.72;
constexpr int kCounterColumns = 8;

// The jokers' names are the card core's words, translated with the others.
QString RankText(int rank) {
  return QCoreApplication::translate(kCardTextContext, std::string(RankName(rank)).c_str());
}

// The offset between neighbouring cards of a fan: as wide as `open`, closer
// when `count` cards must share `room`.
qreal Step(qreal room, qreal card, int count, qreal open) {
  if (count < 2) return 0;
  return std::max(1.0, std::min(open, (room - card) / (count - 1)));
}

}  // namespace

TSeatActView::TSeatActView(Fan fan, QWidget* parent) : QWidget(parent), fan_(fan) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  hide();
}

void TSeatActView::ShowAct(const SeatAct& act) {
  if (act == act_) return;
  act_ = act;
  setToolTip(Text());
  setVisible(act_.acted);
  update();
}

QString TSeatActView::Text() const {
  if (!act_.acted) return {};
  if (act_.IsPass()) return tr("不要");
  QStringList ranks;
  for (std::uint8_t card : act_.cards) ranks << RankText(RankOf(card));
  return ranks.join(QLatin1Char(' '));
}

void TSeatActView::SetScale(qreal scale) {
  scale_ = scale;
  update();
}

void TSeatActView::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  if (act_.IsPass()) {
    PaintPass(p);
  } else if (act_.acted) {
    PaintCards(p);
  }
}

void TSeatActView::PaintPass(QPainter& p) {
  QFont font = UiFont(qRound(14 * scale_));
  font.setBold(true);
  p.setFont(font);
  p.setPen(QColor(150, 60, 0));
  // A narrow place beside a side seat writes it downwards.
  const QString text = fan_ == Fan::Down ? tr("不\n要") : tr("不要");
  p.drawText(rect(), Qt::AlignCenter, text);
}

void TSeatActView::PaintCards(QPainter& p) {
  const int count = static_cast<int>(act_.cards.size());
  qreal h = std::min(kMiniHeight * scale_, static_cast<qreal>(height()));
  qreal w = h * kMiniAspect;
  if (w > width()) {
    w = width();
    h = w / kMiniAspect;
  }
  if (fan_ == Fan::Down) {
    const qreal step = Step(height(), h, count, h * 0.5);
    const qreal left = (width() - w) / 2;
    for (int i = 0; i < count; ++i)
      art::DrawMiniCard(p, QRectF(left, i * step, w, h), act_.cards[static_cast<std::size_t>(i)]);
    return;
  }
  // Across: as few rows as let every card show its rank, each row lower and in front.
  const int most = std::max(1, static_cast<int>((height() - h) / (h * 0.45)) + 1);
  int rows = 1;
  while (rows < most && Step(width(), w, (count + rows - 1) / rows, w * 0.62) < w * 0.55) ++rows;
  const int perRow = (count + rows - 1) / rows;
  const qreal step = Step(width(), w, perRow, w * 0.62);
  const qreal rowStep = rows > 1 ? std::min(h * 1.05, (height() - h) / (rows - 1)) : 0;
  for (int i = 0; i < count; ++i) {
    const int row = i / perRow;
    const int col = i % perRow;
    art::DrawMiniCard(p, QRectF(col * step, row * rowStep, w, h),
                      act_.cards[static_cast<std::size_t>(i)]);
  }
}

TCardCounter::TCardCounter(QWidget* parent) : QWidget(parent) {
  setToolTip(tr("记牌器：每种牌还有几张没见过（两副牌，减去自己的牌和出过的牌）"));
  setAttribute(Qt::WA_TransparentForMouseEvents, false);
}

void TCardCounter::ShowTally(const RankTally& tally) {
  if (tally == tally_) return;
  tally_ = tally;
  update();
}

void TCardCounter::SetScale(qreal scale) {
  scale_ = scale;
  update();
}

void TCardCounter::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setPen(QColor(120, 120, 120));
  p.setBrush(QColor(255, 252, 235));
  p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3 * scale_, 3 * scale_);
  // Two rows of eight: 3 .. 10, then J .. 2 and the two jokers; rank above its count.
  const qreal cellW = width() / static_cast<qreal>(kCounterColumns);
  const qreal lineH = height() / 4.0;
  QFont rankFont = UiFont(std::max(6, qRound(10 * scale_)));
  QFont countFont = rankFont;
  countFont.setBold(true);
  for (int rank = 1; rank <= kMaxRank; ++rank) {
    const int index = rank - 1;
    const int column = index % kCounterColumns;
    const int row = index / kCounterColumns;
    const qreal x = column * cellW;
    const qreal y = row * 2 * lineH;
    QString label = RankText(rank);
    if (rank == kRankSmallJoker) label = tr("小");
    if (rank == kRankBigJoker) label = tr("大");
    p.setFont(rankFont);
    p.setPen(QColor(60, 60, 60));
    art::DrawFittedText(p, QRectF(x, y, cellW, lineH), label, Qt::AlignCenter);
    const int left = tally_[static_cast<std::size_t>(rank)];
    p.setFont(countFont);
    p.setPen(left == 0 ? QColor(180, 180, 180) : QColor(0, 70, 190));
    art::DrawFittedText(p, QRectF(x, y + lineH, cellW, lineH), QString::number(left),
                        Qt::AlignCenter);
  }
}

}  // namespace quarn::client
