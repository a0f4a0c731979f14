// Hands written as text for the tests: "3 3 4 10 J Q K A 2 s B" (s, B: the
// small and the big joker), counted by rank value or as card numbers.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/combination.h"

namespace quarn::test {

// The rank values of the words of `text`, unknown words skipped.
inline std::vector<int> Ranks(const std::string& text) {
  static constexpr std::string_view kNames[] = {"",   "3", "4", "5", "6", "7", "8", "9",
                                                "10", "J", "Q", "K", "A", "2", "s", "B"};
  std::vector<int> ranks;
  std::istringstream in(text);
  std::string word;
  while (in >> word) {
    for (int r = 1; r <= kMaxRank; ++r) {
      if (word == kNames[r]) ranks.push_back(r);
    }
  }
  return ranks;
}

inline RankCounts Hand(const std::string& text) {
  RankCounts counts{};
  for (int r : Ranks(text)) ++counts[r];
  return counts;
}

// Distinct card numbers for a hand written as text ("3 3 K s B"): the
// copies of a rank are taken suit by suit, then from the second deck.
inline std::vector<std::uint8_t> Cards(const std::string& text, int firstCopy = 0) {
  std::array<int, 16> used{};
  used.fill(firstCopy);
  std::vector<std::uint8_t> cards;
  for (int r : Ranks(text)) {
    const int copy = used[r]++;
    int number = r <= 13 ? (r - 1) * 4 + copy % 4 + 1 : 52 + (r - 13);
    if (r <= 13 ? copy >= 4 : copy >= 1) number += 54;
    cards.push_back(static_cast<std::uint8_t>(number));
  }
  return cards;
}

// A random hand of `size` cards out of the two decks, by rank value.
inline RankCounts RandomHand(std::mt19937& random, int size) {
  std::array<int, 108> deck{};
  for (int i = 0; i < 108; ++i) deck[i] = i + 1;
  std::shuffle(deck.begin(), deck.end(), random);
  RankCounts counts{};
  for (int i = 0; i < size; ++i) ++counts[RankOf(deck[i])];
  return counts;
}

}  // namespace quarn::test
