#include "tests/support/test_player.h"

#include <algorithm>

#include "core/tpoker.h"
#include "protocol/packet_builder.h"

namespace quarn::test {
namespace {

constexpr std::int32_t kTable = 1;
constexpr std::uint8_t kSingle = 1;
constexpr int kOpeningBid = 5;

// What the server sends to one seat alone; everything else goes to the table.
bool IsOwn(MessageType type) {
  return type == MessageType::LoginReply || type == MessageType::DealCards ||
         type == MessageType::ExtraCards;
}

}  // namespace

bool TestPlayer::SendLogin(std::uint8_t wantedSeat) {
  auto packet =
      BuildPacket(MessageType::LoginRequest, MakeLoginRequest(name_, "", 2, 5, kTable, wantedSeat));
  if (!packet) return false;
  Send(*packet);
  return true;
}

void TestPlayer::Pump(int ms) {
  for (const Packet& packet : wire_.Read(ms)) Handle(packet);
}

void TestPlayer::Send(const Packet& packet) {
  wire_.Write(packet.data());
}

void TestPlayer::Handle(const Packet& packet) {
  PacketHeader header;
  if (DecodeHeader(header, packet) != 0) {
    faults_.push_back("a packet with a bad header");
    return;
  }
  const MessageType type = header.type();
  if (deals_ == 1 && !IsOwn(type)) {
    const auto bytes = packet.data();
    window_.emplace_back(bytes.begin(), bytes.end());
  }
  switch (type) {
    case MessageType::LoginReply: {
      LoginRecord reply;
      if (DecodeLoginReply(reply, packet) == 0) seat_ = reply.seat;
      break;
    }
    case MessageType::DealCards:
      OnDeal(packet);
      break;
    case MessageType::ExtraCards: {
      DealRecord extras;
      if (DecodeExtraCards(extras, packet) != 0) break;
      hand_.insert(hand_.end(), extras.cards.begin(), extras.cards.begin() + extras.count);
      haveExtras_ = true;
      LeadIfReady();
      break;
    }
    case MessageType::BidStart:
    case MessageType::BidTurn:
      OnBid(packet, type == MessageType::BidStart);
      break;
    case MessageType::BidResult: {
      BidRecord result;
      if (DecodeBidResult(result, packet) != 0) break;
      landlord_ = result.seat;
      haveResult_ = true;
      LeadIfReady();
      break;
    }
    case MessageType::PlayNotice:
      OnPlayNotice(packet);
      break;
    case MessageType::PlayTurn:
      OnPlayTurn(packet);
      break;
    default:
      break;
  }
}

void TestPlayer::OnDeal(const Packet& packet) {
  DealRecord deal;
  if (DecodeDealCards(deal, packet) != 0 || deal.seat != seat_) {
    faults_.push_back("a deal for another seat or a bad deal");
    return;
  }
  ++deals_;
  hand_.assign(deal.cards.begin(), deal.cards.begin() + deal.count);
  landlord_ = -1;
  lastPlayer_ = -1;
  haveResult_ = haveExtras_ = false;
}

void TestPlayer::OnBid(const Packet& packet, bool opening) {
  BidRecord bid;
  if (DecodeBidStart(bid, packet) != 0 || bid.seat != seat_) return;
  const BidRecord answer{kTable, static_cast<std::uint8_t>(seat_), opening ? kOpeningBid : 0};
  if (auto reply = BuildPacket(opening ? MessageType::BidOffer : MessageType::BidPass, answer)) {
    Send(*reply);
  }
}

void TestPlayer::OnPlayNotice(const Packet& packet) {
  PlayRecord play;
  if (DecodePlayNotice(play, packet) != 0 || play.count == 0) return;
  lastPlayer_ = play.seat;
  if (play.seat != seat_) return;
  for (int i = 0; i < play.count; ++i) {
    const auto it = std::find_if(hand_.begin(), hand_.end(), [&](std::uint8_t card) {
      return FoldCard(card) == FoldCard(play.cards[static_cast<std::size_t>(i)]);
    });
    if (it == hand_.end()) {
      faults_.push_back("a play of a card this seat does not hold");
    } else {
      hand_.erase(it);
    }
  }
}

void TestPlayer::OnPlayTurn(const Packet& packet) {
  SeatRecord turn;
  if (DecodePlayTurn(turn, packet) != 0 || turn.seat != seat_) return;
  if (lastPlayer_ < 0 || lastPlayer_ == seat_) {
    Lead();
  } else {
    Pass();
  }
}

void TestPlayer::LeadIfReady() {
  if (haveResult_ && haveExtras_ && landlord_ == seat_ && lastPlayer_ < 0) Lead();
}

void TestPlayer::Lead() {
  if (hand_.empty()) {
    faults_.push_back("asked to lead with no cards");
    return;
  }
  const auto lowest = std::min_element(hand_.begin(), hand_.end(),
                                       [](auto a, auto b) { return RankOf(a) < RankOf(b); });
  PlayRecord play;
  play.tableNumber = kTable;
  play.seat = static_cast<std::uint8_t>(seat_);
  play.count = 1;
  play.cards[0] = static_cast<std::uint8_t>(FoldCard(*lowest));
  play.comboType = kSingle;
  play.keyRank = static_cast<std::uint8_t>(RankOf(*lowest));
  if (auto packet = BuildPacket(MessageType::PlayCards, play)) Send(*packet);
}

void TestPlayer::Pass() {
  auto packet =
      BuildPacket(MessageType::PlayPass, SeatRecord{kTable, static_cast<std::uint8_t>(seat_)});
  if (packet) Send(*packet);
}

}  // namespace quarn::test
