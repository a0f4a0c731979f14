#include <gtest/gtest.h>

#include <random>

#include "ai/deal_sampler.h"
#include "ai/players.h"
#include "ai/playout.h"
#include "ai/search.h"

namespace quarn::ai {
namespace {

// Plays as the heuristic player and keeps every view it was shown.
class Watcher final : public Player {
 public:
  int Bid(const RankCounts& hand, int highBid) override { return basic_.Bid(hand, highBid); }
  std::optional<PlannedPlay> Play(const SeatView& view) override {
    views.push_back(view);
    return basic_.Play(view);
  }
  std::vector<SeatView> views;

 private:
  BasicPlayer basic_;
};

// Positions from whole referee games, bidding on and off, every seat.
std::vector<SeatView> GamePositions(int games) {
  std::vector<SeatView> views;
  for (int game = 0; game < games; ++game) {
    std::array<Watcher, kSeats> watchers;
    PlayGame({&watchers[0], &watchers[1], &watchers[2], &watchers[3]},
             {static_cast<std::uint64_t>(game), game % 2 == 0});
    for (Watcher& w : watchers) views.insert(views.end(), w.views.begin(), w.views.end());
  }
  return views;
}

SeatView ViewOfTurn(const FullTable& game) {
  SeatView view;
  view.seat = game.turn;
  view.landlord = game.landlord;
  view.hand = game.hands[static_cast<std::size_t>(game.turn)];
  view.table = game.table;
  view.tableOwner = game.owner;
  return view;
}

// Every drawn deal holds exactly the cards the seat has not seen, shared by
// the card counts it saw, its own hand untouched; the fast policy plays each
// deal out with moves the rules take; the search's choice is legal and the
// same for the same seed.
TEST(Search, DealsAreConsistentAndChoicesLegalAndRepeatable) {
  const std::vector<SeatView> views = GamePositions(24);
  DealRandom random(5);
  for (std::size_t i = 0; i < views.size(); i += 3) {
    const SeatView& view = views[i];
    const std::array<RankCounts, kSeats> hands = SampleDeal(view, random);
    RankCounts all = view.played;
    for (int seat = 0; seat < kSeats; ++seat) {
      const RankCounts& hand = hands[static_cast<std::size_t>(seat)];
      EXPECT_EQ(CardTotal(hand), view.cardsLeft[static_cast<std::size_t>(seat)]);
      for (int r = 0; r <= kMaxRank; ++r) all[r] += hand[r];
    }
    ASSERT_EQ(all, FullDecks()) << "position " << i;
    EXPECT_EQ(hands[static_cast<std::size_t>(view.seat)], view.hand);
    for (int r = 0; view.IsLandlord() && r <= kMaxRank; ++r) {
      EXPECT_LE(view.bottom[r], view.hand[r] + view.played[r]);
    }

    FullTable game{hands, view.cardsLeft, view.landlord, view.seat, view.table, view.tableOwner};
    for (bool out = false; !out;) {
      const std::optional<PlannedPlay> move = PolicyMove(game, Policy::Fast);
      ASSERT_TRUE(Legal(ViewOfTurn(game), move)) << "position " << i;
      out = game.Apply(move);
    }

    SearchLimits limits;
    limits.samples = 3;
    limits.seed = i;
    const std::optional<PlannedPlay> move = Search(view, limits).move;
    EXPECT_TRUE(Legal(view, move));
    EXPECT_TRUE(move.has_value() == Search(view, limits).move.has_value() &&
                (!move || move->cards == Search(view, limits).move->cards));
  }
}

// A fault that never lets a game end (put in by hand here: every seat
// passes, even where it must lead) cannot hold the thread: the playout stops
// after the most moves a game can take, with no winner, and the referee
// reports a game it cut off, with no score.
TEST(Search, AGameThatNeverEndsIsCutOff) {
  const SeatView view = GamePositions(1).front();
  DealRandom random(1);
  const FullTable game{
      SampleDeal(view, random), view.cardsLeft, view.landlord, view.seat, view.table,
      view.tableOwner};
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
  EXPECT_FALSE(PlayGame(seats, {.seed = 1}).Capped());
}

}  // namespace
}  // namespace quarn::ai
