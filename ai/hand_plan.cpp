#include "ai/hand_plan.h"

#include <algorithm>
#include <numeric>

namespace quarn::ai {
namespace {

// Runs of pairs and triples use the ranks 3 to 2; the jokers never join a run.
constexpr int kLowestRank = 1;
constexpr int kHighestRunRank = 13;
constexpr int kMaxPlaneTriples = 6;
constexpr int kMaxMissleTriples = 11;
constexpr int kMinPairRun = 3;
constexpr int kMaxPairRun = 13;

PlannedPlay Make(const RankCounts& cards) {
  return {cards, ClassifyCounts(cards, CardTotal(cards))};
}

// Moves `width` cards of each rank in [low, high] from `rest` into a play.
RankCounts TakeRun(RankCounts& rest, int low, int high, int width) {
  RankCounts taken{};
  for (int r = low; r <= high; ++r) {
    taken[r] = static_cast<std::uint8_t>(width);
    rest[r] = static_cast<std::uint8_t>(rest[r] - width);
  }
  return taken;
}

// Calls `each(low, high)` for every maximal run of ranks holding exactly `width`.
template <typename Each>
void ForEachRun(const RankCounts& rest, int width, Each each) {
  int r = kLowestRank;
  while (r <= kHighestRunRank) {
    if (rest[r] != width) {
      ++r;
      continue;
    }
    int high = r;
    while (high + 1 <= kHighestRunRank && rest[high + 1] == width) ++high;
    each(r, high);
    r = high + 1;
  }
}

void TakeBombs(RankCounts& rest, std::vector<PlannedPlay>& plan) {
  if (rest[kRankSmallJoker] == 2 && rest[kRankBigJoker] == 2) {
    RankCounts kings{};
    kings[kRankSmallJoker] = kings[kRankBigJoker] = 2;
    rest[kRankSmallJoker] = rest[kRankBigJoker] = 0;
    plan.push_back(Make(kings));
  }
  for (int r = kLowestRank; r <= kHighestRunRank; ++r) {
    if (rest[r] < 4) continue;
    RankCounts bomb{};
    bomb[r] = rest[r];
    rest[r] = 0;
    plan.push_back(Make(bomb));
  }
}

// Pairs of the ranks 3..2 left after the runs of pairs, lowest first: the
// cheapest to carry along on a plane (a plane may not carry the jokers).
std::vector<int> SparePairs(const RankCounts& rest) {
  std::vector<int> pairs;
  for (int r = kLowestRank; r <= kHighestRunRank; ++r) {
    if (rest[r] == 2) pairs.push_back(r);
  }
  return pairs;
}

void TakeTripleRuns(RankCounts& rest, std::vector<PlannedPlay>& plan) {
  std::vector<std::pair<int, int>> runs;
  ForEachRun(rest, 3, [&](int low, int high) {
    for (int start = low; start <= high; start += kMaxMissleTriples) {
      runs.emplace_back(start, std::min(high, start + kMaxMissleTriples - 1));
    }
  });
  for (auto [low, high] : runs) {
    RankCounts play = TakeRun(rest, low, high, 3);
    int triples = high - low + 1;
    std::vector<int> pairs = SparePairs(rest);
    if (triples <= kMaxPlaneTriples && static_cast<int>(pairs.size()) >= triples) {
      for (int i = 0; i < triples; ++i) {
        play[pairs[i]] = 2;
        rest[pairs[i]] = 0;
      }
    }
    plan.push_back(Make(play));
  }
}

void TakePairRuns(RankCounts& rest, std::vector<PlannedPlay>& plan) {
  std::vector<std::pair<int, int>> runs;
  ForEachRun(rest, 2, [&](int low, int high) {
    if (high - low + 1 >= kMinPairRun)
      runs.emplace_back(low, std::min(high, low + kMaxPairRun - 1));
  });
  for (auto [low, high] : runs) plan.push_back(Make(TakeRun(rest, low, high, 2)));
}

void TakeLeftovers(RankCounts& rest, std::vector<PlannedPlay>& plan) {
  for (int r = kLowestRank; r <= kMaxRank; ++r) {
    if (rest[r] == 0) continue;
    RankCounts play{};
    play[r] = rest[r];
    rest[r] = 0;
    plan.push_back(Make(play));
  }
}

}  // namespace

int CardTotal(const RankCounts& counts) {
  return std::accumulate(counts.begin(), counts.end(), 0);
}

bool IsBomb(const Combination& combo) {
  return combo.type == CombinationType::Bomb || combo.type == CombinationType::KingBomb;
}

std::vector<PlannedPlay> SplitHand(const RankCounts& hand) {
  RankCounts rest = hand;
  std::vector<PlannedPlay> plan;
  TakeBombs(rest, plan);
  TakePairRuns(rest, plan);
  TakeTripleRuns(rest, plan);
  TakeLeftovers(rest, plan);
  return plan;
}

bool CheaperBomb(const PlannedPlay& a, const PlannedPlay& b) {
  // A bomb beats another exactly when it is dearer, so "cheaper" is "beaten by".
  return Beats(b.combo, a.combo);
}

}  // namespace quarn::ai
