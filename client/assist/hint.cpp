#include "client/assist/hint.h"

#include <algorithm>

#include "ai/candidates.h"
#include "client/assist/seat_knowledge_of.h"
#include "client/model/client_sending.h"

namespace quarn::client {

std::optional<ai::PlannedPlay> HintCycle::Next(const TClientTable& table) {
  const ai::SeatKnowledge known = SeatKnowledgeOf(table);
  const Situation now{known.hand, known.ToBeat(), known.history.size()};
  if (situation_ != now) {
    situation_ = now;
    next_ = 0;
    plays_.clear();
    ai::Budget budget = budget_;
    budget.seed += now.seen;  // the same situation gives the same first answer
    if (std::optional<ai::PlannedPlay> choice = ai::DecidePlay(known, level_, budget))
      plays_.push_back(*choice);
    for (const ai::PlannedPlay& play : ai::PlaysThatBeat(known.hand, now.toBeat)) {
      if (plays_.empty() || play.cards != plays_.front().cards) plays_.push_back(play);
    }
  }
  if (plays_.empty()) return std::nullopt;
  const ai::PlannedPlay& play = plays_[next_];
  next_ = (next_ + 1) % plays_.size();
  return play;
}

}  // namespace quarn::client
