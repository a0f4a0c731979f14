// The own player: a TClientPlayer with a hand, a selection and 33 card images.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "client/model/client_player.h"
#include "core/combination.h"
#include "core/thandpoker.h"
#include "core/tselectpoker.h"

namespace quarn::client {

inline constexpr int kHandSlots = 33;

class TCurrentPlayer : public TClientPlayer {
 public:
  TCurrentPlayer() = default;

  // Slot i of Selection holds the card of hand slot i while it is selected.
  THandPoker Hand;
  TSelectPoker Selection;

  bool IsRaised(int slot) const;

  // Shows hand slot i (face or nothing); a slot outside 0..32 is ignored.
  void RedrawCard(int slot);
  void RedrawCards() { RedrawCardsFrom(0); }
  // Slots from `slot` to 32; a slot outside 0..32 means from 0.
  void RedrawCardsFrom(int slot);

  // Empties the hand and the selection and lowers every card.
  void ClearHand();
  // Adds every card number 1..108 of `cards` in sorted order; others are skipped.
  // Selected cards stay selected and raised wherever the new cards push them.
  int TakeCards(std::span<const std::uint8_t> cards);
  // A click on the card image of `slot`: selects or unselects it. A slot
  // outside 0..32 reports the card core's error 15 and returns 1.
  int ToggleCard(int slot);
  // Unselects every card and lowers every image.
  void CancelSelection();
  // Selects, in place of the selection, the first cards of each rank that
  // `ranks` counts. False, with nothing selected, when the hand lacks them.
  bool SelectRanks(const RankCounts& ranks);
  // Classifies the selection; true when it is a combination that beats
  // `table` (or any combination when `table` is nullptr).
  bool CanPlay(const TSelectPoker* table);
  // Takes the selected cards out of the hand; the other cards keep their slots.
  void RemovePlayed();

 private:
  void SetRaised(int slot, bool raised);
  void LowerAll();

  std::array<bool, kHandSlots> raised_{};
};

}  // namespace quarn::client
