// Whole packets from records, and body coding chosen by message type.
#pragma once

#include <optional>

#include "protocol/pcpauto.h"
#include "protocol/pcpbid.h"
#include "protocol/pcpchat.h"
#include "protocol/pcpdeal.h"
#include "protocol/pcpgame.h"
#include "protocol/pcpheadtail.h"
#include "protocol/pcplobby.h"
#include "protocol/pcplogin.h"
#include "protocol/pcpother.h"
#include "protocol/pcpplay.h"
#include "protocol/pcpreplay.h"
#include "protocol/pcpstandings.h"
#include "protocol/pcpstate.h"

namespace quarn {

// The body encoder of `type` for a record of its family; 1 when the record's
// family does not carry `type` or the encoder refuses the record.
int EncodeBody(MessageType type, const LoginRecord& record, Packet& packet);
int EncodeBody(MessageType type, const DealRecord& record, Packet& packet);
int EncodeBody(MessageType type, const BidRecord& record, Packet& packet);
int EncodeBody(MessageType type, const PlayRecord& record, Packet& packet);
int EncodeBody(MessageType type, const SeatRecord& record,
               Packet& packet);  // PlayPass, PlayTurn, PlayerLeave, StateRequest
int EncodeBody(MessageType type, const GameEndRecord& record, Packet& packet);
int EncodeBody(MessageType type, const ChatRecord& record, Packet& packet);
int EncodeBody(MessageType type, const IconRecord& record, Packet& packet);
int EncodeBody(MessageType type, const TableStateRecord& record, Packet& packet);
int EncodeBody(MessageType type, const AutoPlayRecord& record, Packet& packet);
int EncodeBody(MessageType type, const TurnClockRecord& record, Packet& packet);
int EncodeBody(MessageType type, const StandingsRequestRecord& record, Packet& packet);
int EncodeBody(MessageType type, const StandingsLineRecord& record, Packet& packet);
int EncodeBody(MessageType type, const ReplayListRequestRecord& record, Packet& packet);
int EncodeBody(MessageType type, const ReplayListLineRecord& record, Packet& packet);
int EncodeBody(MessageType type, const ReplayGameRequestRecord& record, Packet& packet);
int EncodeBody(MessageType type, const ReplayGamePartRecord& record, Packet& packet);
int EncodeBody(MessageType type, const LobbyRequestRecord& record, Packet& packet);
int EncodeBody(MessageType type, const LobbyLineRecord& record, Packet& packet);
int EncodeBody(MessageType type, const WatchRequestRecord& record, Packet& packet);
int EncodeBody(MessageType type, const WatchReplyRecord& record, Packet& packet);

// The matching decoders, with the same rule.
int DecodeBody(MessageType type, LoginRecord& record, const Packet& packet);
int DecodeBody(MessageType type, DealRecord& record, const Packet& packet);
int DecodeBody(MessageType type, BidRecord& record, const Packet& packet);
int DecodeBody(MessageType type, PlayRecord& record, const Packet& packet);
int DecodeBody(MessageType type, SeatRecord& record, const Packet& packet);
int DecodeBody(MessageType type, GameEndRecord& record, const Packet& packet);
int DecodeBody(MessageType type, ChatRecord& record, const Packet& packet);
int DecodeBody(MessageType type, IconRecord& record, const Packet& packet);
int DecodeBody(MessageType type, TableStateRecord& record, const Packet& packet);
int DecodeBody(MessageType type, AutoPlayRecord& record, const Packet& packet);
int DecodeBody(MessageType type, TurnClockRecord& record, const Packet& packet);
int DecodeBody(MessageType type, StandingsRequestRecord& record, const Packet& packet);
int DecodeBody(MessageType type, StandingsLineRecord& record, const Packet& packet);
int DecodeBody(MessageType type, ReplayListRequestRecord& record, const Packet& packet);
int DecodeBody(MessageType type, ReplayListLineRecord& record, const Packet& packet);
int DecodeBody(MessageType type, ReplayGameRequestRecord& record, const Packet& packet);
int DecodeBody(MessageType type, ReplayGamePartRecord& record, const Packet& packet);
int DecodeBody(MessageType type, LobbyRequestRecord& record, const Packet& packet);
int DecodeBody(MessageType type, LobbyLineRecord& record, const Packet& packet);
int DecodeBody(MessageType type, WatchRequestRecord& record, const Packet& packet);
int DecodeBody(MessageType type, WatchReplyRecord& record, const Packet& packet);

// A packet of `type` built from scratch: NewPacketOfType, EncodeHeader,
// WriteTail, then the body encoder. None when any step fails, so nothing
// half-built is ever sent. Example:
//   auto packet = BuildPacket(MessageType::BidOffer, BidRecord{1, seat, 3});
template <typename Record>
std::optional<Packet> BuildPacket(MessageType type, const Record& record) {
  std::optional<Packet> packet = NewPacketOfType(type);
  if (!packet) return std::nullopt;
  PacketHeader header;
  header.messageType = static_cast<std::uint32_t>(type);
  if (EncodeHeader(header, *packet) != 0 || WriteTail(*packet) != 0 ||
      EncodeBody(type, record, *packet) != 0) {
    return std::nullopt;
  }
  return packet;
}

// A packet of `type` with header and tail only (GameSpare, or a test's empty body).
std::optional<Packet> BuildEmptyPacket(MessageType type);

}  // namespace quarn
