// Packet framing: the 32-byte header, the 8-byte tail, the message table and
// the packet buffer.
//
// Byte order, stated once: every 32-bit word of the header and of a body is in
// network order (most significant byte first); the tail is the only place
// written little-endian. Layout of every packet:
//   [0, 32)              header, eight words (see PacketHeader)
//   [32, length - 8)     body, per message type (pcplogin.h ... pcpchat.h)
//   [length - 8, length) tail: 0xCEF1CEF1 twice, little-endian (F1 CE F1 CE ...)
// Operations return 0 for success and 1 for failure.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace quarn {

inline constexpr std::size_t MaxPacketSize = 200;  // the receive buffer; no packet is longer
inline constexpr std::size_t HeaderSize = 32;
inline constexpr std::size_t TailSize = 8;
inline constexpr std::uint32_t HeaderMagic = 0xCEF1CEF1;
inline constexpr std::uint32_t ProtocolId = 0x514E1203;
inline constexpr std::uint32_t ProtocolVersion = 0x01000000;
inline constexpr std::uint32_t TailWord = 0xCEF1CEF1;

// Every code is 0xABAB00xx (from a client) or 0xABAB01xx (from the server,
// and PlayerLeave). The high nibble of the last byte names the body family.
enum class MessageType : std::uint32_t {
  IconChange = 0xABAB0040,       ///< client: the sender's new head and service icons
  IconChangeAlt = 0xABAB0050,    ///< client: handled exactly like IconChange
  PlayerLeave = 0xABAB0062,      ///< server to table: a seat was vacated
  ChatSay = 0xABAB0070,          ///< client: a line of chat
  PlayCards = 0xABAB00AA,        ///< client: the sender lays a combination
  PlayPass = 0xABAB00AD,         ///< client: the sender passes
  LoginRequest = 0xABAB00C1,     ///< client: asks for a seat
  ReservedEC = 0xABAB00EC,       ///< reserved: nobody sends or handles it
  BidPass = 0xABAB00FB,          ///< client: declines to bid
  BidOffer = 0xABAB00FC,         ///< client: bids points
  IconNotice = 0xABAB0141,       ///< server to table: a seat's head and service icons
  IconNoticeAlt = 0xABAB0151,    ///< server: the client treats it as IconNotice
  GameEnd = 0xABAB0160,          ///< server to table: winner, names, rounds, scores, icons
  GameSpare = 0xABAB0161,        ///< server: accepted and ignored by the client
  ChatNotice = 0xABAB0171,       ///< server to table: a seat's chat line
  Reserved1A1 = 0xABAB01A1,      ///< reserved
  Reserved1A2 = 0xABAB01A2,      ///< reserved
  PlayTurn = 0xABAB01AE,         ///< server to table: the seat whose play is awaited
  PlayNotice = 0xABAB01AF,       ///< server to table: a seat laid cards (count 0: passed)
  LoginReply = 0xABAB01C1,       ///< server to requester: the table and seat granted
  SeatList = 0xABAB01C2,         ///< server to table: names and icons of the four seats
  StartCardNotice = 0xABAB01E9,  ///< server to table: the start card and its seat
  ExtraCards = 0xABAB01EA,       ///< server to landlord: the 8 cards left after the deal
  Reserved1EB = 0xABAB01EB,      ///< reserved
  DealCards = 0xABAB01EC,        ///< server to each seat: that seat's 25 cards
  Reserved1ED = 0xABAB01ED,      ///< reserved
  Reserved1EE = 0xABAB01EE,      ///< reserved
  BidTurn = 0xABAB01FC,          ///< server to table: the next bidder and the high bid
  BidResult = 0xABAB01FD,        ///< server to table: the landlord and the game's points
  BidStart = 0xABAB01FE,         ///< server to table: bidding opens at a seat
  // Our own messages, outside the table above (see docs/protocol.md). A peer
  // that knows only that table skips them whole: their lengths are 48..200.
  StateRequest = 0xABAB0210,       ///< client: asks again for its table's state
  AutoPlayRequest = 0xABAB0220,    ///< client: hands the own seat to the computer, or takes it back
  StandingsRequest = 0xABAB0260,   ///< client: asks for the top standings or its own line
  ReplayListRequest = 0xABAB0270,  ///< client: asks for the games it sat in, newest first
  ReplayGameRequest = 0xABAB0280,  ///< client: asks for one stored game whole
  LobbyRequest = 0xABAB0290,       ///< client: asks for the tables in use
  WatchRequest = 0xABAB02A0,       ///< client: asks to watch a table without a seat
  TableState = 0xABAB0311,         ///< server to one seat: the game in play, for a returning player
  AutoPlayNotice = 0xABAB0321,     ///< server to table: which seats the computer plays
  TurnClock = 0xABAB0331,          ///< server to table: the time the seat to move has left
  StandingsLine = 0xABAB0361,      ///< server to one connection: one line of the standings
  ReplayListLine = 0xABAB0371,     ///< server to one connection: one game of the asker's list
  ReplayGamePart = 0xABAB0381,     ///< server to one connection: one part of a stored game
  LobbyLine = 0xABAB0391,          ///< server to one connection: one table in use
  WatchReply = 0xABAB03A1,         ///< server to one connection: watching, or why not
  WatchState = 0xABAB03B1,  ///< server to a watcher: the game in play, as the public knows it
};

