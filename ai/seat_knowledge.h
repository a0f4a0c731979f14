// What one seat can know when it is to move: its own cards, every play and
// pass of the game so far, how many cards each seat holds, and the bottom
// cards when it is the landlord. Never another seat's hand, so a choice made
// from it is one a person in that seat could have made.
#pragma once

#include <array>
#include <vector>

#include "core/combination.h"

namespace quarn::ai {

inline constexpr int kSeats = 4;

// One play or pass of the game in play, as the whole table saw it.
struct PlayEvent {
  int seat = 0;
  RankCounts cards{};  // all zero for a pass
  Combination combo;   // count 0 for a pass

  bool IsPass() const { return combo.count == 0; }
};

struct SeatKnowledge {
  int seat = 0;      // own seat, 0..3
  int landlord = 0;  // the landlord's seat
  int points = 0;    // what the game is played for
  RankCounts hand{};
  std::array<int, kSeats> cardsLeft{};  // cards each seat still holds, own included
  RankCounts bottom{};                  // the 8 bottom cards; known to the landlord only
  // Every play and pass of this game in order. After a reconnect it may begin
  // part-way; `played` and the table below stay whole all the same.
  std::vector<PlayEvent> history;
  RankCounts played{};  // every card laid this game, by any seat
  Combination table;    // the combination lying on the table; count 0 when none
  int tableOwner = -1;  // the seat that laid it; -1 when none

  // Nothing on the table, or the own play came round again after three passes.
  bool MustLead() const { return table.count == 0 || tableOwner == seat; }
  // What a play must beat: nothing when this seat leads.
  Combination ToBeat() const { return MustLead() ? Combination{} : table; }
  bool IsLandlord() const { return seat == landlord; }
  bool Partners(int a, int b) const { return (a == landlord) == (b == landlord); }
};

// Appends a play or pass to `known` and keeps played cards, card counts, the
// own hand and the table in step with it.
void Record(SeatKnowledge& known, const PlayEvent& event);

}  // namespace quarn::ai
