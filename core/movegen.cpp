#include "core/movegen.h"

#include <algorithm>

namespace quarn {
namespace {

using T = CombinationType;

constexpr int kMaxRunPairs = 13;     // 3 through 2
constexpr int kMaxPlaneTriples = 6;  // 30 cards
constexpr int kMaxBomb = 8;

// Walks the forms in the order of CombinationType, then card count, then key,
// and emits every one the hand can make that is worth offering.
class Generator {
 public:
  Generator(const RankCounts& hand, const Combination* table, std::vector<Move>& out)
      : hand_(hand), table_(table), out_(out) {}

  void Run() {
    Singles();
    Pairs();
    TripleRuns();
    Planes();
    Bombs();
    KingBomb();
  }

 private:
  bool Worth(T type, int key, int count) const {
    return IsNamed(count, type) &&
           (table_ == nullptr || Beats({type, static_cast<std::uint8_t>(key), count}, *table_));
  }

  void Emit(T type, int key, int count, const RankCounts& ranks) {
    Move& move = out_.emplace_back();
    move.combo = {type, static_cast<std::uint8_t>(key), count};
    move.ranks = ranks;
  }

  // Whether every rank of top-length+1..top holds at least `need` cards.
  bool RunAvailable(int top, int length, int need) const {
    if (top - length + 1 < 1) return false;
    for (int r = top - length + 1; r <= top; ++r) {
      if (hand_[r] < need) return false;
    }
    return true;
  }

  static RankCounts RunCounts(int top, int length, int each) {
    RankCounts ranks{};
    for (int r = top - length + 1; r <= top; ++r) ranks[r] = static_cast<std::uint8_t>(each);
    return ranks;
  }

  void Singles() {
    for (int r = 1; r <= kMaxRank; ++r) {
      if (hand_[r] >= 1 && Worth(T::Single, r, 1)) Emit(T::Single, r, 1, RunCounts(r, 1, 1));
    }
  }

  // One pair of any rank; longer runs stay below the jokers (a run reaching
  // them is refused), and two pairs have no name.
  void Pairs() {
    for (int length = 1; length <= kMaxRunPairs; ++length) {
      const int highestTop = length == 1 ? kMaxRank : kMaxRunPairs;
      for (int top = length; top <= highestTop; ++top) {
        if (RunAvailable(top, length, 2) && Worth(T::Rocket, top, 2 * length)) {
          Emit(T::Rocket, top, 2 * length, RunCounts(top, length, 2));
        }
      }
    }
  }

  void TripleRuns() {
    for (int length = 1; 3 * length <= kMaxCards; ++length) {
      for (int top = length; top <= kMaxRank; ++top) {
        if (RunAvailable(top, length, 3) && Worth(T::Missle, top, 3 * length)) {
          Emit(T::Missle, top, 3 * length, RunCounts(top, length, 3));
        }
      }
    }
  }

  void Planes() {
    for (int length = 1; length <= kMaxPlaneTriples; ++length) {
      for (int top = length; top <= kMaxRank; ++top) {
        if (!RunAvailable(top, length, 3) || !Worth(T::Plane, top, 5 * length)) continue;
        // Pairs come from any other rank below the jokers.
        std::array<int, kMaxRunPairs> candidates{};
        int n = 0;
        for (int r = 1; r <= kMaxRunPairs; ++r) {
          if (hand_[r] >= 2 && (r > top || r <= top - length)) candidates[n++] = r;
        }
        RankCounts ranks = RunCounts(top, length, 3);
        ChoosePairs(top, length, std::span(candidates).first(n), 0, length, ranks);
      }
    }
  }

  // Emits the plane once for every choice of `left` more pair ranks from
  // candidates[from..], in ascending order of the choices.
  void ChoosePairs(int top, int length, std::span<const int> candidates, std::size_t from, int left,
                   RankCounts& ranks) {
    if (left == 0) {
      Emit(T::Plane, top, 5 * length, ranks);
      return;
    }
    for (std::size_t i = from; i + static_cast<std::size_t>(left) <= candidates.size(); ++i) {
      ranks[candidates[i]] = 2;
      ChoosePairs(top, length, candidates, i + 1, left - 1, ranks);
      ranks[candidates[i]] = 0;
    }
  }

  void Bombs() {
    for (int size = 4; size <= kMaxBomb; ++size) {
      for (int r = 1; r <= kMaxRank; ++r) {
        if (hand_[r] >= size && Worth(T::Bomb, r, size))
          Emit(T::Bomb, r, size, RunCounts(r, 1, size));
      }
    }
  }

  void KingBomb() {
    if (hand_[kRankSmallJoker] < 2 || hand_[kRankBigJoker] < 2) return;
    if (!Worth(T::KingBomb, kRankBigJoker, 4)) return;
    RankCounts ranks{};
    ranks[kRankSmallJoker] = 2;
    ranks[kRankBigJoker] = 2;
    Emit(T::KingBomb, kRankBigJoker, 4, ranks);
  }

  const RankCounts& hand_;
  const Combination* table_;
  std::vector<Move>& out_;
};

std::vector<Move> Generate(const RankCounts& hand, const Combination* table) {
  std::vector<Move> moves;
  moves.reserve(64);
  Generator(hand, table, moves).Run();
  return moves;
}

// The hand's cards grouped by rank, in the order given.
struct CardsByRank {
  RankCounts counts{};
  std::array<std::array<std::uint8_t, kMaxCards>, kMaxRank + 1> cards{};

  explicit CardsByRank(std::span<const std::uint8_t> hand) {
    for (const std::uint8_t card : hand) {
      const int r = RankOf(card);
      if (r == 0 || counts[r] >= kMaxCards) continue;
      cards[r][counts[r]++] = card;
    }
  }
};

std::vector<Move> WithCards(std::vector<Move> moves, const CardsByRank& hand) {
  for (Move& move : moves) {
    std::size_t next = 0;
    for (int r = 1; r <= kMaxRank; ++r) {
      std::copy_n(hand.cards[r].begin(), move.ranks[r], move.cards.begin() + next);
      next += move.ranks[r];
    }
  }
  return moves;
}

}  // namespace

std::vector<Move> LegalRankMoves(const RankCounts& hand) {
  return Generate(hand, nullptr);
}

std::vector<Move> BeatingRankMoves(const RankCounts& hand, const Combination& table) {
  return Generate(hand, &table);
}

std::vector<Move> LegalMoves(std::span<const std::uint8_t> handCards) {
  const CardsByRank hand(handCards);
  return WithCards(LegalRankMoves(hand.counts), hand);
}

std::vector<Move> BeatingMoves(std::span<const std::uint8_t> handCards, const Combination& table) {
  const CardsByRank hand(handCards);
  return WithCards(BeatingRankMoves(hand.counts, table), hand);
}

}  // namespace quarn
