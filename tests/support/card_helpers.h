// Helpers for the card core tests: cards and sets named by their ranks, and a
// capture of card error reports.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/card_error.h"
#include "core/tselectpoker.h"

namespace quarn::testing {

inline TPoker CardOf(int n) {
  TPoker card;
  card.SetCard(n);
  return card;
}

// Card numbers for ranks written one character each: '1'..'9', 'a'..'d' for
// 10..13, 'j' and 'k' for the small and big joker. The n-th card of a rank
// takes the n-th of its numbers (four suits of one deck, then the other, then
// again from the first), so a set may hold more of a rank than two decks do.
inline std::vector<std::uint8_t> Cards(std::string_view ranks) {
  std::array<int, 16> used{};
  std::vector<std::uint8_t> numbers;
  for (const char ch : ranks) {
    const int rank = ch <= '9' ? ch - '0' : ch == 'j' ? 14 : ch == 'k' ? 15 : ch - 'a' + 10;
    const int n = used[rank]++;
    const int number = rank <= 13 ? 4 * (rank - 1) + 1 + n % 4 + (n / 4 % 2) * 54
                                  : (rank == 14 ? 53 : 54) + n % 2 * 54;
    numbers.push_back(static_cast<std::uint8_t>(number));
  }
  return numbers;
}

inline TSelectPoker SelectionOf(const std::vector<std::uint8_t>& numbers) {
  std::array<std::uint8_t, 33> bytes{};
  for (std::size_t i = 0; i < numbers.size() && i < bytes.size(); ++i) bytes[i] = numbers[i];
  TSelectPoker set;
  set.LoadBytes(bytes);
  return set;
}

// Collects every report's text while alive; restores the previous sink after.
class CapturedReports {
 public:
  CapturedReports()
      : previous_(SetCardErrorSink([this](std::string_view text) { texts.emplace_back(text); })) {}
  ~CapturedReports() { SetCardErrorSink(previous_); }
  CapturedReports(const CapturedReports&) = delete;
  CapturedReports& operator=(const CapturedReports&) = delete;

  std::vector<std::string> texts;

 private:
  CardErrorSink previous_;
};

}  // namespace quarn::testing
