#include "ai/deal_sampler.h"

#include <algorithm>

namespace quarn::ai {

RankCounts FullDecks() {
  RankCounts full{};
  for (int r = 1; r < kRankSmallJoker; ++r) full[r] = 8;
  full[kRankSmallJoker] = full[kRankBigJoker] = 2;
  return full;
}

RankCounts Unseen(const SeatKnowledge& known) {
  RankCounts unseen = FullDecks();
  for (std::size_t r = 0; r < unseen.size(); ++r) {
    const int seen = known.hand[r] + known.played[r];
    unseen[r] = static_cast<std::uint8_t>(std::max(0, unseen[r] - seen));
  }
  return unseen;
}

std::uint64_t DealRandom::Next() {
  // splitmix64
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

std::uint32_t DealRandom::Below(std::uint32_t n) {
  // Multiply-shift: the bias is below 2^-32 for the small n used here.
  return static_cast<std::uint32_t>(((Next() >> 32) * n) >> 32);
}

std::array<RankCounts, kSeats> SampleDeal(const SeatKnowledge& known, DealRandom& random) {
  const RankCounts unseen = Unseen(known);
  std::array<std::uint8_t, kTwoDecks> cards{};
  std::uint32_t n = 0;
  for (int r = 1; r <= kMaxRank; ++r) {
    for (int i = 0; i < unseen[r]; ++i) cards[n++] = static_cast<std::uint8_t>(r);
  }
  std::array<RankCounts, kSeats> hands{};
  hands[static_cast<std::size_t>(known.seat)] = known.hand;
  std::uint32_t next = 0;
  for (int seat = 0; seat < kSeats; ++seat) {
    if (seat == known.seat) continue;
    const int want = known.cardsLeft[static_cast<std::size_t>(seat)];
    for (int i = 0; i < want && next < n; ++i, ++next) {
      // A partial Fisher-Yates: draw each card from those not yet dealt.
      std::swap(cards[next], cards[next + random.Below(n - next)]);
      ++hands[static_cast<std::size_t>(seat)][cards[next]];
    }
  }
  return hands;
}

}  // namespace quarn::ai
