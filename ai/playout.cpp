#include "ai/playout.h"

#include <algorithm>
#include <array>

#include "ai/decide.h"

namespace quarn::ai {
namespace {

using T = CombinationType;

constexpr int kTwo = 13;  // the highest rank a run may reach
constexpr int kMaxRunTriples = 11;
constexpr int kMaxPlaneTriples = 6;
constexpr int kMaxBomb = 8;

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
  static constexpr std::array kTypes = {T::Unknown, T::Single, T::Rocket, T::Missle};
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

// The weakest piece of the hand's plan to lead (lowest key, then most
// cards), planned as the heuristic player plans: runs of pairs first, then
// runs of triples carrying the lowest spare pairs as planes, then what is
// left rank by rank. Bombs stay.
std::optional<PlannedPlay> WeakestPiece(const RankCounts& hand, bool skipSingles) {
  RankCounts rest{};
  for (int r = 1; r <= kMaxRank; ++r) rest[r] = Loose(hand, r) ? hand[r] : 0;
  std::optional<PlannedPlay> best;
  auto offer = [&](const PlannedPlay& piece) {
    if (skipSingles && piece.combo.type == T::Single) return;
    if (!best || piece.combo.key < best->combo.key ||
        (piece.combo.key == best->combo.key && piece.combo.count > best->combo.count)) {
      best = piece;
    }
  };
  auto take = [&](const PlannedPlay& piece) {
    for (int r = 1; r <= kMaxRank; ++r)
      rest[r] = static_cast<std::uint8_t>(rest[r] - piece.cards[r]);
    offer(piece);
  };
  for (int width = 2; width <= 3; ++width) {
    for (int r = 1; r <= kTwo; ++r) {
      if (rest[r] != width) continue;
      int high = r;
      while (high < kTwo && rest[high + 1] == width) ++high;
      if (width == 2 && high - r + 1 >= 3) take(Run(high, high - r + 1, 2));
      for (int low = r; width == 3 && low <= high; low += kMaxRunTriples) {
        const int top = std::min(high, low + kMaxRunTriples - 1);
        PlannedPlay play = Run(top, top - low + 1, 3);
        RankCounts others = rest;
        for (int q = low; q <= top; ++q) others[q] = 0;
        int cost = 0;
        if (top - low + 1 <= kMaxPlaneTriples &&
            AddPlanePairs(others, top, top - low + 1, play, cost) && cost == 0) {
          take(play);
        } else {
          take(Run(top, top - low + 1, 3));
        }
      }
      r = high;
    }
  }
  for (int r = 1; r <= kMaxRank; ++r) {
    if (rest[r] > 0) offer(Same(r, rest[r]));
  }
  return best;
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

// A partner's low single or pair with the landlord to play next is cheap for
// the landlord to beat: top it with a high rank the hand holds exactly so.
std::optional<PlannedPlay> TopPartner(const FullTable& g, const RankCounts& h) {
  constexpr int kLowKey = 8;    // up to the 10s
  constexpr int kHighKey = 10;  // the queens and up
  const int width = g.table.count;
  const bool small = g.table.type == T::Single || (g.table.type == T::Rocket && width == 2);
  if ((g.turn + 1) % kSeats != g.landlord || !small || g.table.key > kLowKey) return std::nullopt;
  for (int r = kHighKey; r <= kMaxRank; ++r) {
    if (h[r] == width && Loose(h, r)) return Same(r, width);
  }
  return std::nullopt;
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
  if (auto piece = WeakestPiece(h, guardSingles)) return piece;
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
  if (g.Partners(g.owner, me)) return TopPartner(g, h);
  if (auto match = CheapestMatch(h, g.table)) return match;
  std::optional<PlannedPlay> bomb = CheapestBomb(h, g.table);
  if (!bomb) return std::nullopt;
  int fewestEnemy = 33;
  for (int seat = 0; seat < kSeats; ++seat) {
    if (!g.Partners(seat, me))
      fewestEnemy = std::min(fewestEnemy, g.left[static_cast<std::size_t>(seat)]);
  }
  const bool worth = BombWorthIt(g.left[static_cast<std::size_t>(g.owner)], fewestEnemy,
                                 total - bomb->combo.count);
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

int PlayOut(const FullTable& game, Policy policy) {
  return PlayOutWith(game, [policy](const FullTable& now) { return PolicyMove(now, policy); });
}

}  // namespace quarn::ai
