// Card numbers, their faces, and the card record every hand and selection holds.
//
// A card number is one byte: 0 = no card, 1..108 = a card of the two decks
// (n and n + 54 are the same face), anything else invalid. Within a deck
// 1..52 are the ranks 3 to 2 in four suits (four consecutive numbers per
// rank), 53 the small joker and 54 the big joker.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quarn {

inline constexpr int kDeckSize = 54;
inline constexpr int kTwoDecks = 108;

// Rank values double as strengths: 1 = "3" ... 12 = "A", 13 = "2",
// 14 = small joker, 15 = big joker; 0 = no card.
inline constexpr int kRankSmallJoker = 14;
inline constexpr int kRankBigJoker = 15;
inline constexpr int kMaxRank = 15;

inline constexpr int kSuitJoker = 4;
inline constexpr int kSuitNone = 5;

constexpr bool IsValidCard(int n) {
  return n >= 1 && n <= kTwoDecks;
}

// 1..108 folded to 1..54; 0 for an invalid number.
constexpr int FoldCard(int n) {
  if (!IsValidCard(n)) return 0;
  return n > kDeckSize ? n - kDeckSize : n;
}

// 0..3 for the suits, 4 for a joker, 5 for anything that is no card.
constexpr int SuitOf(int n) {
  const int m = FoldCard(n);
  if (m == 0) return kSuitNone;
  if (m > 52) return kSuitJoker;
  return (m - 1) % 4;
}

// 1..15, or 0 for anything that is no card.
constexpr int RankOf(int n) {
  const int m = FoldCard(n);
  if (m == 0) return 0;
  if (m == 53) return kRankSmallJoker;
  if (m == 54) return kRankBigJoker;
  return (m - 1) / 4 + 1;
}

// "3" .. "2", "小王", "大王"; "?" for 0 or anything out of range.
std::string_view RankName(int rank);
// "方块" "梅花" "红心" "黑桃"; empty for a joker (4) and for anything else.
std::string_view SuitName(int suit);

// Name of the card's face bitmap: "CARD_2" .. "CARD_55" for a valid number,
// "CARD_1" (which has no bitmap) for anything else.
std::string CardResName(int n);

// One card record. Holds a card exactly when its rank value is not 0.
// Names are derived from the number and live in static tables, so copies
// never share or lose text.
class TPoker {
 public:
  // Fills the record from a card number 1..108; any other number leaves it unchanged.
  void SetCard(int n);
  void Assign(const TPoker& other) { *this = other; }
  void Clear() { *this = TPoker{}; }
  bool IsPresent() const { return rank_ != 0; }

  int Number() const { return number_; }  // folded 1..54, or 0
  int Rank() const { return rank_; }      // 0..15
  int Suit() const { return suit_; }      // 0..5
  // Display name, e.g. "黑桃10", "方块3", "小王"; empty for an empty record.
  std::string_view Name() const;
  // Face bitmap name, e.g. "CARD_2"; empty for an empty record.
  std::string_view ResName() const;

  friend bool operator==(const TPoker&, const TPoker&) = default;

 private:
  std::int32_t number_ = 0;
  std::uint8_t rank_ = 0;
  std::uint8_t suit_ = kSuitNone;
};

}  // namespace quarn
