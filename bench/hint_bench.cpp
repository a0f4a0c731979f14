// How long a player waits for the hint (提示): the whole first answer (the
// seat's knowledge, the computer's choice at the strong level with the hint's
// think time, every play that beats the table) and its selection in the hand.
// The hand is the one richest in moves: eleven triples 3 to K. Target: 50 ms.
#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "client/assist/hint.h"
#include "client/model/client_sending.h"

namespace {

using quarn::client::TClientTable;

// Our seat 0 holds eleven triples from `lowest`, one rank skipped after
// `skipAfter` ranks (none by default: one run, the whole hand one play);
// `laid` lies on the table from seat 2.
void SetTable(TClientTable& table, const std::vector<std::uint8_t>& laid, int skipAfter = 11) {
  table.InitTable();
  table.ArrangeSeats();
  table.GameState = quarn::client::TGameState::InPlay;
  for (int seat = 1; seat < 4; ++seat) table.PlayerAt(seat)->SetCardCount(25);
  std::vector<std::uint8_t> hand;
  for (int i = 0; i < 33; ++i) {
    const int rank = i / 3 + (i / 3 >= skipAfter ? 1 : 0);
    hand.push_back(static_cast<std::uint8_t>(rank * 4 + 1 + i % 3));
  }
  table.Me.TakeCards(hand);
  std::array<std::uint8_t, 33> bytes{};
  std::copy(laid.begin(), laid.end(), bytes.begin());
  table.TableCards.LoadBytes(bytes);
  if (!laid.empty()) table.TableCards.Classify();
  table.LeadSeat = laid.empty() ? 0 : 2;
}

void HintAnswer(benchmark::State& state, const std::vector<std::uint8_t>& laid,
                int skipAfter = 11) {
  TClientTable table;
  SetTable(table, laid, skipAfter);
  for (auto _ : state) {
    quarn::client::HintCycle hint;  // a fresh situation: the first press does all the work
    const auto play = hint.Next(table);
    if (play) benchmark::DoNotOptimize(quarn::client::SelectPlay(table, play->cards));
  }
}

void BM_HintLeading(benchmark::State& state) {
  HintAnswer(state, {});
}
BENCHMARK(BM_HintLeading)->Unit(benchmark::kMillisecond);

// 3 to 7 and 9 to A: no longer one play, so the lead is searched.
void BM_HintLeadingTwoRuns(benchmark::State& state) {
  HintAnswer(state, {}, 5);
}
BENCHMARK(BM_HintLeadingTwoRuns)->Unit(benchmark::kMillisecond);

void BM_HintFollowingAPair(benchmark::State& state) {
  HintAnswer(state, {55, 56});  // a pair of 3s from the second deck
}
BENCHMARK(BM_HintFollowingAPair)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
