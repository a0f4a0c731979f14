#include "core/combination.h"

#include <array>

#include "core/card_error.h"
#include "core/name_grid.h"

namespace quarn {
namespace {

constexpr std::array<std::string_view, 8> kTypeNames = {
    "Unknown", "Single", "Rocket", "Missle", "Plane", "Bomb", "KingBomb", "BombTail"};

using RankMask = std::uint32_t;  // bit r set = rank value r

constexpr bool Has(RankMask mask, int rank) {
  return (mask >> rank) & 1u;
}

// What the upward scan of the counts found.
struct Shape {
  int singles = 0, pairs = 0, triples = 0, bombs = 0;
  int singleRank = 0, bombRank = 0;
  RankMask pairRanks = 0, tripleRanks = 0;
};

Recognition Fail(int error, std::uint8_t key = 0) {
  return {false, CombinationType::Unknown, key, error};
}

Recognition Succeed(CombinationType type, int key) {
  return {true, type, static_cast<std::uint8_t>(key), 0};
}

// The scan's checks depend on the order of ranks: a card that does not fit
// what came below it is what the error names. Returns the error code (-1 for
// a silent failure) or 0 when the set has one of the admissible shapes.
int ScanShape(const RankCounts& counts, Shape& s) {
  for (int r = 1; r <= kMaxRank; ++r) {
    const int c = counts[r];
    if (c == 0) continue;
    if (c == 1) {
      if (s.pairs > 0 || s.triples > 0 || s.singles > 0) return kCardErrSingle;
      s.singleRank = r;
      s.singles = 1;
    } else if (c == 2) {
      if (s.singles > 0 || s.bombs > 0) return kCardErrPair;
      s.pairRanks |= RankMask{1} << r;
      ++s.pairs;
    } else if (c == 3) {
      if (s.singles > 0 || s.bombs > 0) return kCardErrTriple;
      s.tripleRanks |= RankMask{1} << r;
      ++s.triples;
    } else {
      if (s.pairs > 0 || s.triples > 0 || s.bombs > 0) return -1;
      s.bombRank = r;
      s.bombs = 1;
    }
  }
  return 0;
}

Recognition RecognizePairs(const Shape& s) {
  int remaining = s.pairs;
  int key = 0;
  for (int r = 0; r <= kMaxRank; ++r) {
    if (Has(s.pairRanks, r)) {
      --remaining;
      key = r;
      continue;
    }
    if (key == 0) continue;
    // The run has ended: every pair must have been inside it.
    if (remaining != 0) return Fail(kCardErrPairRun, static_cast<std::uint8_t>(key));
    if (s.pairs > 1 && key == kRankSmallJoker) return Fail(kCardErrPairJoker, key);
    return Succeed(CombinationType::Rocket, key);
  }
  // The run reaches the big jokers.
  if (s.pairs == 2) return Succeed(CombinationType::KingBomb, kRankBigJoker);
  if (s.pairs == 1) return Succeed(CombinationType::Rocket, kRankBigJoker);
  return Fail(kCardErrPairJoker, kRankBigJoker);
}

// The triples must form one run; its top is the key. The end of the ranks
// closes a run like any gap does.
Recognition RecognizeTripleRun(const Shape& s, CombinationType type) {
  int remaining = s.triples;
  int key = 0;
  for (int r = 0; r <= kMaxRank + 1; ++r) {
    if (r <= kMaxRank && Has(s.tripleRanks, r)) {
      --remaining;
      key = r;
      continue;
    }
    if (key == 0) continue;
    if (remaining != 0) return Fail(kCardErrTripleRun, static_cast<std::uint8_t>(key));
    return Succeed(type, key);
  }
  return Fail(kCardErrNoForm);  // not reached: triples > 0 always ends a run
}

}  // namespace

std::string_view CombinationTypeName(CombinationType type) {
  const auto index = static_cast<std::size_t>(type);
  return index < kTypeNames.size() ? kTypeNames[index] : std::string_view{};
}

RankCounts CountRanks(std::span<const TPoker> cards) {
  RankCounts counts{};
  for (const TPoker& card : cards) {
    if (card.IsPresent()) ++counts[card.Rank()];
  }
  counts[0] = 0;
  return counts;
}

Recognition RecognizeCounts(const RankCounts& counts) {
  Shape s;
  if (const int error = ScanShape(counts, s); error != 0) return Fail(error < 0 ? 0 : error);
  if (s.singles > 0 && s.bombs == 0) return Succeed(CombinationType::Single, s.singleRank);
  if (s.pairs > 0 && s.triples == 0) return RecognizePairs(s);
  if (s.triples > 0 && s.pairs == 0) return RecognizeTripleRun(s, CombinationType::Missle);
  if (s.triples > 0 && s.pairs > 0) {
    if (s.triples != s.pairs) return Fail(kCardErrPlane);
    if (Has(s.pairRanks, kRankSmallJoker) || Has(s.pairRanks, kRankBigJoker)) {
      return Fail(kCardErrPlaneJoker);
    }
    return RecognizeTripleRun(s, CombinationType::Plane);
  }
  if (s.bombs > 0 && s.singles == 0) return Succeed(CombinationType::Bomb, s.bombRank);
  if (s.bombs > 0) return Succeed(CombinationType::BombTail, s.bombRank);
  return Fail(kCardErrNoForm);
}

bool Recognize(std::span<const TPoker> cards, std::uint8_t& key, CombinationType& type) {
  const Recognition result = RecognizeCounts(CountRanks(cards));
  key = result.key;
  type = result.type;
  if (!result.ok && result.error != 0) ReportCardError(result.error);
  return result.ok;
}

bool Beats(const Combination& self, const Combination& other) {
  if (self.count == 0) return false;
  if (other.count == 0) return true;
  if (self.type == other.type) {
    if (self.type == CombinationType::Bomb) {
      if (self.count != other.count) return self.count > other.count;
      return self.key > other.key;
    }
    return self.count == other.count && self.key > other.key;
  }
  if (self.type == CombinationType::KingBomb) return true;
  return self.type == CombinationType::Bomb && other.type != CombinationType::KingBomb;
}

Combination ClassifyCounts(const RankCounts& counts, int count) {
  const Recognition result = RecognizeCounts(counts);
  if (!result.ok || !IsNamed(count, result.type)) return {};
  return {result.type, result.key, count};
}

}  // namespace quarn
