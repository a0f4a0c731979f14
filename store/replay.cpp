#include "store/replay.h"

#include <algorithm>

#include "core/thandpoker.h"
#include "core/tselectpoker.h"

namespace quarn::store {

namespace {

using Hands = std::array<THandPoker, kSeats>;

Hands Dealt(const GameRecord& game) {
  Hands hands;
  for (int seat = 0; seat < kSeats; ++seat) {
    hands[seat].AddCards(game.hands[seat]);
  }
  if (game.landlord < kSeats) hands[game.landlord].AddCards(game.bottom);
  return hands;
}

// The fault of the bidding, empty when it gives the recorded landlord.
std::string CheckBids(const GameRecord& game) {
  if (game.startSeat >= kSeats || game.landlord >= kSeats) return "seat out of range";
  std::uint32_t high = 0;
  int landlord = game.startSeat;
  int turn = game.startSeat;
  for (const BidStep& bid : game.bids) {
    if (bid.seat != turn) return "bid out of turn";
    if (bid.points > high) {
      high = bid.points;
      landlord = bid.seat;
    }
    turn = (turn + 1) % kSeats;
  }
  if (!game.bids.empty() && game.bids.size() != kSeats) return "bidding not whole";
  if (high != 0 && high != game.points) return "points differ from the best bid";
  if (landlord != game.landlord) return "landlord differs from the bidding";
  return {};
}

// Plays one move on `hands`; the fault, or empty.
std::string PlayMove(const MoveStep& move, Hands& hands, TSelectPoker& last, int& lastPlayer) {
  if (move.cards.empty()) {
    if (last.Count() == 0 || lastPlayer == move.seat) return "a pass where the seat leads";
    return {};
  }
  std::array<std::uint8_t, TSelectPoker::kSlots> bytes{};
  if (move.cards.size() > bytes.size()) return "too many cards";
  std::copy(move.cards.begin(), move.cards.end(), bytes.begin());
  TSelectPoker play;
  play.LoadBytes(bytes);
  if (play.Count() != static_cast<int>(move.cards.size()) || play.Classify() == 0) {
    return "not a combination";
  }
  if (last.Count() > 0 && lastPlayer != move.seat && !play.Beats(last)) return "does not beat";
  THandPoker& hand = hands[move.seat];
  if (hand.SelectMatching(play) != play.Count()) return "cards not in the hand";
  hand.RemoveSelected();
  last = play;
  lastPlayer = move.seat;
  return {};
}

}  // namespace

ReplayOutcome Replay(const GameRecord& game) {
  ReplayOutcome outcome;
  if (std::string fault = CheckBids(game); !fault.empty()) {
    outcome.fault = fault;
    return outcome;
  }
  Hands hands = Dealt(game);
  TSelectPoker last;
  int lastPlayer = game.landlord;
  int turn = game.landlord;
  for (std::size_t i = 0; i < game.moves.size(); ++i) {
    const MoveStep& move = game.moves[i];
    std::string fault =
        move.seat != turn ? "move out of turn" : PlayMove(move, hands, last, lastPlayer);
    if (fault.empty() && hands[move.seat].Count() == 0 && i + 1 != game.moves.size()) {
      fault = "moves after the game ended";
    }
    if (!fault.empty()) {
      outcome.fault = "move " + std::to_string(i + 1) + ": " + fault;
      return outcome;
    }
    turn = (turn + 1) % kSeats;
  }
  if (game.moves.empty() || hands[game.moves.back().seat].Count() != 0) {
    outcome.fault = "nobody played out";
    return outcome;
  }
  const int winner = game.moves.back().seat;
  if (winner != game.winner) {
    outcome.fault = "winner differs";
    return outcome;
  }
  const bool landlordWon = winner == game.landlord;
  for (int seat = 0; seat < kSeats; ++seat) {
    const std::int64_t amount = (seat == game.landlord ? 3 : 1) * std::int64_t{game.points};
    outcome.scoreChange[seat] = (seat == game.landlord) == landlordWon ? amount : -amount;
  }
  outcome.sound = true;
  return outcome;
}

std::array<std::vector<std::uint8_t>, kSeats> HandsAfter(const GameRecord& game,
                                                         std::size_t moves) {
  Hands hands = Dealt(game);
  TSelectPoker last;
  int lastPlayer = game.landlord;
  for (std::size_t i = 0; i < moves && i < game.moves.size(); ++i) {
    if (game.moves[i].seat >= kSeats) break;
    if (!PlayMove(game.moves[i], hands, last, lastPlayer).empty()) break;
  }
  std::array<std::vector<std::uint8_t>, kSeats> result;
  for (int seat = 0; seat < kSeats; ++seat) {
    for (const TPoker& card : hands[seat].Cards()) {
      if (card.IsPresent()) result[seat].push_back(static_cast<std::uint8_t>(card.Number()));
    }
  }
  return result;
}

}  // namespace quarn::store
