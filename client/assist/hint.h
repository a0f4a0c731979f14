// The table window's hint (提示): for one situation at the table, first the
// computer player's choice, then every other play that beats the table,
// weakest first, each once, and round again. Leading, the computer's lead
// comes first and then every legal lead.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <vector>

#include "ai/decide.h"
#include "client/model/table_state.h"

namespace quarn::client {

// A person waits for the hint: the search gets a short think.
inline constexpr ai::Budget kHintBudget{std::chrono::milliseconds(30), 0, 0};

class HintCycle {
 public:
  explicit HintCycle(ai::Level level = ai::Level::Strong, ai::Budget budget = kHintBudget)
      : level_(level), budget_(budget) {}

  // The play this press suggests; none when nothing in the hand beats the
  // table. A new hand, table or play starts the cycle over. The window selects
  // it with SelectPlay.
  std::optional<ai::PlannedPlay> Next(const TClientTable& table);

 private:
  struct Situation {
    RankCounts hand{};
    Combination toBeat;
    std::size_t seen = 0;  // plays and passes so far
    friend bool operator==(const Situation&, const Situation&) = default;
  };

  ai::Level level_;
  ai::Budget budget_;
  std::optional<Situation> situation_;
  std::vector<ai::PlannedPlay> plays_;
  std::size_t next_ = 0;
};

}  // namespace quarn::client
