// Arbitrary bytes through the stream assembler and every body decoder.
// A decoder may refuse anything; it must never read outside the packet, crash,
// or accept a seat that is not 0..3. The same bytes as a PROXY header: a whole
// one lies within them and the bound, and cut short it waits for the rest.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "protocol/any_message.h"
#include "protocol/proxy_header.h"
#include "protocol/record_parts.h"
#include "protocol/stream_assembler.h"

namespace {

using namespace quarn;

void Require(bool condition) {
  if (!condition) std::abort();
}

// A watcher's state names no seat (4); every other seat is 0..3.
void CheckSeat(const MessageBody& body, bool watcher) {
  std::visit(
      [watcher](const auto& r) {
        using R = std::decay_t<decltype(r)>;
        if constexpr (requires { r.seat; } && !std::is_same_v<R, LoginRecord>) {
          Require(r.seat < 4 || (watcher && r.seat == kWatcherSeat));
        }
        if constexpr (std::is_same_v<R, GameEndRecord>) Require(r.winner < 4);
      },
      body);
}

// Every decoder of every family on the same bytes, whatever the header says.
void DecodeAs(MessageType type, const Packet& packet) {
  LoginRecord login;
  DealRecord deal;
  BidRecord bid;
  PlayRecord play;
  SeatRecord seat;
  GameEndRecord end;
  ChatRecord chat;
  IconRecord icon;
  TableStateRecord state;
  AutoPlayRecord control;
  TurnClockRecord clock;
  StandingsRequestRecord standingsAsk;
  StandingsLineRecord standing;
  ReplayListRequestRecord listAsk;
  ReplayListLineRecord listLine;
  ReplayGameRequestRecord gameAsk;
  ReplayGamePartRecord part;
  LobbyLineRecord lobby;
  WatchReplyRecord watch;
  // A decoder accepts only a packet that holds the whole of its message.
  const auto decodes = [type, &packet](auto& record) {
    if (DecodeBody(type, record, packet) != 0) return false;
    Require(packet.length >= PacketLength(static_cast<std::uint32_t>(type)));
    return true;
  };
  if (decodes(login) && type == MessageType::LoginReply) {
    Require(login.seat < 4);
  }
  if (decodes(deal)) Require(deal.seat < 4 && deal.count <= 25);
  if (decodes(bid)) Require(bid.seat < 4);
  if (decodes(play)) Require(play.seat < 4 && play.count <= 33);
  if (decodes(seat)) Require(seat.seat < 4);
  if (decodes(end)) Require(end.winner < 4);
  if (decodes(chat)) Require(chat.text.size() <= 59);
  if (decodes(icon)) Require(icon.seat < 4);
  if (decodes(state)) {
    Require(state.turn < 4 && state.landlord < 4 && state.leadSeat < 4 && state.tableCount <= 33);
    if (type == MessageType::WatchState) {
      Require(state.seat == kWatcherSeat && state.handCount == 0);
    } else {
      Require(state.seat < 4 && state.handCount == state.cardCount[state.seat]);
    }
  }
  if (decodes(control)) {
    Require(control.seat < 4 && control.control <= SeatControl::PlayerGone);
  }
  if (decodes(clock)) Require(clock.seat < 4 && clock.leftMs <= clock.turnMs);
  if (decodes(standingsAsk)) Require(standingsAsk.count <= 20);
  if (decodes(standing)) {
    Require(standing.name.size() <= 15 && standing.wins <= standing.games &&
            standing.kind <= StandingsKind::None);
    // What was read encodes back to the same bytes.
    Packet again = packet;
    Require(EncodeStandingsLine(standing, again) == 0);
  }
  if (decodes(listAsk)) Require(listAsk.count >= 1 && listAsk.count <= 20);
  if (decodes(listLine)) {
    Require(listLine.ownSeat < 4 && listLine.landlord < 4 && listLine.count <= 20);
    Packet again = packet;
    Require(EncodeReplayListLine(listLine, again) == 0);
  }
  if (decodes(gameAsk)) Require(gameAsk.gameId >= 1);
  if (decodes(lobby)) {
    Require(lobby.count <= 16 && lobby.freeSeats <= 4 && lobby.watchers <= lobby.watcherLimit);
    Packet again = packet;
    Require(EncodeLobbyLine(lobby, again) == 0);
  }
  if (decodes(watch)) Require(watch.result <= WatchResult::NoTable);
  if (decodes(part)) {
    Require(part.bytes.size() <= 136 && (part.parts == 0 || part.part < part.parts));
    Packet again = packet;
    Require(EncodeReplayGamePart(part, again) == 0);
    // A lone part joins only when it is the whole record and its sum holds.
    RecordJoiner joiner;
    if (joiner.Take(part) == RecordJoiner::Step::Whole) {
      Require(part.parts == 1 && RecordCheckSum(joiner.Bytes()) == part.checkSum);
    }
  }
}

void DecodeAsEverything(const Packet& packet) {
  for (const MessageInfo& info : MessageTable()) DecodeAs(info.type, packet);
  for (const MessageInfo& info : AddedMessageTable()) DecodeAs(info.type, packet);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::span<const std::uint8_t> bytes(data, size);
  DecodeAsEverything(PacketFromBytes(bytes));

  ProxyHeader header;
  const ProxyParse parsed = ParseProxyHeader(bytes, header);
  Require(parsed != ProxyParse::NeedMore || size < kMaxProxyV2);
  if (parsed == ProxyParse::Done) {
    Require(header.length > 0 && header.length <= size && header.length <= kMaxProxyV2);
    ProxyHeader part;
    Require(ParseProxyHeader(bytes.first(header.length - 1), part) == ProxyParse::NeedMore);
  }

  // The first byte picks the chunk size, so the fuzzer also explores splits.
  std::size_t chunk = size > 0 ? 1 + data[0] : 1;
  StreamAssembler assembler;
  for (std::size_t at = 0; at < size; at += chunk) {
    assembler.Feed(bytes.subspan(at, std::min(chunk, size - at)));
    while (std::optional<Packet> packet = assembler.Next()) {
      Require(packet->length == PacketLength(packet->RawType()));
      if (auto decoded = DecodeMessage(*packet)) {
        CheckSeat(decoded->body, decoded->header.type() == MessageType::WatchState);
        (void)DescribeMessage(*decoded);
      }
    }
    Require(assembler.Pending() < MaxPacketSize);
  }
  return 0;
}
