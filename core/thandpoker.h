// A player's hand: up to 33 cards kept in ascending card number, each slot
// with a selection mark.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "core/name_grid.h"
#include "core/tpoker.h"

namespace quarn {

class TSelectPoker;

class THandPoker {
 public:
  static constexpr int kSlots = kMaxCards;

  // Slot i's record; an empty record for i outside 0..32.
  const TPoker& Card(int i) const;
  std::span<const TPoker, kSlots> Cards() const { return cards_; }
  int Count() const { return count_; }
  int SelectedCount() const { return selectedCount_; }
  bool IsSelected(int i) const { return i >= 0 && i < kSlots && selected_[i]; }

  // Copies `card` into its sorted place (after the cards of the same number)
  // and returns the slot, or -1: a full hand reports code 13, no free slot
  // behind the place reports code 14; an empty record is refused silently.
  int Insert(const TPoker& card);
  // Inserts every valid card number (1..108) among `bytes`; other bytes are
  // skipped. False only when bytes has no storage.
  bool AddCards(std::span<const std::uint8_t> bytes);

  // Marks a held, unmarked slot; false otherwise.
  bool Select(int i);
  // Clears a set mark; false otherwise.
  bool Unselect(int i);
  void ClearSelection();
  // Empties every marked slot where it stands; nothing moves.
  void RemoveSelected();
  void Clear();

  // Marks, for every card of `set`, the first unmarked slot of the same face.
  // Returns the number marked, or 0 (and no marks) when a card of the set is
  // not in the hand.
  int SelectMatching(const TSelectPoker& set);

 private:
  std::array<TPoker, kSlots> cards_{};
  std::int32_t count_ = 0;
  std::array<bool, kSlots> selected_{};
  std::int32_t selectedCount_ = 0;
};

}  // namespace quarn
