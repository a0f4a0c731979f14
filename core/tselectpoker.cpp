#include "core/tselectpoker.h"

namespace quarn {
namespace {

const TPoker kNoCard{};

bool InRange(int i) {
  return i >= 0 && i < TSelectPoker::kSlots;
}

}  // namespace

const TPoker& TSelectPoker::Card(int i) const {
  return InRange(i) ? cards_[i] : kNoCard;
}

bool TSelectPoker::SetCardAt(int i, const TPoker& card) {
  // An empty record would count as a card without being one.
  if (!InRange(i) || cards_[i].IsPresent() || !card.IsPresent()) return false;
  cards_[i].Assign(card);
  ++count_;
  return true;
}

bool TSelectPoker::RemoveAt(int i) {
  if (!InRange(i) || !cards_[i].IsPresent()) return false;
  cards_[i].Clear();
  --count_;
  return true;
}

bool TSelectPoker::LoadBytes(std::span<const std::uint8_t> bytes) {
  if (bytes.data() == nullptr) return false;
  Clear();
  const std::size_t places = std::min<std::size_t>(bytes.size(), kSlots);
  for (std::size_t i = 0; i < places; ++i) {
    if (!IsValidCard(bytes[i])) continue;
    cards_[i].SetCard(bytes[i]);
    ++count_;
  }
  return true;
}

bool TSelectPoker::SaveBytes(std::span<std::uint8_t> out) const {
  if (out.size() < static_cast<std::size_t>(kSlots)) return false;
  std::size_t next = 0;
  for (const TPoker& card : cards_) {
    if (IsValidCard(card.Number())) out[next++] = static_cast<std::uint8_t>(card.Number());
  }
  std::fill(out.begin() + static_cast<std::ptrdiff_t>(next), out.begin() + kSlots, 0);
  return true;
}

void TSelectPoker::ClearCards() {
  cards_.fill(TPoker{});
  count_ = 0;
}

void TSelectPoker::Clear() {
  ClearCards();
  type_ = CombinationType::Unknown;
  key_ = 0;
}

int TSelectPoker::Classify() {
  if (!Recognize(cards_, key_, type_)) return 0;
  std::string_view typeName;
  std::string_view name;
  if (!LookupName(count_, type_, typeName, name)) return 0;
  name_.assign(name);
  return count_;
}

bool TSelectPoker::Beats(const TSelectPoker& other) const {
  return quarn::Beats(AsCombination(), other.AsCombination());
}

}  // namespace quarn
