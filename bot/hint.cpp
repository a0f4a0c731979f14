#include "bot/hint.h"

#include <algorithm>

#include "bot/client_seat_view.h"
#include "bot/play/candidates.h"
#include "client/model/client_sending.h"

namespace quarn::bot {

std::optional<PlannedPlay> HintCycle::Next(const client::TClientTable& table) {
  const SeatView view = SeatViewOf(table);
  const Situation now{view.hand, view.ToBeat(), view.history.size()};
  if (situation_ != now) {
    situation_ = now;
    next_ = 0;
    plays_.clear();
    Budget budget = budget_;
    budget.seed += now.seen;  // the same situation gives the same first answer
    if (std::optional<PlannedPlay> choice = DecidePlay(view, level_, budget))
      plays_.push_back(*choice);
    for (PlannedPlay& play : PlaysThatBeat(view.hand, now.toBeat)) {
      if (plays_.empty() || play.cards != plays_.front().cards) plays_.push_back(std::move(play));
    }
  }
  if (plays_.empty()) return std::nullopt;
  const PlannedPlay& play = plays_[next_];
  next_ = (next_ + 1) % plays_.size();
  return play;
}

}  // namespace quarn::bot
