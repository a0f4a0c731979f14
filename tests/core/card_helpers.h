// Helpers for the card core tests: cards and sets named by rank value, and a
// capture of card error reports.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "core/card_error.h"
#include "core/tselectpoker.h"

namespace quarn::testing {

inline TPoker CardOf(int n) {
  TPoker card;
  card.SetCard(n);
  return card;
}

// Card numbers for the given rank values: the n-th card of a rank takes the
// n-th of its eight numbers (four suits of the first deck, then the second).
inline std::vector<std::uint8_t> NumbersOfRanks(std::span<const int> ranks) {
  std::array<int, 16> used{};
  std::vector<std::uint8_t> numbers;
  for (const int rank : ranks) {
    const int n = used[rank]++;
    const int number =
        rank <= 13 ? 4 * (rank - 1) + 1 + n % 4 + (n / 4) * 54 : (rank == 14 ? 53 : 54) + n * 54;
    numbers.push_back(static_cast<std::uint8_t>(number));
  }
  return numbers;
}

inline std::vector<std::uint8_t> NumbersOfRanks(std::initializer_list<int> ranks) {
  return NumbersOfRanks(std::span(ranks.begin(), ranks.size()));
}

inline TSelectPoker SelectionOf(const std::vector<std::uint8_t>& numbers) {
  std::array<std::uint8_t, 33> bytes{};
  for (std::size_t i = 0; i < numbers.size() && i < bytes.size(); ++i) bytes[i] = numbers[i];
  TSelectPoker set;
  set.LoadBytes(bytes);
  return set;
}

inline TSelectPoker SelectionOfRanks(std::initializer_list<int> ranks) {
  return SelectionOf(NumbersOfRanks(ranks));
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