// Body lengths by family (header and tail included).
inline constexpr std::size_t OtherLength = 56;  // icons
inline constexpr std::size_t GameLength = 192;  // game end, player leave
inline constexpr std::size_t ChatLength = 104;
inline constexpr std::size_t PlayLength = 96;
inline constexpr std::size_t LoginLength = 180;
inline constexpr std::size_t DealLength = 76;
inline constexpr std::size_t BidLength = 48;
// Our own messages.
inline constexpr std::size_t StateRequestLength = 48;
inline constexpr std::size_t AutoPlayRequestLength = 48;
inline constexpr std::size_t TableStateLength = 184;
inline constexpr std::size_t AutoPlayNoticeLength = 56;
inline constexpr std::size_t TurnClockLength = 56;
inline constexpr std::size_t StandingsRequestLength = 48;
inline constexpr std::size_t StandingsLineLength = 104;
inline constexpr std::size_t ReplayListRequestLength = 48;
inline constexpr std::size_t ReplayListLineLength = 144;
inline constexpr std::size_t ReplayGameRequestLength = 56;
inline constexpr std::size_t ReplayGamePartLength = 200;
inline constexpr std::size_t LobbyRequestLength = 48;
inline constexpr std::size_t LobbyLineLength = 128;
inline constexpr std::size_t WatchRequestLength = 64;
inline constexpr std::size_t WatchReplyLength = 56;
inline constexpr std::size_t WatchStateLength = 184;

enum class Direction : std::uint8_t { None, ClientToServer, ServerToClient };

struct MessageInfo {
  MessageType type;
  std::string_view name;  // "" for the reserved codes
  std::uint32_t length;
  Direction direction;
};

// The whole message table every peer knows, in code order.
std::span<const MessageInfo> MessageTable();
// The messages this program adds to it, in code order.
std::span<const MessageInfo> AddedMessageTable();
// The entry of `type` in either table; nullptr for a code outside both.
const MessageInfo* FindMessage(std::uint32_t type);
// The name of `type` ("BidOffer"), "reserved" or "unknown".
std::string_view MessageName(std::uint32_t type);

// The host-order form of the eight header words.
struct PacketHeader {
  std::uint32_t magic0 = 0;
  std::uint32_t magic1 = 0;
  std::uint32_t protocolId = 0;
  std::uint32_t protocolVersion = 0;
  std::uint32_t messageType = 0;  // any code may arrive; compare with MessageType
  std::uint32_t packetLength = 0;
  std::uint32_t resultCode = 0;
  std::uint32_t reserved = 0;

  MessageType type() const { return static_cast<MessageType>(messageType); }
};

// One packet buffer. `bytes` is always MaxPacketSize long, so fixed offsets
// never leave it; `length` is how many bytes go on (or came off) the wire.
struct Packet {
  std::array<std::uint8_t, MaxPacketSize> bytes{};
  std::size_t length = 0;

  std::span<std::uint8_t> data() { return {bytes.data(), std::min(length, MaxPacketSize)}; }
  std::span<const std::uint8_t> data() const {
    return {bytes.data(), std::min(length, MaxPacketSize)};
  }
  // The declared message type (header word 4), without any check.
  std::uint32_t RawType() const;
};

// A packet holding `raw` (cut to MaxPacketSize); the rest of the buffer is zero.
Packet PacketFromBytes(std::span<const std::uint8_t> raw);

// A zero-filled receive buffer of MaxPacketSize bytes.
Packet NewPacket();
// A zero-filled buffer of exactly the type's length; none outside the table.
std::optional<Packet> NewPacketOfType(MessageType type);
// Releases a buffer from either of the two: 1 when there was none.
int FreePacket(std::optional<Packet>& packet);

// The type's length from the message table; 0 for a code outside it.
std::uint32_t PacketLength(MessageType type);
std::uint32_t PacketLength(std::uint32_t type);

// Writes words 0..4 (magic, magic, id, version, type). For a type outside the
// table fails and leaves words 5..7 untouched; else writes the length, 0, 0,
// sets packet.length to the type's length and succeeds.
int EncodeHeader(const PacketHeader& header, Packet& packet);
// Fills `header` word by word; fails at the first of words 0..3 that differs
// from its expected value, when ResultCode is not 0, or when fewer than 32
// bytes are given.
int DecodeHeader(PacketHeader& header, std::span<const std::uint8_t> bytes);
int DecodeHeader(PacketHeader& header, const Packet& packet);

// Writes the tail at the end given by the header's PacketLength word. Fails,
// writing nothing, when that length exceeds MaxPacketSize or is too short to
// put the tail behind the header.
int WriteTail(Packet& packet);

// For relaying in place: rewrites the header for `type`, keeping the body and
// the tail. Fails (changing nothing) unless `type` has the packet's length.
int RewriteHeader(Packet& packet, MessageType type);

}  // namespace quarn
