#include "ai/search.h"

#include <algorithm>
#include <cmath>

#include "ai/candidates.h"
#include "ai/deal_sampler.h"
#include "ai/decide.h"
#include "ai/referee.h"

namespace quarn::ai {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kBombPenalty = 1000;  // bombs are searched, but after every ordinary play
constexpr int kCostPerPiece = 10;
// Small hands offer few leads: all of them are searched then.
constexpr int kEveryLeadUpTo = 12;
constexpr int kMostWeighed = 40;

bool SameMove(const std::optional<PlannedPlay>& a, const std::optional<PlannedPlay>& b) {
  if (!a || !b) return !a && !b;
  return a->cards == b->cards;
}

// Leads of a big hand: the pieces of its plan and every width of each rank.
std::vector<PlannedPlay> LeadPool(const RankCounts& hand) {
  if (CardTotal(hand) <= kEveryLeadUpTo) return PlaysThatBeat(hand, Combination{});
  std::vector<PlannedPlay> pool = SplitHand(hand);
  for (int r = 1; r <= kMaxRank; ++r) {
    for (int width = 1; width <= std::min<int>(hand[r], 3); ++width) {
      RankCounts cards{};
      cards[r] = static_cast<std::uint8_t>(width);
      const Combination combo = ClassifyCounts(cards, width);
      if (combo.type != CombinationType::Unknown) pool.push_back({cards, combo});
    }
  }
  return pool;
}

// What a play leaves of the hand: fewer pieces to lead later is better.
int PlayCost(const RankCounts& hand, const PlannedPlay& play) {
  RankCounts rest = hand;
  for (std::size_t r = 0; r < rest.size(); ++r)
    rest[r] = static_cast<std::uint8_t>(rest[r] - play.cards[r]);
  const int pieces = static_cast<int>(SplitHand(rest).size());
  return pieces * kCostPerPiece + play.combo.key + (IsBomb(play.combo) ? kBombPenalty : 0);
}

}  // namespace

std::vector<std::optional<PlannedPlay>> SearchCandidates(const SeatKnowledge& known,
                                                         int maxCandidates) {
  std::vector<PlannedPlay> pool =
      known.MustLead() ? LeadPool(known.hand) : PlaysThatBeat(known.hand, known.ToBeat());
  const int total = CardTotal(known.hand);
  for (const PlannedPlay& play : pool) {
    if (play.combo.count == total) return {play};  // going out wins the game
  }
  std::vector<std::optional<PlannedPlay>> out;
  auto add = [&](const std::optional<PlannedPlay>& move) {
    for (const auto& kept : out) {
      if (SameMove(kept, move)) return;
    }
    out.push_back(move);
  };
  add(HeuristicPlay(known));
  if (!known.MustLead()) add(std::nullopt);

  // A hand of many triples can beat a plane in hundreds of ways; the weakest
  // few (plays come weakest first) and the bombs are worth weighing.
  std::vector<std::pair<int, std::size_t>> ranked;
  int ordinary = 0;
  for (std::size_t i = 0; i < pool.size(); ++i) {
    if (!known.MustLead() && !IsBomb(pool[i].combo) && ordinary++ >= kMostWeighed) continue;
    ranked.emplace_back(PlayCost(known.hand, pool[i]), i);
  }
  std::stable_sort(ranked.begin(), ranked.end());
  bool bomb = false;
  for (const auto& [cost, i] : ranked) {
    if (static_cast<int>(out.size()) >= maxCandidates) break;
    add(pool[i]);
    bomb = bomb || IsBomb(pool[i].combo);
  }
  // Against a play worth a bomb the cheapest one is always a candidate.
  for (const auto& [cost, i] : ranked) {
    if (bomb || known.MustLead() || !IsBomb(pool[i].combo)) continue;
    add(pool[i]);
    break;
  }
  return out;
}

SearchResult Search(const SeatKnowledge& known, const SearchLimits& limits) {
  SearchResult result;
  const std::vector<std::optional<PlannedPlay>> candidates =
      SearchCandidates(known, std::min(limits.maxCandidates, kMostCandidates));
  result.candidates = static_cast<int>(candidates.size());
  result.move = candidates.front();
  if (candidates.size() <= 1) return result;

  const bool timed = limits.samples <= 0;
  DealRandom random(limits.seed);
  std::vector<int> wins(candidates.size());
  std::vector<int> sample(candidates.size());
  std::vector<int> differ(
      candidates.size());  // deals where a move's result differs from the first's
  const int most = timed ? kMostSamples : std::min(limits.samples, kMostSamples);
  while (result.samples < most) {
    FullTable base;
    base.hands = SampleDeal(known, random);
    for (int seat = 0; seat < kSeats; ++seat) {
      base.left[static_cast<std::size_t>(seat)] =
          CardTotal(base.hands[static_cast<std::size_t>(seat)]);
    }
    base.landlord = known.landlord;
    base.turn = known.seat;
    base.table = known.table;
    base.owner = known.tableOwner;
    bool complete = true;
    for (std::size_t c = 0; c < candidates.size() && complete; ++c) {
      FullTable game = base;
      const int winner = game.Apply(candidates[c]) ? known.seat : PlayOut(game, limits.policy);
      result.capped += winner == kNoWinner;
      sample[c] = winner != kNoWinner && game.Partners(winner, known.seat) ? 1 : 0;
      complete = !timed || Clock::now() < limits.deadline;
    }
    if (!complete) break;  // a deal not played out for every move would bias the count
    for (std::size_t c = 0; c < candidates.size(); ++c) {
      wins[c] += sample[c];
      differ[c] += sample[c] != sample[0];
    }
    ++result.samples;
  }
  const auto best =
      static_cast<std::size_t>(std::max_element(wins.begin(), wins.end()) - wins.begin());
  // The heuristic's choice stands unless the best move beat it in clearly
  // more deals than the noise of the count explains (a paired test).
  const double n = result.samples;
  const double gain = wins[best] - wins[0];
  const auto differing = static_cast<double>(differ[best]);
  const double noise = std::sqrt(std::max(0.0, differing - gain * gain / std::max(1.0, n)));
  result.move = gain > limits.confidence * noise ? candidates[best] : candidates[0];
  return result;
}

}  // namespace quarn::ai
