// A packet decoded by its own header: for tools, bots, logs and the fuzzer.
#pragma once

#include <optional>
#include <string>
#include <variant>

#include "protocol/packet_builder.h"

namespace quarn {

// monostate: a type with no body to decode (GameSpare, reserved codes).
using MessageBody =
    std::variant<std::monostate, LoginRecord, DealRecord, BidRecord, PlayRecord, SeatRecord,
                 GameEndRecord, ChatRecord, IconRecord, TableStateRecord, AutoPlayRecord,
                 TurnClockRecord, StandingsRequestRecord, StandingsLineRecord,
                 ReplayListRequestRecord, ReplayListLineRecord, ReplayGameRequestRecord,
                 ReplayGamePartRecord, LobbyRequestRecord, LobbyLineRecord, WatchRequestRecord,
                 WatchReplyRecord>;

struct DecodedMessage {
  PacketHeader header;
  MessageBody body;
};

// An empty record of the family that carries `type`; monostate for a type
// without a body (GameSpare, reserved codes, codes outside the table).
MessageBody EmptyBodyFor(MessageType type);

// Checks the header, then decodes the body with the decoder of the header's
// type. None when the header check or the body decoder fails, or the type is
// outside the message table.
std::optional<DecodedMessage> DecodeMessage(const Packet& packet);

// One line naming the message and its fields, text shown as UTF-8, e.g.
// "BidOffer table=1 seat=2 points=3".
std::string DescribeMessage(const DecodedMessage& message);

}  // namespace quarn
