// A set of up to 33 cards that is, or may become, a combination: a player's
// selection, the combination on the table, a play received from a client.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/combination.h"
#include "core/name_grid.h"
#include "core/tpoker.h"

namespace quarn {

class TSelectPoker {
 public:
  static constexpr int kSlots = kMaxCards;

  // Slot i's record; an empty record for i outside 0..32.
  const TPoker& Card(int i) const;
  std::span<const TPoker, kSlots> Cards() const { return cards_; }

  int Count() const { return count_; }
  CombinationType Type() const { return type_; }
  std::uint8_t Key() const { return key_; }
  // The combination name Classify last found (UTF-8); empty until then.
  std::string_view Name() const { return name_; }
  Combination AsCombination() const { return {type_, key_, count_}; }

  // Puts a card into an empty slot; false (nothing changed) when i is out of
  // range, the slot holds a card, or `card` is no card.
  bool SetCardAt(int i, const TPoker& card);
  // Empties a held slot; false when it holds no card.
  bool RemoveAt(int i);

  // Clear(), then fills slot i from place i of `bytes` (up to 33 places) for
  // every valid card number. False only when bytes has no storage.
  bool LoadBytes(std::span<const std::uint8_t> bytes);
  // Writes the folded numbers (1..54) of the held slots in slot order from
  // out[0], zeros after them up to place 32. False when out is shorter than 33.
  bool SaveBytes(std::span<std::uint8_t> out) const;

  // Empties the slots; type, key and name stay.
  void ClearCards();
  // Empties the slots, type and key 0; the name stays.
  void Clear();

  // Recognizes the set and looks up its name: the card count on success, 0 on
  // failure. Type and key are left as the recognizer wrote them either way;
  // the name changes only on success.
  int Classify();
  // Whether this classified set beats `other` (usually the table combination).
  bool Beats(const TSelectPoker& other) const;

  void Assign(const TSelectPoker& other) { *this = other; }

 private:
  std::array<TPoker, kSlots> cards_{};
  std::int32_t count_ = 0;
  CombinationType type_ = CombinationType::Unknown;
  std::uint8_t key_ = 0;
  std::string name_;
};

}  // namespace quarn
