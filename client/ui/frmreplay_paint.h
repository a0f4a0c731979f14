// Drawing one step of a replay: where each seat's hand, name and last play go
// on the replay window, and the cards drawn with the table's own artwork.
#pragma once

#include <QPainter>
#include <QRect>

#include "client/model/replay_steps.h"

namespace quarn::client {

inline constexpr int kReplayWidth = 860;
inline constexpr int kReplayHeight = 620;
// The table area above the caption and the buttons.
inline constexpr int kReplayTableHeight = 540;

// Draws `frame` of `game` with `ownSeat` at the bottom.
void PaintReplayFrame(QPainter& painter, const ReplayFrame& frame, const store::GameRecord& game,
                      int ownSeat);

}  // namespace quarn::client
