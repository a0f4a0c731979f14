#include "core/tpoker.h"

#include <array>
#include <string>

namespace quarn {
namespace {

constexpr std::array<std::string_view, kMaxRank + 1> kRankNames = {
    "?", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K", "A", "2", "小王", "大王"};

constexpr std::array<std::string_view, 5> kSuitNames = {"方块", "梅花", "红心", "黑桃", ""};

// Display and bitmap names of the folded numbers 0..54, built once; index 0
// (an empty record) has empty names.
struct NameTables {
  std::array<std::string, kDeckSize + 1> display;
  std::array<std::string, kDeckSize + 1> resource;
  NameTables() {
    for (int m = 1; m <= kDeckSize; ++m) {
      display[m] = std::string(SuitName(SuitOf(m))) + std::string(RankName(RankOf(m)));
      resource[m] = CardResName(m);
    }
  }
};

const NameTables& Names() {
  static const NameTables tables;
  return tables;
}

}  // namespace

std::string_view RankName(int rank) {
  if (rank < 0 || rank > kMaxRank) return kRankNames[0];
  return kRankNames[rank];
}

std::string_view SuitName(int suit) {
  if (suit < 0 || suit >= static_cast<int>(kSuitNames.size())) return {};
  return kSuitNames[suit];
}

std::string CardResName(int n) {
  return "CARD_" + std::to_string(FoldCard(n) + 1);
}

void TPoker::SetCard(int n) {
  if (!IsValidCard(n)) return;
  number_ = FoldCard(n);
  rank_ = static_cast<std::uint8_t>(RankOf(n));
  suit_ = static_cast<std::uint8_t>(SuitOf(n));
}

std::string_view TPoker::Name() const {
  return Names().display[number_];
}

std::string_view TPoker::ResName() const {
  return Names().resource[number_];
}

}  // namespace quarn
