#include "core/thandpoker.h"

#include "core/card_error.h"
#include "core/tselectpoker.h"

namespace quarn {
namespace {

const TPoker kNoCard{};

bool InRange(int i) {
  return i >= 0 && i < THandPoker::kSlots;
}

}  // namespace

const TPoker& THandPoker::Card(int i) const {
  return InRange(i) ? cards_[i] : kNoCard;
}

int THandPoker::Insert(const TPoker& card) {
  if (!card.IsPresent()) return -1;
  if (count_ >= kSlots) {
    ReportCardError(kCardErrHandFull);
    return -1;
  }
  // Walk to the first empty slot or the first larger number; equal numbers
  // do not stop the walk, so a new card goes after its twins.
  int place = -1;
  for (int i = 0; i < kSlots; ++i) {
    if (!cards_[i].IsPresent()) {
      cards_[i].Assign(card);
      ++count_;
      return i;
    }
    if (cards_[i].Number() > card.Number()) {
      place = i;
      break;
    }
  }
  int empty = -1;
  for (int e = place + 1; e < kSlots && place >= 0; ++e) {
    if (!cards_[e].IsPresent()) {
      empty = e;
      break;
    }
  }
  if (empty < 0) {
    ReportCardError(kCardErrNoRoom);
    return -1;
  }
  // Make room: the cards of place..empty-1 move one slot up, marks with them.
  for (int k = empty - 1; k >= place; --k) {
    cards_[k + 1] = cards_[k];
    selected_[k + 1] = selected_[k];
  }
  cards_[place].Assign(card);
  selected_[place] = false;
  ++count_;
  return place;
}

bool THandPoker::AddCards(std::span<const std::uint8_t> bytes) {
  if (bytes.data() == nullptr) return false;
  TPoker work;
  for (const std::uint8_t byte : bytes) {
    if (!IsValidCard(byte)) continue;
    work.SetCard(byte);
    Insert(work);
  }
  return true;
}

bool THandPoker::Select(int i) {
  if (!InRange(i) || !cards_[i].IsPresent() || selected_[i]) return false;
  selected_[i] = true;
  ++selectedCount_;
  return true;
}

bool THandPoker::Unselect(int i) {
  if (!InRange(i) || !selected_[i]) return false;
  selected_[i] = false;
  --selectedCount_;
  return true;
}

void THandPoker::ClearSelection() {
  selected_.fill(false);
  selectedCount_ = 0;
}

void THandPoker::RemoveSelected() {
  for (int i = 0; i < kSlots; ++i) {
    if (!selected_[i]) continue;
    cards_[i].Clear();
    selected_[i] = false;
    --count_;
  }
  selectedCount_ = 0;
}

void THandPoker::Clear() {
  cards_.fill(TPoker{});
  count_ = 0;
  ClearSelection();
}

int THandPoker::SelectMatching(const TSelectPoker& set) {
  ClearSelection();
  for (int i = 0; i < TSelectPoker::kSlots; ++i) {
    const TPoker& wanted = set.Card(i);
    if (!wanted.IsPresent()) continue;
    int match = -1;
    for (int j = 0; j < kSlots && match < 0; ++j) {
      if (!selected_[j] && cards_[j].IsPresent() && cards_[j].Number() == wanted.Number())
        match = j;
    }
    if (match < 0) {
      // A play the hand cannot cover leaves no half-made selection behind.
      ClearSelection();
      return 0;
    }
    Select(match);
  }
  return selectedCount_;
}

}  // namespace quarn
