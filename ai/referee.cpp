#include "ai/referee.h"

#include <algorithm>
#include <random>

#include "ai/candidates.h"
#include "core/rn32.h"

namespace quarn::ai {
namespace {

constexpr int kDealt = 25;
constexpr int kBottom = 8;
constexpr int kDealtPart = kSeats * kDealt;

SeatKnowledge FirstKnowledge(const Deal& deal, int seat, int landlord, int points) {
  SeatKnowledge known;
  known.seat = seat;
  known.landlord = landlord;
  known.points = points;
  known.hand = deal.hands[static_cast<std::size_t>(seat)];
  known.cardsLeft.fill(kDealt);
  known.cardsLeft[static_cast<std::size_t>(landlord)] += kBottom;
  if (seat == landlord) {
    known.bottom = deal.bottom;
    for (std::size_t r = 0; r < known.hand.size(); ++r) known.hand[r] += deal.bottom[r];
  }
  return known;
}

// Every seat bids once from the starting seat on; an equal bid does not
// count; nobody bidding leaves the starting seat the landlord.
void SettleLandlord(const std::array<Player*, kSeats>& players, const Deal& deal,
                    const GameSetup& setup, int& landlord, int& points) {
  landlord = deal.startSeat;
  points = setup.defaultPoints;
  if (!setup.bidding) return;
  int high = 0;
  for (int i = 0; i < kSeats; ++i) {
    const int seat = (deal.startSeat + i) % kSeats;
    const int bid = std::clamp(players[static_cast<std::size_t>(seat)]->Bid(
                                   deal.hands[static_cast<std::size_t>(seat)], high),
                               0, 255);
    if (bid > high) {
      high = bid;
      landlord = seat;
    }
  }
  if (high > 0) points = high;
}

// What the server would take in place of a refused move.
std::optional<PlannedPlay> Replacement(const SeatKnowledge& known) {
  if (!known.MustLead()) return std::nullopt;
  return PlaysThatBeat(known.hand, Combination{}).front();
}

}  // namespace

Deal DealCards(std::uint64_t seed) {
  std::mt19937_64 gen(seed);
  std::array<std::uint8_t, kTwoDecks> deck{};
  Shuffle(kTwoDecks, deck, gen);
  Deal deal;
  for (int i = 0; i < kTwoDecks; ++i) {
    RankCounts& to =
        i < kDealtPart ? deal.hands[static_cast<std::size_t>(i % kSeats)] : deal.bottom;
    ++to[static_cast<std::size_t>(RankOf(deck[static_cast<std::size_t>(i)]))];
  }
  deal.startSeat = static_cast<int>(UniformBelow(gen, kDealtPart) % kSeats);
  return deal;
}

bool Legal(const SeatKnowledge& known, const std::optional<PlannedPlay>& play) {
  if (!play) return !known.MustLead();
  for (std::size_t rank = 0; rank < play->cards.size(); ++rank) {
    if (play->cards[rank] > known.hand[rank]) return false;
  }
  const Combination combo = ClassifyCounts(play->cards, CardTotal(play->cards));
  return combo.type != CombinationType::Unknown && combo == play->combo &&
         Beats(combo, known.ToBeat());
}

GameResult PlayGame(const std::array<Player*, kSeats>& players, const GameSetup& setup) {
  const Deal deal = DealCards(setup.seed);
  GameResult result;
  SettleLandlord(players, deal, setup, result.landlord, result.points);
  std::array<SeatKnowledge, kSeats> seats;
  for (int seat = 0; seat < kSeats; ++seat) {
    seats[static_cast<std::size_t>(seat)] =
        FirstKnowledge(deal, seat, result.landlord, result.points);
  }
  int turn = result.landlord;
  for (;;) {
    if (result.moves >= setup.maxMoves) {
      result.winner = kNoWinner;  // no score: nobody won
      return result;
    }
    const SeatKnowledge& known = seats[static_cast<std::size_t>(turn)];
    std::optional<PlannedPlay> play = players[static_cast<std::size_t>(turn)]->Play(known);
    if (!Legal(known, play)) {
      ++result.refusals;
      play = Replacement(known);
    }
    const PlayEvent event{turn, play ? play->cards : RankCounts{},
                          play ? play->combo : Combination{}};
    for (SeatKnowledge& each : seats) Record(each, event);
    ++result.moves;
    if (seats[0].cardsLeft[static_cast<std::size_t>(turn)] == 0) break;
    turn = (turn + 1) % kSeats;
  }
  result.winner = turn;
  const bool landlordWon = result.LandlordWon();
  for (int seat = 0; seat < kSeats; ++seat) {
    const int amount = seat == result.landlord ? 3 * result.points : result.points;
    result.score[static_cast<std::size_t>(seat)] =
        (seat == result.landlord) == landlordWon ? amount : -amount;
  }
  return result;
}

}  // namespace quarn::ai
