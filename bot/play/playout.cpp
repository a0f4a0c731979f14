#include "bot/play/playout.h"

#include <algorithm>

#include "bot/play/decide.h"

namespace quarn::bot {
namespace {

using T = CombinationType;

constexpr int kTwo = 13;  // the highest rank a run may reach
constexpr int kMaxRunTriples = 11;
constexpr int kMaxPlaneTriples = 6;
constexpr int kMaxBomb = 8;
// When a bomb is worth it: as the heuristic player decides.
constexpr int kBombWhenOwnerHolds = 8;
constexpr int kBombWhenEnemyHolds = 5;
constexpr int kBombWhenLeftAfter = 8;

bool HasKingBomb(const RankCounts& h) {
  return h[kRankSmallJoker] == 2 && h[kRankBigJoker] == 2;
}

// Cards of rank r that ordinary plays may use: none from a bomb.
bool Loose(const RankCounts& h, int r) {
  if (r >= kRankSmallJoker) return h[r] > 0 && !HasKingBomb(h);
  return h[r] > 0 && h[r] < 4;
}

PlannedPlay Of(const RankCounts& cards, T type, int key, int count) {
  return {cards, {type, static_cast<std::uint8_t>(key), count}};
}

PlannedPlay Same(int rank, int width) {
  RankCounts cards{};
  cards[rank] = static_cast<std::uint8_t>(width);
  static constexpr T kTypes[] = {T::Unknown, T::Single, T::Rocket, T::Missle};
  return Of(cards, width >= 4 ? T::Bomb : kTypes[width], rank, width);
}

PlannedPlay Run(int top, int length, int width) {
  RankCounts cards{};
  for (int r = top - length + 1; r <= top; ++r) cards[r] = static_cast<std::uint8_t>(width);
  return Of(cards, width == 2 ? T::Rocket : T::Missle, top, width * length);
}

// Adds `length` pairs from ranks outside the run ending at `top` (exact
// pairs first, then split triples) to make a plane; false when too few.
bool AddPlanePairs(const RankCounts& h, int top, int length, PlannedPlay& play, int& cost) {
  int found = 0;
  cost = 0;
  for (int width = 2; width <= 3 && found < length; ++width) {
    for (int r = 1; r <= kTwo && found < length; ++r) {
      if (play.cards[r] != 0 || h[r] != width) continue;
      play.cards[r] = 2;
      ++found;
      cost += width - 2;
    }
  }
  if (found < length) return false;
  play.combo = {T::Plane, static_cast<std::uint8_t>(top), 5 * length};
  return true;
}

// The lead of the lowest rank: a run of pairs or triples (a plane when
// spare pairs allow) starting there, or all its cards. Bombs stay.
std::optional<PlannedPlay> LowestPiece(const RankCounts& h, bool skipSingles) {
  for (int r = 1; r <= kMaxRank; ++r) {
    if (!Loose(h, r) || (skipSingles && h[r] == 1)) continue;
    int high = r;
    while (high < kTwo && h[high + 1] == h[r] && h[r] >= 2) ++high;
    const int length = high - r + 1;
    if (h[r] == 2 && length >= 3) return Run(high, length, 2);
    if (h[r] == 3) {
      const int top = std::min(high, r + kMaxRunTriples - 1);
      PlannedPlay play = Run(top, top - r + 1, 3);
      int cost = 0;
      if (top - r + 1 <= kMaxPlaneTriples && AddPlanePairs(h, top, top - r + 1, play, cost) &&
          cost == 0) {
        return play;
      }
      return Run(top, top - r + 1, 3);
    }
    return Same(r, h[r]);
  }
  return std::nullopt;
}

// The cheapest bomb that beats `table`: fewest cards, then lowest rank.
std::optional<PlannedPlay> CheapestBomb(const RankCounts& h, const Combination& table) {
  for (int size = 4; size <= kMaxBomb; ++size) {
    for (int r = 1; r <= kTwo; ++r) {
      if (h[r] >= size && Beats({T::Bomb, static_cast<std::uint8_t>(r), size}, table)) {
        return Same(r, size);
      }
    }
  }
  if (HasKingBomb(h) && Beats({T::KingBomb, kRankBigJoker, 4}, table)) {
    RankCounts cards{};
    cards[kRankSmallJoker] = cards[kRankBigJoker] = 2;
    return Of(cards, T::KingBomb, kRankBigJoker, 4);
  }
  return std::nullopt;
}

// The cheapest play of the table's own type and size that beats it without
// touching a bomb: fewest pairs and triples split, then lowest key.
std::optional<PlannedPlay> CheapestMatch(const RankCounts& h, const Combination& table) {
  std::optional<PlannedPlay> best;
  int bestCost = 1 << 20;
  auto offer = [&](const PlannedPlay& play, int cost) {
    if (cost < bestCost) {
      bestCost = cost;
      best = play;
    }
  };
  const int key = table.key;
  switch (table.type) {
    case T::Single:
    case T::Rocket:
    case T::Missle: {
      const int width = table.type == T::Single ? 1 : table.type == T::Rocket ? 2 : 3;
      const int length = table.count / width;
      const int highestTop = length == 1 ? kMaxRank : kTwo;
      for (int top = key + 1; top <= highestTop; ++top) {
        int cost = 0;
        bool ok = top - length + 1 >= 1;
        for (int r = top - length + 1; ok && r <= top; ++r) {
          ok = Loose(h, r) && h[r] >= width;
          cost += h[r] - width;
        }
        if (ok) offer(length == 1 ? Same(top, width) : Run(top, length, width), cost);
      }
      break;
    }
    case T::Plane: {
      const int length = table.count / 5;
      for (int top = key + 1; top <= kTwo && top - length + 1 >= 1; ++top) {
        bool ok = true;
        for (int r = top - length + 1; ok && r <= top; ++r) ok = Loose(h, r) && h[r] == 3;
        PlannedPlay play = Run(top, length, 3);
        int cost = 0;
        if (ok && AddPlanePairs(h, top, length, play, cost)) offer(play, cost);
      }
      break;
    }
    default:
      break;
  }
  return best;
}

std::optional<PlannedPlay> FastLead(const FullTable& g) {
  const int me = g.turn;
  const RankCounts& h = g.hands[static_cast<std::size_t>(me)];
  const Combination whole = ClassifyCounts(h, g.left[static_cast<std::size_t>(me)]);
  if (whole.type != T::Unknown) return PlannedPlay{h, whole};
  int fewestEnemy = 33;
  int fewestPartner = 33;
  for (int seat = 0; seat < kSeats; ++seat) {
    if (seat == me) continue;
    int& fewest = g.Partners(seat, me) ? fewestPartner : fewestEnemy;
    fewest = std::min(fewest, g.left[static_cast<std::size_t>(seat)]);
  }
  if (fewestPartner <= 2 && fewestPartner < fewestEnemy) {
    for (int r = 1; r <= kMaxRank; ++r) {
      if (Loose(h, r) && h[r] >= fewestPartner) return Same(r, fewestPartner);
    }
  }
  const bool guardSingles = fewestEnemy == 1;
  if (auto piece = LowestPiece(h, guardSingles)) return piece;
  for (int r = kMaxRank; guardSingles && r >= 1; --r) {
    if (Loose(h, r)) return Same(r, 1);
  }
  return CheapestBomb(h, Combination{});
}

std::optional<PlannedPlay> FastFollow(const FullTable& g) {
  const int me = g.turn;
  const RankCounts& h = g.hands[static_cast<std::size_t>(me)];
  const int total = g.left[static_cast<std::size_t>(me)];
  const Combination whole = ClassifyCounts(h, total);
  if (whole.type != T::Unknown && Beats(whole, g.table)) return PlannedPlay{h, whole};
  if (g.Partners(g.owner, me)) return std::nullopt;
  if (auto match = CheapestMatch(h, g.table)) return match;
  std::optional<PlannedPlay> bomb = CheapestBomb(h, g.table);
  if (!bomb) return std::nullopt;
  int fewestEnemy = 33;
  for (int seat = 0; seat < kSeats; ++seat) {
    if (!g.Partners(seat, me))
      fewestEnemy = std::min(fewestEnemy, g.left[static_cast<std::size_t>(seat)]);
  }
  const bool worth = g.left[static_cast<std::size_t>(g.owner)] <= kBombWhenOwnerHolds ||
                     fewestEnemy <= kBombWhenEnemyHolds ||
                     total - bomb->combo.count <= kBombWhenLeftAfter;
  return worth ? bomb : std::nullopt;
}

std::optional<PlannedPlay> BasicMove(const FullTable& g) {
  const RankCounts& h = g.hands[static_cast<std::size_t>(g.turn)];
  const bool lead = g.MustLead();
  return ChoosePlay(h, SituationAt(g.turn, g.landlord, g.left, lead ? Combination{} : g.table,
                                   lead ? -1 : g.owner));
}

}  // namespace

bool FullTable::Apply(const std::optional<PlannedPlay>& play) {
  const int seat = turn;
  turn = (turn + 1) % kSeats;
  if (!play) return false;
  RankCounts& hand = hands[static_cast<std::size_t>(seat)];
  for (std::size_t r = 0; r < hand.size(); ++r)
    hand[r] = static_cast<std::uint8_t>(hand[r] - play->cards[r]);
  left[static_cast<std::size_t>(seat)] -= play->combo.count;
  table = play->combo;
  owner = seat;
  return left[static_cast<std::size_t>(seat)] == 0;
}

std::optional<PlannedPlay> PolicyMove(const FullTable& game, Policy policy) {
  if (policy == Policy::Basic) return BasicMove(game);
  return game.MustLead() ? FastLead(game) : FastFollow(game);
}

int PlayOut(FullTable game, Policy policy) {
  for (;;) {
    const int seat = game.turn;
    if (game.Apply(PolicyMove(game, policy))) return seat;
  }
}

}  // namespace quarn::bot
