#include "client/model/message_handling.h"

#include <algorithm>

#include "client/model/handlers.h"

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

// The handler's result: 0 when it acted, 1 when it refused or there is none.
int Dispatch(TClientTable& table, const Packet& packet, MessageType type) {
  namespace h = handlers;
  switch (type) {
    case MessageType::LoginReply:
      return h::LoginReply(table, packet);
    case MessageType::SeatList:
      return h::SeatList(table, packet);
    case MessageType::DealCards:
      return h::DealCards(table, packet);
    case MessageType::StartCardNotice:
      return h::StartCardNotice(table, packet);
    case MessageType::ExtraCards:
      return h::ExtraCards(table, packet);
    case MessageType::BidStart:
    case MessageType::BidTurn:
      return h::BidOpen(table, packet, type);
    case MessageType::BidResult:
      return h::BidResult(table, packet);
    case MessageType::PlayNotice:
      return h::PlayNotice(table, packet);
    case MessageType::PlayTurn:
      return h::PlayTurn(table, packet);
    case MessageType::GameEnd:
      return h::GameEnd(table, packet);
    case MessageType::GameSpare:
      return 0;  // accepted in every state, means nothing
    case MessageType::PlayerLeave:
      return h::PlayerLeave(table, packet);
    case MessageType::ChatNotice:
      return h::ChatNotice(table, packet);
    case MessageType::IconNotice:
    case MessageType::IconNoticeAlt:
      return h::IconNotice(table, packet, type);
    case MessageType::TableState:
      return h::TableState(table, packet);
    case MessageType::WatchReply:
      return h::WatchReply(table, packet);
    case MessageType::WatchState:
      return h::WatchState(table, packet);
    case MessageType::AutoPlayNotice:
      return h::AutoPlayNotice(table, packet);
    case MessageType::TurnClock:
      return h::TurnClock(table, packet);
    case MessageType::StandingsLine:
      return h::StandingsLine(table, packet);
    case MessageType::ReplayListLine:
      return h::ReplayListLine(table, packet);
    case MessageType::ReplayGamePart:
      return h::ReplayGamePart(table, packet);
    default:
      return 1;  // a client message or a reserved code: not ours to handle
  }
}

}  // namespace

int ReadPacket(TClientTable& table, const Packet& packet) {
  PacketHeader header;
  if (DecodeHeader(header, packet) != 0) return 1;
  const std::uint32_t length = PacketLength(header.messageType);
  // A known type whose bytes stop short is a truncated packet, not a message.
  if (length != 0 && packet.length < length) return 1;
  Dispatch(table, packet, header.type());  // the handler's verdict is not needed here
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
