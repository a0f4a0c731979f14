#include "protocol/pcpheadtail.h"

#include <algorithm>
#include <cstring>

#include "protocol/byte_order.h"

namespace quarn {
namespace {

using enum MessageType;
using enum Direction;

constexpr std::array<MessageInfo, 30> kTable{{
    {IconChange, "IconChange", OtherLength, ClientToServer},
    {IconChangeAlt, "IconChangeAlt", OtherLength, ClientToServer},
    {PlayerLeave, "PlayerLeave", GameLength, ServerToClient},
    {ChatSay, "ChatSay", ChatLength, ClientToServer},
    {PlayCards, "PlayCards", PlayLength, ClientToServer},
    {PlayPass, "PlayPass", PlayLength, ClientToServer},
    {LoginRequest, "LoginRequest", LoginLength, ClientToServer},
    {ReservedEC, "", DealLength, None},
    {BidPass, "BidPass", BidLength, ClientToServer},
    {BidOffer, "BidOffer", BidLength, ClientToServer},
    {IconNotice, "IconNotice", OtherLength, ServerToClient},
    {IconNoticeAlt, "IconNoticeAlt", OtherLength, ServerToClient},
    {GameEnd, "GameEnd", GameLength, ServerToClient},
    {GameSpare, "GameSpare", GameLength, ServerToClient},
    {ChatNotice, "ChatNotice", ChatLength, ServerToClient},
    {Reserved1A1, "", PlayLength, None},
    {Reserved1A2, "", PlayLength, None},
    {PlayTurn, "PlayTurn", PlayLength, ServerToClient},
    {PlayNotice, "PlayNotice", PlayLength, ServerToClient},
    {LoginReply, "LoginReply", LoginLength, ServerToClient},
    {SeatList, "SeatList", LoginLength, ServerToClient},
    {StartCardNotice, "StartCardNotice", DealLength, ServerToClient},
    {ExtraCards, "ExtraCards", DealLength, ServerToClient},
    {Reserved1EB, "", DealLength, None},
    {DealCards, "DealCards", DealLength, ServerToClient},
    {Reserved1ED, "", DealLength, None},
    {Reserved1EE, "", DealLength, None},
    {BidTurn, "BidTurn", BidLength, ServerToClient},
    {BidResult, "BidResult", BidLength, ServerToClient},
    {BidStart, "BidStart", BidLength, ServerToClient},
}};

constexpr std::array<MessageInfo, 16> kAdded{{
    {StateRequest, "StateRequest", StateRequestLength, ClientToServer},
    {AutoPlayRequest, "AutoPlayRequest", AutoPlayRequestLength, ClientToServer},
    {StandingsRequest, "StandingsRequest", StandingsRequestLength, ClientToServer},
    {ReplayListRequest, "ReplayListRequest", ReplayListRequestLength, ClientToServer},
    {ReplayGameRequest, "ReplayGameRequest", ReplayGameRequestLength, ClientToServer},
    {LobbyRequest, "LobbyRequest", LobbyRequestLength, ClientToServer},
    {WatchRequest, "WatchRequest", WatchRequestLength, ClientToServer},
    {TableState, "TableState", TableStateLength, ServerToClient},
    {AutoPlayNotice, "AutoPlayNotice", AutoPlayNoticeLength, ServerToClient},
    {TurnClock, "TurnClock", TurnClockLength, ServerToClient},
    {StandingsLine, "StandingsLine", StandingsLineLength, ServerToClient},
    {ReplayListLine, "ReplayListLine", ReplayListLineLength, ServerToClient},
    {ReplayGamePart, "ReplayGamePart", ReplayGamePartLength, ServerToClient},
    {LobbyLine, "LobbyLine", LobbyLineLength, ServerToClient},
    {WatchReply, "WatchReply", WatchReplyLength, ServerToClient},
    {WatchState, "WatchState", WatchStateLength, ServerToClient},
}};

constexpr bool ByCode(const MessageInfo& a, const MessageInfo& b) {
  return a.type < b.type;
}
static_assert(std::is_sorted(kTable.begin(), kTable.end(), ByCode));
static_assert(std::is_sorted(kAdded.begin(), kAdded.end(), ByCode));
// Every added code lies beyond the shared table, so the two never overlap.
static_assert(kTable.back().type < kAdded.front().type);

// Every code is 0xABAB0000 plus a low part under 0x400: an index by the low
// part finds a message in one step, as every packet sent and read asks.
constexpr std::uint32_t kCodeBase = 0xABAB0000;
constexpr std::size_t kLowCodes = 0x400;

constexpr auto kIndexByLowCode = [] {
  std::array<std::uint8_t, kLowCodes> index{};  // 0: no message; else the place + 1
  std::uint8_t place = 0;
  for (const MessageInfo& info : kTable) index[std::uint32_t(info.type) - kCodeBase] = ++place;
  for (const MessageInfo& info : kAdded) index[std::uint32_t(info.type) - kCodeBase] = ++place;
  return index;
}();
static_assert(std::uint32_t(kTable.front().type) >= kCodeBase &&
              std::uint32_t(kAdded.back().type) - kCodeBase < kLowCodes &&
              kTable.size() + kAdded.size() < 256);

const MessageInfo* FindByPlace(std::size_t place) {
  return place <= kTable.size() ? &kTable[place - 1] : &kAdded[place - 1 - kTable.size()];
}

constexpr std::array<std::uint32_t, 4> kExpectedWords{HeaderMagic, HeaderMagic, ProtocolId,
                                                      ProtocolVersion};

void PutLittleEndian(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::span<const MessageInfo> MessageTable() {
  return kTable;
}

std::span<const MessageInfo> AddedMessageTable() {
  return kAdded;
}

const MessageInfo* FindMessage(std::uint32_t type) {
  const std::uint32_t low = type - kCodeBase;
  if (low >= kLowCodes || kIndexByLowCode[low] == 0) return nullptr;
  return FindByPlace(kIndexByLowCode[low]);
}

std::string_view MessageName(std::uint32_t type) {
  const MessageInfo* info = FindMessage(type);
  if (info == nullptr) return "unknown";
  return info->name.empty() ? std::string_view("reserved") : info->name;
}

std::uint32_t Packet::RawType() const {
  return wire::GetU32(bytes, 16);
}

Packet PacketFromBytes(std::span<const std::uint8_t> raw) {
  Packet packet;
  packet.length = std::min(raw.size(), MaxPacketSize);
  std::copy_n(raw.begin(), packet.length, packet.bytes.begin());
  return packet;
}

Packet NewPacket() {
  Packet packet;
  packet.length = MaxPacketSize;
  return packet;
}

std::optional<Packet> NewPacketOfType(MessageType type) {
  std::uint32_t length = PacketLength(type);
  if (length == 0) return std::nullopt;
  Packet packet;
  packet.length = length;
  return packet;
}

int FreePacket(std::optional<Packet>& packet) {
  if (!packet) return 1;
  packet.reset();
  return 0;
}

std::uint32_t PacketLength(std::uint32_t type) {
  const MessageInfo* info = FindMessage(type);
  return info == nullptr ? 0 : info->length;
}

std::uint32_t PacketLength(MessageType type) {
  return PacketLength(std::uint32_t(type));
}

int EncodeHeader(const PacketHeader& header, Packet& packet) {
  for (std::size_t i = 0; i < kExpectedWords.size(); ++i) {
    wire::PutU32(packet.bytes, 4 * i, kExpectedWords[i]);
  }
  wire::PutU32(packet.bytes, 16, header.messageType);
  std::uint32_t length = PacketLength(header.messageType);
  if (length == 0) return 1;
  wire::PutU32(packet.bytes, 20, length);
  wire::PutU32(packet.bytes, 24, 0);
  wire::PutU32(packet.bytes, 28, 0);
  packet.length = length;
  return 0;
}

int DecodeHeader(PacketHeader& header, std::span<const std::uint8_t> bytes) {
  if (bytes.size() < HeaderSize) return 1;
  std::array<std::uint32_t*, 4> fixed{&header.magic0, &header.magic1, &header.protocolId,
                                      &header.protocolVersion};
  for (std::size_t i = 0; i < fixed.size(); ++i) {
    *fixed[i] = wire::GetU32(bytes, 4 * i);
    if (*fixed[i] != kExpectedWords[i]) return 1;
  }
  header.messageType = wire::GetU32(bytes, 16);
  header.packetLength = wire::GetU32(bytes, 20);
  header.resultCode = wire::GetU32(bytes, 24);
  header.reserved = wire::GetU32(bytes, 28);
  return header.resultCode == 0 ? 0 : 1;
}

int DecodeHeader(PacketHeader& header, const Packet& packet) {
  return DecodeHeader(header, packet.data());
}

int WriteTail(Packet& packet) {
  std::uint32_t length = wire::GetU32(packet.bytes, 20);
  // A length from the table is 48 or more; anything shorter would put the
  // tail over the header (or before the buffer).
  if (length > MaxPacketSize || length < HeaderSize + TailSize) return 1;
  PutLittleEndian(packet.bytes, length - 8, TailWord);
  PutLittleEndian(packet.bytes, length - 4, TailWord);
  return 0;
}

int RewriteHeader(Packet& packet, MessageType type) {
  if (PacketLength(type) == 0 || PacketLength(type) != packet.length) return 1;
  PacketHeader header;
  header.messageType = std::uint32_t(type);
  return EncodeHeader(header, packet);
}

}  // namespace quarn
