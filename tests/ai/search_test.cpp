#include <gtest/gtest.h>

#include "ai/deal_sampler.h"
#include "ai/players.h"
#include "ai/playout.h"
#include "ai/search.h"

namespace quarn::ai {
namespace {

// Plays as the heuristic player and keeps every known it was shown.
class Watcher final : public Player {
 public:
  int Bid(const RankCounts& hand, int highBid) override { return basic_.Bid(hand, highBid); }
  std::optional<PlannedPlay> Play(const SeatKnowledge& known) override {
    positions.push_back(known);
    return basic_.Play(known);
  }
  std::vector<SeatKnowledge> positions;

 private:
  BasicPlayer basic_;
};

// Positions from whole referee games, bidding on and off, every seat.
std::vector<SeatKnowledge> GamePositions(int games) {
  std::vector<SeatKnowledge> positions;
  for (int game = 0; game < games; ++game) {
    std::array<Watcher, kSeats> watchers;
    PlayGame({&watchers[0], &watchers[1], &watchers[2], &watchers[3]},
             {static_cast<std::uint64_t>(game), game % 2 == 0});
    for (Watcher& w : watchers)
      positions.insert(positions.end(), w.positions.begin(), w.positions.end());
  }
  return positions;
}

SeatKnowledge ViewOfTurn(const FullTable& game) {
  SeatKnowledge known;
  known.seat = game.turn;
  known.landlord = game.landlord;
  known.hand = game.hands[static_cast<std::size_t>(game.turn)];
  known.table = game.table;
  known.tableOwner = game.owner;
  return known;
}

// Every drawn deal holds exactly the cards the seat has not seen, shared by
// the card counts it saw, its own hand untouched; the fast policy plays each
// deal out with moves the rules take; the search's choice is legal and the
// same for the same seed.
TEST(Search, DealsAreConsistentAndChoicesLegalAndRepeatable) {
  const std::vector<SeatKnowledge> positions = GamePositions(24);
  DealRandom random(5);
  for (std::size_t i = 0; i < positions.size(); i += 3) {
    const SeatKnowledge& known = positions[i];
    const std::array<RankCounts, kSeats> hands = SampleDeal(known, random);
    RankCounts all = known.played;
    for (int seat = 0; seat < kSeats; ++seat) {
      const RankCounts& hand = hands[static_cast<std::size_t>(seat)];
      EXPECT_EQ(CardTotal(hand), known.cardsLeft[static_cast<std::size_t>(seat)]);
      for (int r = 0; r <= kMaxRank; ++r) all[r] += hand[r];
    }
    ASSERT_EQ(all, FullDecks()) << "position " << i;
    EXPECT_EQ(hands[static_cast<std::size_t>(known.seat)], known.hand);
    for (int r = 0; known.IsLandlord() && r <= kMaxRank; ++r) {
      EXPECT_LE(known.bottom[r], known.hand[r] + known.played[r]);
    }

    FullTable game{hands,      known.cardsLeft, known.landlord,
                   known.seat, known.table,     known.tableOwner};
    for (bool out = false; !out;) {
      const std::optional<PlannedPlay> move = PolicyMove(game, Policy::Fast);
      ASSERT_TRUE(Legal(ViewOfTurn(game), move)) << "position " << i;
      out = game.Apply(move);
    }

    SearchLimits limits;
    limits.samples = 3;
    limits.seed = i;
    const std::optional<PlannedPlay> move = Search(known, limits).move;
    EXPECT_TRUE(Legal(known, move));
    EXPECT_TRUE(move.has_value() == Search(known, limits).move.has_value() &&
                (!move || move->cards == Search(known, limits).move->cards));
  }
}

// A fault that never lets a game end (put in by hand here: every seat
// passes, even where it must lead) cannot hold the thread: the playout stops
// after the most moves a game can take, with no winner, and the referee
// reports a game it cut off, with no score.
TEST(Search, AGameThatNeverEndsIsCutOff) {
  const SeatKnowledge known = GamePositions(1).front();
  DealRandom random(1);
  const FullTable game{
      SampleDeal(known, random), known.cardsLeft, known.landlord, known.seat, known.table,
      known.tableOwner};
  int moves = 0;
  const auto idle = [&moves](const FullTable&) {
    ++moves;
    return std::optional<PlannedPlay>{};
  };
  EXPECT_EQ(PlayOutWith(game, idle), kNoWinner);
  EXPECT_EQ(moves, kMaxGameMoves);

  std::array<BasicPlayer, kSeats> players;
  const std::array<Player*, kSeats> seats{&players[0], &players[1], &players[2], &players[3]};
  const GameResult cut = PlayGame(seats, {.seed = 1, .maxMoves = 10});
  EXPECT_TRUE(cut.Capped());
  EXPECT_EQ(cut.moves, 10);
  EXPECT_EQ(cut.score, (std::array<int, kSeats>{}));
  EXPECT_FALSE(cut.SideWon(0) || cut.SideWon(1));
}

}  // namespace
}  // namespace quarn::ai
