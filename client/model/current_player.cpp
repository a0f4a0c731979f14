#include "client/model/current_player.h"

#include "core/card_error.h"

namespace quarn::client {

namespace {
bool InHand(int slot) {
  return slot >= 0 && slot < kHandSlots;
}
}  // namespace

bool TCurrentPlayer::IsRaised(int slot) const {
  return InHand(slot) && raised_[static_cast<std::size_t>(slot)];
}

void TCurrentPlayer::SetRaised(int slot, bool raised) {
  raised_[static_cast<std::size_t>(slot)] = raised;
  if (View()) View()->RaiseHandCard(slot, raised);
}

void TCurrentPlayer::LowerAll() {
  for (int slot = 0; slot < kHandSlots; ++slot) {
    if (IsRaised(slot)) SetRaised(slot, false);
  }
}

void TCurrentPlayer::RedrawCard(int slot) {
  if (!InHand(slot) || !View()) return;
  View()->ShowHandCard(slot, static_cast<std::uint8_t>(Hand.Card(slot).Number()));
}

void TCurrentPlayer::RedrawCardsFrom(int slot) {
  if (!InHand(slot)) slot = 0;
  for (; slot < kHandSlots; ++slot) RedrawCard(slot);
}

void TCurrentPlayer::ClearHand() {
  Hand.Clear();
  // A selection left over from the last hand would name cards no longer held.
  Selection.Clear();
  LowerAll();
  SetCardCount(Hand.Count());
  RedrawCards();
}

int TCurrentPlayer::TakeCards(std::span<const std::uint8_t> cards) {
  if (cards.data() == nullptr) return 1;
  Hand.AddCards(cards);
  // The cards that made room took their marks along; the selection and the
  // raised images follow them, or a play would send other cards than it removes.
  Selection.ClearCards();
  for (int slot = 0; slot < kHandSlots; ++slot) {
    const bool marked = Hand.IsSelected(slot);
    if (marked) Selection.SetCardAt(slot, Hand.Card(slot));
    if (IsRaised(slot) != marked) SetRaised(slot, marked);
  }
  SetCardCount(Hand.Count());
  RedrawCards();
  return 0;
}

int TCurrentPlayer::ToggleCard(int slot) {
  if (!InHand(slot)) {
    ReportCardError(kCardErrImageIndex);
    return 1;
  }
  // An empty slot's image is hidden; there is nothing to raise.
  if (!Hand.Card(slot).IsPresent() && !IsRaised(slot)) return 1;
  if (Hand.Select(slot)) {
    Selection.SetCardAt(slot, Hand.Card(slot));
  } else {
    Hand.Unselect(slot);
    Selection.RemoveAt(slot);
  }
  SetRaised(slot, !IsRaised(slot));
  return 0;
}

void TCurrentPlayer::CancelSelection() {
  Hand.ClearSelection();
  Selection.ClearCards();
  LowerAll();
}

bool TCurrentPlayer::SelectRanks(const RankCounts& ranks) {
  CancelSelection();
  RankCounts need = ranks;
  int missing = 0;
  for (const std::uint8_t n : need) missing += n;
  for (int slot = 0; slot < kHandSlots && missing > 0; ++slot) {
    std::uint8_t& wanted = need[static_cast<std::size_t>(Hand.Card(slot).Rank())];
    if (Hand.Card(slot).Rank() == 0 || wanted == 0) continue;
    ToggleCard(slot);
    --wanted;
    --missing;
  }
  if (missing == 0) return true;
  CancelSelection();
  return false;
}

bool TCurrentPlayer::CanPlay(const TSelectPoker* table) {
  if (Selection.Classify() == 0) return false;
  if (table == nullptr) return true;
  return Selection.Beats(*table);
}

void TCurrentPlayer::RemovePlayed() {
  Hand.RemoveSelected();
  Selection.Clear();
  SetCardCount(Hand.Count());
  LowerAll();
  int firstEmpty = 0;
  while (firstEmpty < kHandSlots && Hand.Card(firstEmpty).IsPresent()) ++firstEmpty;
  RedrawCardsFrom(firstEmpty);
}

}  // namespace quarn::client
