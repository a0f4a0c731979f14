// Bidding for the landlord, or settling the landlord without bidding, and the
// bottom cards that go to the landlord.
#include <algorithm>
#include <span>

#include "protocol/packet_builder.h"
#include "server/table_game.h"

namespace quarn::server {

namespace {

// Points travel as one byte: their low byte.
std::int32_t LowByte(std::uint32_t points) {
  return static_cast<std::int32_t>(points & 0xFF);
}

}  // namespace

bool TableGame::OpenBidding() {
  const BidRecord start{table_.Table, static_cast<std::uint8_t>(table_.Turn), 1};
  auto packet = BuildPacket(MessageType::BidStart, start);
  if (!packet) return false;
  outbox_.SendToTable(table_, *packet);
  return true;
}

bool TableGame::SettleWithoutBidding() {
  table_.HighBid = table_.DefaultPoints;
  table_.Landlord = table_.StartSeat();
  table_.Turn = table_.StartSeat();
  const BidRecord result{table_.Table, static_cast<std::uint8_t>(table_.Turn),
                         LowByte(table_.HighBid)};
  SendBottomCards();
  auto packet = BuildPacket(MessageType::BidResult, result);
  if (packet) outbox_.SendToTable(table_, *packet);
  table_.Status = TablePlaying;
  return packet.has_value();
}

int TableGame::Bid(ConnectionId connection, Packet& packet, bool pass) {
  return ByPlayer(connection, [&](int seat) { return BidAt(seat, packet, pass); });
}

int TableGame::BidAt(int seat, Packet& packet, bool pass) {
  if (table_.Status != TableBidding) return 1;
  table_.Status = TableBidBusy;

  BidRecord bid;
  const int decoded = pass ? DecodeBidPass(bid, packet) : DecodeBidOffer(bid, packet);
  if (decoded != 0) return Refuse(TableBidding);
  const auto sender = static_cast<std::uint32_t>(seat);
  if (bid.tableNumber != table_.Table || bid.seat != sender || table_.Turn != sender) {
    return Refuse(TableBidding);
  }

  TServerPlayer& player = table_.Players[seat];
  player.Bid = pass ? 0 : static_cast<std::uint32_t>(bid.points & 0xFF);
  table_.Bids.push_back({static_cast<std::uint8_t>(sender), static_cast<std::uint8_t>(player.Bid)});
  if (player.Bid > table_.HighBid) {
    table_.HighBid = player.Bid;
    table_.Landlord = sender;
  } else {
    player.Bid = 0;  // a tie goes to the seat that bid first
  }

  const std::uint32_t next = NextSeat(sender);
  if (next != table_.StartSeat()) {
    table_.Turn = next;
    const BidRecord turn{table_.Table, static_cast<std::uint8_t>(next), LowByte(table_.HighBid)};
    if (RewriteHeader(packet, MessageType::BidTurn) == 0 && EncodeBidTurn(turn, packet) == 0) {
      outbox_.SendToTable(table_, packet);
    }
    table_.Status = TableBidding;
    NextTurn();
    return 0;
  }

  if (table_.HighBid == 0) {  // nobody bid
    table_.HighBid = table_.DefaultPoints;
    table_.Landlord = table_.StartSeat();
  }
  table_.Turn = table_.Landlord;
  const BidRecord result{table_.Table, static_cast<std::uint8_t>(table_.Landlord),
                         LowByte(table_.HighBid)};
  if (RewriteHeader(packet, MessageType::BidResult) == 0 && EncodeBidResult(result, packet) == 0) {
    outbox_.SendToTable(table_, packet);
  }
  SendBottomCards();
  table_.Status = TablePlaying;
  NextTurn();
  return 0;
}

bool TableGame::SendBottomCards() {
  DealRecord extra;
  extra.tableNumber = table_.Table;
  extra.seat = static_cast<std::uint8_t>(table_.Landlord);
  extra.count = kBottomCards;
  const auto bottom = std::span(table_.Deck).subspan(kDealtCards, kBottomCards);
  std::copy(bottom.begin(), bottom.end(), extra.cards.begin());
  TServerPlayer& landlord = table_.Players[table_.Landlord % kSeatCount];
  landlord.Hand.AddCards(bottom);
  TellLandlord();
  auto packet = BuildPacket(MessageType::ExtraCards, extra);
  if (!packet || landlord.Socket == kNoConnection) return false;
  outbox_.SendToSeat(landlord.Socket, *packet);
  return true;
}

}  // namespace quarn::server
