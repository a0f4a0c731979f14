#include "protocol/packet_builder.h"

namespace quarn {

using enum MessageType;

int EncodeBody(MessageType type, const LoginRecord& record, Packet& packet) {
  switch (type) {
    case LoginRequest:
      return EncodeLoginRequest(record, packet);
    case LoginReply:
      return EncodeLoginReply(record, packet);
    case SeatList:
      return EncodeSeatList(record, packet);
    default:
      return 1;
  }
}

int EncodeBody(MessageType type, const DealRecord& record, Packet& packet) {
  switch (type) {
    case DealCards:
      return EncodeDealCards(record, packet);
    case ExtraCards:
      return EncodeExtraCards(record, packet);
    case StartCardNotice:
      return EncodeStartCardNotice(record, packet);
    default:
      return 1;
  }
}

int EncodeBody(MessageType type, const BidRecord& record, Packet& packet) {
  switch (type) {
    case BidStart:
      return EncodeBidStart(record, packet);
    case BidTurn:
      return EncodeBidTurn(record, packet);
    case BidResult:
      return EncodeBidResult(record, packet);
    case BidPass:
      return EncodeBidPass(record, packet);
    case BidOffer:
      return EncodeBidOffer(record, packet);
    default:
      return 1;
  }
}

int EncodeBody(MessageType type, const PlayRecord& record, Packet& packet) {
  switch (type) {
    case PlayCards:
      return EncodePlayCards(record, packet);
    case PlayNotice:
      return EncodePlayNotice(record, packet);
    default:
      return 1;
  }
}

int EncodeBody(MessageType type, const SeatRecord& record, Packet& packet) {
  switch (type) {
    case PlayPass:
      return EncodePlayPass(record, packet);
    case PlayTurn:
      return EncodePlayTurn(record, packet);
    case PlayerLeave:
      return EncodePlayerLeave(record, packet);
    case StateRequest:
      return EncodeStateRequest(record, packet);
    default:
      return 1;
  }
}

int EncodeBody(MessageType type, const GameEndRecord& record, Packet& packet) {
  return type == GameEnd ? EncodeGameEnd(record, packet) : 1;
}

int EncodeBody(MessageType type, const ChatRecord& record, Packet& packet) {
  switch (type) {
    case ChatSay:
      return EncodeChatSay(record, packet);
    case ChatNotice:
      return EncodeChatNotice(record, packet);
    default:
      return 1;
  }
}

int EncodeBody(MessageType type, const IconRecord& record, Packet& packet) {
  switch (type) {
    case IconChange:
      return EncodeIconChange(record, packet);
    case IconChangeAlt:
      return EncodeIconChangeAlt(record, packet);
    case IconNotice:
      return EncodeIconNotice(record, packet);
    case IconNoticeAlt:
      return EncodeIconNoticeAlt(record, packet);
    default:
      return 1;
  }
}

int DecodeBody(MessageType type, LoginRecord& record, const Packet& packet) {
  switch (type) {
    case LoginRequest:
      return DecodeLoginRequest(record, packet);
    case LoginReply:
      return DecodeLoginReply(record, packet);
    case SeatList:
      return DecodeSeatList(record, packet);
    default:
      return 1;
  }
}

int DecodeBody(MessageType type, DealRecord& record, const Packet& packet) {
  switch (type) {
    case DealCards:
      return DecodeDealCards(record, packet);
    case ExtraCards:
      return DecodeExtraCards(record, packet);
    case StartCardNotice:
      return DecodeStartCardNotice(record, packet);
    default:
      return 1;
  }
}

int DecodeBody(MessageType type, BidRecord& record, const Packet& packet) {
  switch (type) {
    case BidStart:
      return DecodeBidStart(record, packet);
    case BidTurn:
      return DecodeBidTurn(record, packet);
    case BidResult:
      return DecodeBidResult(record, packet);
    case BidPass:
      return DecodeBidPass(record, packet);
    case BidOffer:
      return DecodeBidOffer(record, packet);
    default:
      return 1;
  }
}

int DecodeBody(MessageType type, PlayRecord& record, const Packet& packet) {
  switch (type) {
    case PlayCards:
      return DecodePlayCards(record, packet);
    case PlayNotice:
      return DecodePlayNotice(record, packet);
    default:
      return 1;
  }
}

int DecodeBody(MessageType type, SeatRecord& record, const Packet& packet) {
  switch (type) {
    case PlayPass:
      return DecodePlayPass(record, packet);
    case PlayTurn:
      return DecodePlayTurn(record, packet);
    case PlayerLeave:
      return DecodePlayerLeave(record, packet);
    case StateRequest:
      return DecodeStateRequest(record, packet);
    default:
      return 1;
  }
}

int DecodeBody(MessageType type, GameEndRecord& record, const Packet& packet) {
  return type == GameEnd ? DecodeGameEnd(record, packet) : 1;
}

int DecodeBody(MessageType type, ChatRecord& record, const Packet& packet) {
  switch (type) {
    case ChatSay:
      return DecodeChatSay(record, packet);
    case ChatNotice:
      return DecodeChatNotice(record, packet);
    default:
      return 1;
  }
}

int DecodeBody(MessageType type, IconRecord& record, const Packet& packet) {
  switch (type) {
    case IconChange:
      return DecodeIconChange(record, packet);
    case IconChangeAlt:
      return DecodeIconChangeAlt(record, packet);
    case IconNotice:
      return DecodeIconNotice(record, packet);
    case IconNoticeAlt:
      return DecodeIconNoticeAlt(record, packet);
    default:
      return 1;
  }
}

int EncodeBody(MessageType type, const TableStateRecord& record, Packet& packet) {
  if (type == WatchState) return EncodeWatchState(record, packet);
  return type == TableState ? EncodeTableState(record, packet) : 1;
}

int EncodeBody(MessageType type, const AutoPlayRecord& record, Packet& packet) {
  switch (type) {
    case AutoPlayRequest:
      return EncodeAutoPlayRequest(record, packet);
    case AutoPlayNotice:
      return EncodeAutoPlayNotice(record, packet);
    default:
      return 1;
  }
}

int EncodeBody(MessageType type, const TurnClockRecord& record, Packet& packet) {
  return type == TurnClock ? EncodeTurnClock(record, packet) : 1;
}

int DecodeBody(MessageType type, TableStateRecord& record, const Packet& packet) {
  if (type == WatchState) return DecodeWatchState(record, packet);
  return type == TableState ? DecodeTableState(record, packet) : 1;
}

int DecodeBody(MessageType type, AutoPlayRecord& record, const Packet& packet) {
  switch (type) {
    case AutoPlayRequest:
      return DecodeAutoPlayRequest(record, packet);
    case AutoPlayNotice:
      return DecodeAutoPlayNotice(record, packet);
    default:
      return 1;
  }
}

int DecodeBody(MessageType type, TurnClockRecord& record, const Packet& packet) {
  return type == TurnClock ? DecodeTurnClock(record, packet) : 1;
}

int EncodeBody(MessageType type, const StandingsRequestRecord& record, Packet& packet) {
  return type == StandingsRequest ? EncodeStandingsRequest(record, packet) : 1;
}

int EncodeBody(MessageType type, const StandingsLineRecord& record, Packet& packet) {
  return type == StandingsLine ? EncodeStandingsLine(record, packet) : 1;
}

int DecodeBody(MessageType type, StandingsRequestRecord& record, const Packet& packet) {
  return type == StandingsRequest ? DecodeStandingsRequest(record, packet) : 1;
}

int DecodeBody(MessageType type, StandingsLineRecord& record, const Packet& packet) {
  return type == StandingsLine ? DecodeStandingsLine(record, packet) : 1;
}

int EncodeBody(MessageType type, const ReplayListRequestRecord& record, Packet& packet) {
  return type == ReplayListRequest ? EncodeReplayListRequest(record, packet) : 1;
}

int EncodeBody(MessageType type, const ReplayListLineRecord& record, Packet& packet) {
  return type == ReplayListLine ? EncodeReplayListLine(record, packet) : 1;
}

int EncodeBody(MessageType type, const ReplayGameRequestRecord& record, Packet& packet) {
  return type == ReplayGameRequest ? EncodeReplayGameRequest(record, packet) : 1;
}

int EncodeBody(MessageType type, const ReplayGamePartRecord& record, Packet& packet) {
  return type == ReplayGamePart ? EncodeReplayGamePart(record, packet) : 1;
}

int DecodeBody(MessageType type, ReplayListRequestRecord& record, const Packet& packet) {
  return type == ReplayListRequest ? DecodeReplayListRequest(record, packet) : 1;
}

int DecodeBody(MessageType type, ReplayListLineRecord& record, const Packet& packet) {
  return type == ReplayListLine ? DecodeReplayListLine(record, packet) : 1;
}

int DecodeBody(MessageType type, ReplayGameRequestRecord& record, const Packet& packet) {
  return type == ReplayGameRequest ? DecodeReplayGameRequest(record, packet) : 1;
}

int DecodeBody(MessageType type, ReplayGamePartRecord& record, const Packet& packet) {
  return type == ReplayGamePart ? DecodeReplayGamePart(record, packet) : 1;
}

int EncodeBody(MessageType type, const LobbyRequestRecord& record, Packet& packet) {
  return type == LobbyRequest ? EncodeLobbyRequest(record, packet) : 1;
}

int EncodeBody(MessageType type, const LobbyLineRecord& record, Packet& packet) {
  return type == LobbyLine ? EncodeLobbyLine(record, packet) : 1;
}

int EncodeBody(MessageType type, const WatchRequestRecord& record, Packet& packet) {
  return type == WatchRequest ? EncodeWatchRequest(record, packet) : 1;
}

int EncodeBody(MessageType type, const WatchReplyRecord& record, Packet& packet) {
  return type == WatchReply ? EncodeWatchReply(record, packet) : 1;
}

int DecodeBody(MessageType type, LobbyRequestRecord& record, const Packet& packet) {
  return type == LobbyRequest ? DecodeLobbyRequest(record, packet) : 1;
}

int DecodeBody(MessageType type, LobbyLineRecord& record, const Packet& packet) {
  return type == LobbyLine ? DecodeLobbyLine(record, packet) : 1;
}

int DecodeBody(MessageType type, WatchRequestRecord& record, const Packet& packet) {
  return type == WatchRequest ? DecodeWatchRequest(record, packet) : 1;
}

int DecodeBody(MessageType type, WatchReplyRecord& record, const Packet& packet) {
  return type == WatchReply ? DecodeWatchReply(record, packet) : 1;
}

std::optional<Packet> BuildEmptyPacket(MessageType type) {
  std::optional<Packet> packet = NewPacketOfType(type);
  if (!packet) return std::nullopt;
  PacketHeader header;
  header.messageType = static_cast<std::uint32_t>(type);
  if (EncodeHeader(header, *packet) != 0 || WriteTail(*packet) != 0) return std::nullopt;
  return packet;
}

}  // namespace quarn
