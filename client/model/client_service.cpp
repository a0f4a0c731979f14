#include "client/model/client_service.h"

#include <algorithm>

#include "client/model/service_handlers.h"

namespace quarn::client {

namespace handlers {

bool InState(const TClientTable& table, std::initializer_list<TGameState> states) {
  return std::find(states.begin(), states.end(), table.GameState) != states.end();
}

bool OwnTable(const TClientTable& table, std::int32_t tableNumber) {
  return static_cast<std::uint32_t>(tableNumber) == table.TableNumber;
}

}  // namespace handlers

namespace {

void Dispatch(TClientTable& table, const Packet& packet, MessageType type) {
  namespace h = handlers;
  switch (type) {
    case MessageType::LoginReply:
      h::LoginReply(table, packet);
      break;
    case MessageType::SeatList:
      h::SeatList(table, packet);
      break;
    case MessageType::DealCards:
      h::DealCards(table, packet);
      break;
    case MessageType::StartCardNotice:
      h::StartCardNotice(table, packet);
      break;
    case MessageType::ExtraCards:
      h::ExtraCards(table, packet);
      break;
    case MessageType::BidStart:
    case MessageType::BidTurn:
      h::BidOpen(table, packet, type);
      break;
    case MessageType::BidResult:
      h::BidResult(table, packet);
      break;
    case MessageType::PlayNotice:
      h::PlayNotice(table, packet);
      break;
    case MessageType::PlayTurn:
      h::PlayTurn(table, packet);
      break;
    case MessageType::GameEnd:
      h::GameEnd(table, packet);
      break;
    case MessageType::GameSpare:
      break;  // accepted in every state, means nothing
    case MessageType::PlayerLeave:
      h::PlayerLeave(table, packet);
      break;
    case MessageType::ChatNotice:
      h::ChatNotice(table, packet);
      break;
    case MessageType::IconNotice:
    case MessageType::IconNoticeAlt:
      h::IconNotice(table, packet, type);
      break;
    default:
      break;  // a client message or a reserved code: not ours to handle
  }
}

}  // namespace

int ReadPacket(TClientTable& table, const Packet& packet) {
  PacketHeader header;
  if (DecodeHeader(header, packet) != 0) return 1;
  const std::uint32_t length = PacketLength(header.messageType);
  // A known type whose bytes stop short is a truncated packet, not a message.
  if (length != 0 && packet.length < length) return 1;
  Dispatch(table, packet, header.type());
  return 0;
}

int ReadPacket(TClientTable& table, std::span<const std::uint8_t> packet) {
  if (packet.size() > MaxPacketSize) return 1;
  return ReadPacket(table, PacketFromBytes(packet));
}

int FeedBytes(TClientTable& table, StreamAssembler& assembler,
              std::span<const std::uint8_t> bytes) {
  assembler.Feed(bytes);
  int dispatched = 0;
  while (std::optional<Packet> packet = assembler.Next()) {
    if (ReadPacket(table, *packet) == 0) ++dispatched;
  }
  return dispatched;
}

}  // namespace quarn::client
