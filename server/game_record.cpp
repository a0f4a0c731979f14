// The game just ended as a plain record for the game record store.
#include <chrono>

#include "server/table_game.h"

namespace quarn::server {

namespace {

// A play's cards as checked: the valid card numbers among its 33 places.
std::vector<std::uint8_t> MoveCards(const TMove& move) {
  TSelectPoker cards;
  cards.LoadBytes(move.cards);
  std::array<std::uint8_t, TSelectPoker::kSlots> bytes{};
  cards.SaveBytes(bytes);
  return {bytes.begin(), bytes.begin() + cards.Count()};
}

}  // namespace

store::GameRecord TableGame::Record() const {
  store::GameRecord game;
  game.finishedAt = std::chrono::duration_cast<std::chrono::seconds>(
                        std::chrono::system_clock::now().time_since_epoch())
                        .count();
  game.table = table_.Table;
  game.startSeat = static_cast<std::uint8_t>(table_.StartSeat());
  game.startCard = table_.StartCard;
  game.landlord = static_cast<std::uint8_t>(table_.Landlord % kSeatCount);
  game.winner = static_cast<std::uint8_t>(table_.LastPlayer % kSeatCount);
  game.points = table_.HighBid;
  game.scoreChange = ScoreChanges();
  for (int seat = 0; seat < kSeatCount; ++seat) {
    game.names[seat] = table_.Players[seat].Name;
    for (int card = 0; card < kHandCards; ++card) {
      game.hands[seat][card] = table_.Deck[seat + card * kSeatCount];
    }
  }
  for (int card = 0; card < kBottomCards; ++card) {
    game.bottom[card] = table_.Deck[kDealtCards + card];
  }
  for (const TBid& bid : table_.Bids) game.bids.push_back({bid.seat, bid.points});
  for (const TMove& move : table_.History) {
    game.moves.push_back(
        {move.seat, move.count == 0 ? std::vector<std::uint8_t>{} : MoveCards(move)});
  }
  return game;
}

}  // namespace quarn::server
