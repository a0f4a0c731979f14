#include "client/ui/frmreplay_paint.h"

#include <QCoreApplication>
#include <QString>
#include <array>

#include "client/ui/artwork.h"
#include "client/ui/uifont.h"

namespace quarn::client {

namespace {

constexpr int kCardWidth = 43;
constexpr int kCardHeight = 58;
constexpr int kAcross = 17;  // one card's visible width in a hand laid across
constexpr int kDown = 11;    // and in a hand laid down the side
constexpr int kPlayStep = 15;
constexpr int kSideMargin = 20;
constexpr int kPlayInset = 80;

// Where a seat sits as seen from the bottom seat: 0 bottom, 1 right, 2 top, 3 left.
enum Place : std::uint8_t { Bottom, Right, Top, Left };

Place PlaceOf(int seat, int ownSeat) {
  return static_cast<Place>((seat - ownSeat + store::kSeats) % store::kSeats);
}

int RowWidth(std::size_t cards, int step) {
  return cards == 0 ? 0 : static_cast<int>(cards - 1) * step + kCardWidth;
}

// The faces are drawn at full size for the screen and shrunk into place: the
// artwork draws nothing smaller than its own size.
void DrawCards(QPainter& painter, const std::vector<std::uint8_t>& cards, QPoint at, QPoint step) {
  for (const std::uint8_t card : cards) {
    painter.drawPixmap(QRect(at, QSize(kCardWidth, kCardHeight)), LoadCardBitmap(card));
    at += step;
  }
}

void DrawHand(QPainter& painter, const std::vector<std::uint8_t>& hand, Place place) {
  const int across = (kReplayWidth - RowWidth(hand.size(), kAcross)) / 2;
  switch (place) {
    case Bottom:
      return DrawCards(painter, hand, {across, 470}, {kAcross, 0});
    case Top:
      return DrawCards(painter, hand, {across, 40}, {kAcross, 0});
    case Left:
      return DrawCards(painter, hand, {kSideMargin, 110}, {0, kDown});
    case Right:
      return DrawCards(painter, hand, {kReplayWidth - kSideMargin - kCardWidth, 110}, {0, kDown});
  }
}

// The place of a seat's last play: its top-left for a row of `width`.
QPoint PlayAt(Place place, int width) {
  switch (place) {
    case Bottom:
      return {(kReplayWidth - width) / 2, 380};
    case Top:
      return {(kReplayWidth - width) / 2, 125};
    case Left:
      return {kPlayInset, 250};
    case Right:
      return {kReplayWidth - kPlayInset - width, 250};
  }
  return {};
}

void DrawPlay(QPainter& painter, const std::vector<std::uint8_t>& play, Place place) {
  if (!play.empty()) {
    DrawCards(painter, play, PlayAt(place, RowWidth(play.size(), kPlayStep)), {kPlayStep, 0});
    return;
  }
  const QRect box(PlayAt(place, kCardWidth * 2), QSize(kCardWidth * 2, kCardHeight));
  painter.drawText(box, Qt::AlignCenter, QCoreApplication::translate("TFormReplay", "不出"));
}

QRect NameBox(Place place) {
  switch (place) {
    case Bottom:
      return {0, 446, kReplayWidth, 22};
    case Top:
      return {0, 14, kReplayWidth, 22};
    case Left:
      return {kSideMargin, 84, 300, 22};
    case Right:
      return {kReplayWidth - kSideMargin - 300, 84, 300, 22};
  }
  return {};
}

QString NameLine(const ReplayFrame& frame, const store::GameRecord& game, int seat) {
  QString line = QString::fromStdString(SeatLabel(game, seat));
  if (seat == frame.landlord) line += QCoreApplication::translate("TFormReplay", " 地主");
  if (frame.phase == ReplayPhase::Finished) {
    const std::int64_t change = game.scoreChange.at(static_cast<std::size_t>(seat));
    line += QStringLiteral("  %1%2").arg(change > 0 ? "+" : "").arg(change);
  }
  return line;
}

}  // namespace

void PaintReplayFrame(QPainter& painter, const ReplayFrame& frame, const store::GameRecord& game,
                      int ownSeat) {
  painter.fillRect(0, 0, kReplayWidth, kReplayTableHeight, QColor(24, 96, 64));
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.setFont(UiFont(14));
  for (int seat = 0; seat < store::kSeats; ++seat) {
    const Place place = PlaceOf(seat, ownSeat);
    const auto index = static_cast<std::size_t>(seat);
    painter.setPen(seat == frame.actor ? QColor(255, 220, 90) : QColor(Qt::white));
    const Qt::Alignment align = place == Left    ? Qt::AlignLeft
                                : place == Right ? Qt::AlignRight
                                                 : Qt::AlignHCenter;
    painter.drawText(NameBox(place), static_cast<int>(align | Qt::AlignVCenter),
                     NameLine(frame, game, seat));
    DrawHand(painter, frame.hands.at(index), place);
    painter.setPen(Qt::white);
    if (frame.lastPlay.at(index)) DrawPlay(painter, *frame.lastPlay.at(index), place);
  }
}

}  // namespace quarn::client
