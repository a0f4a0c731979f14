// The start of a game: shuffle, deal and the dealing messages (paced in pacing.cpp).
#include "core/rn32.h"
#include "core/tpoker.h"
#include "protocol/packet_builder.h"
#include "server/table_game.h"

namespace quarn::server {

void TableGame::StartGame() {
  table_.Status = TableDealing;
  DealTable();
  Pace(table_.DelayDeal, Step::Deal);
}

int TableGame::DealTable() {
  if (table_.RandEachGame) Seed();
  if (Shuffle(kDeckCards, table_.Deck) != kDeckCards) return 1;
  table_.StartIndex = Random(kDealtCards);
  table_.StartCard = table_.Deck[table_.StartIndex];
  table_.Landlord = table_.StartSeat();
  table_.Turn = table_.StartSeat();
  table_.LastPlayer = table_.StartSeat();
  table_.HighBid = 0;
  table_.LastPlay.Clear();
  table_.History.clear();
  table_.Bids.clear();
  for (TServerPlayer& player : table_.Players) {
    player.Hand.Clear();
    player.Bid = 0;
  }
  for (int position = 0; position < kDealtCards; ++position) {
    TPoker card;
    card.SetCard(table_.Deck[position]);
    table_.Players[position % kSeatCount].Hand.Insert(card);
  }
  TellDeal();
  return 0;
}

bool TableGame::SendDeal() {
  for (int seat = 0; seat < kSeatCount; ++seat) {
    const ConnectionId socket = table_.Players[seat].Socket;
    if (socket == kNoConnection) {
      if (table_.KeepSeats) continue;  // a kept seat: its player hears of its cards on return
      return false;
    }
    DealRecord deal;
    deal.tableNumber = table_.Table;
    deal.seat = static_cast<std::uint8_t>(seat);
    deal.count = kHandCards;
    for (int card = 0; card < kHandCards; ++card) {
      deal.cards[card] = table_.Deck[seat + card * kSeatCount];
    }
    auto packet = BuildPacket(MessageType::DealCards, deal);
    if (!packet) return false;
    outbox_.SendToSeat(socket, *packet);
  }
  return true;
}

bool TableGame::SendStartCard() {
  DealRecord notice;
  notice.tableNumber = table_.Table;
  notice.seat = static_cast<std::uint8_t>(table_.StartSeat());
  notice.count = 1;
  notice.cards[0] = table_.StartCard;
  auto packet = BuildPacket(MessageType::StartCardNotice, notice);
  if (!packet) return false;
  outbox_.SendToTable(table_, *packet);
  return true;
}

}  // namespace quarn::server
