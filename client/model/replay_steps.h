// A stored game as steps to go forward and back through: the deal, each bid,
// each move. Each step gives what the table showed at that moment: the four
// hands, what each seat did last in the current round and, at the end, the
// scores. Plain C++, for the window and the page alike.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/game_record.h"

namespace quarn::client {

enum class ReplayPhase : std::uint8_t { Deal, Bidding, Playing, Finished };

struct ReplayFrame {
  ReplayPhase phase = ReplayPhase::Deal;
  // Card numbers folded to 1..54, low ranks first.
  std::array<std::vector<std::uint8_t>, store::kSeats> hands;
  // What each seat did last this round: none yet, a pass (no cards) or cards.
  std::array<std::optional<std::vector<std::uint8_t>>, store::kSeats> lastPlay;
  int actor = -1;       // the seat that acted in this step; -1 at the deal
  int landlord = -1;    // known once the bidding is over
  std::string caption;  // UTF-8, e.g. "东 出 黑桃3" or "北 叫 10 分"
};

class ReplaySteps {
 public:
  explicit ReplaySteps(store::GameRecord game);

  // The deal, every bid, every move: 1 + bids + moves.
  std::size_t Count() const { return 1 + game_.bids.size() + game_.moves.size(); }
  // The table at `step` (clamped to the last).
  ReplayFrame At(std::size_t step) const;
  const store::GameRecord& Game() const { return game_; }

 private:
  void Bidding(std::size_t bids, ReplayFrame& frame) const;
  void Playing(std::size_t moves, ReplayFrame& frame) const;

  store::GameRecord game_;
};

// "东[name]" in UTF-8 for the seat of a stored game.
std::string SeatLabel(const store::GameRecord& game, int seat);

}  // namespace quarn::client
