// How long the strong player takes to decide, on the hand with the most
// plays (eleven triples, 33 cards) leading and following a plane, at the
// default budget of 200 ms, at a hint's 30 ms and at 1 ms (what a decision
// costs besides its playouts); and how many games the
// search plays out per second.
#include <benchmark/benchmark.h>

#include <chrono>

#include "ai/deal_sampler.h"
#include "ai/decide.h"
#include "ai/playout.h"
#include "ai/referee.h"
#include "ai/search.h"

namespace {

using namespace quarn;
using namespace quarn::ai;

// The landlord at seat 0 holds the triples 3 to K (as a lead, one triple
// gives way to A A 2, or the whole hand would go out at once).
SeatKnowledge ElevenTriples(bool followPlane) {
  SeatKnowledge known;
  known.seat = 0;
  known.landlord = 0;
  known.points = 10;
  for (int r = 1; r <= 11; ++r) known.hand[static_cast<std::size_t>(r)] = 3;
  if (!followPlane) {
    known.hand[11] = 0;
    known.hand[12] = 2;
    known.hand[13] = 1;
  }
  known.cardsLeft = {33, 25, 25, 25};
  if (followPlane) {
    // Seat 3 laid 444 555 with 77 88 and the two seats after it passed.
    RankCounts plane{};
    plane[2] = plane[3] = 3;
    plane[5] = plane[6] = 2;
    Record(known, {3, plane, ClassifyCounts(plane, 10)});
  }
  return known;
}

void BM_StrongDecision(benchmark::State& state) {
  const SeatKnowledge known = ElevenTriples(state.range(1) != 0);
  Budget budget;
  budget.think = std::chrono::milliseconds(state.range(0));
  double worst = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(DecidePlay(known, Level::Strong, budget));
    worst = std::max(
        worst, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                   .count());
    ++budget.seed;
  }
  state.counters["worst_ms"] = worst;
  SearchLimits limits;
  limits.deadline = std::chrono::steady_clock::now() + budget.think;
  state.counters["samples"] = Search(known, limits).samples;
}
BENCHMARK(BM_StrongDecision)
    ->ArgsProduct({{200, 30, 1}, {0, 1}})
    ->ArgNames({"think_ms", "follow"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

// Whole games played out by the fast policy from a fresh deal.
void BM_PlayOut(benchmark::State& state) {
  std::uint64_t seed = 1;
  for (auto _ : state) {
    const Deal deal = DealCards(seed++);
    FullTable game;
    game.hands = deal.hands;
    game.left = {25, 25, 25, 25};
    game.landlord = game.turn = deal.startSeat;
    for (std::size_t r = 0; r < deal.bottom.size(); ++r) {
      game.hands[static_cast<std::size_t>(deal.startSeat)][r] += deal.bottom[r];
    }
    game.left[static_cast<std::size_t>(deal.startSeat)] += 8;
    benchmark::DoNotOptimize(PlayOut(game, state.range(0) == 0 ? Policy::Fast : Policy::Basic));
  }
}
BENCHMARK(BM_PlayOut)->Arg(0)->Arg(1)->ArgNames({"basic"});

}  // namespace

BENCHMARK_MAIN();
