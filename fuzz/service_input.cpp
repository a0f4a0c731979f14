#include "fuzz/service_input.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>
#include <variant>

#include "core/movegen.h"
#include "core/tpoker.h"
#include "protocol/any_message.h"

namespace quarn::fuzz {

void Require(bool condition, const char* rule) {
  if (condition) return;
  std::fprintf(stderr, "broken: %s\n", rule);
  std::abort();
}

std::int32_t FuzzInput::Int() {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value = value << 8 | Byte();
  return static_cast<std::int32_t>(value);
}

std::vector<std::uint8_t> FuzzInput::Bytes(std::size_t count) {
  count = std::min(count, bytes_.size() - std::min(at_, bytes_.size()));
  std::vector<std::uint8_t> out(bytes_.begin() + static_cast<std::ptrdiff_t>(at_),
                                bytes_.begin() + static_cast<std::ptrdiff_t>(at_ + count));
  at_ += count;
  return out;
}

namespace {

// Record fields from the input, mostly what a well-behaved sender would write.
struct Fields {
  FuzzInput& in;
  const Sender& sender;

  std::int32_t Table() {
    switch (in.Byte() % 4) {
      case 0:
      case 1:
        return sender.table;
      case 2:
        return in.Byte() % 5 - 1;
      default:
        return in.Int();
    }
  }
  std::uint8_t Seat() {
    const std::uint8_t b = in.Byte();
    return b < 160 ? sender.seat : b % 6;
  }
  std::int32_t Number() { return in.Byte() < 192 ? in.Byte() : in.Int(); }
  std::uint8_t Card() {
    const std::uint8_t b = in.Byte();
    if (b < 128 && sender.at != nullptr) {
      const TPoker& card = sender.at->Players[sender.seat].Hand.Card(b % 33);
      if (card.IsPresent()) return static_cast<std::uint8_t>(card.Number());
    }
    return b % 110;
  }
  std::string Text(std::size_t most) {
    const std::vector<std::uint8_t> bytes = in.Bytes(in.Byte() % (most + 1));
    return {bytes.begin(), bytes.end()};
  }
};

std::string PoolName(FuzzInput& in) {
  const std::uint8_t b = in.Byte() % 8;
  if (b < 6) return std::string(1, static_cast<char>('A' + b));
  if (b == 6) return {};
  const std::vector<std::uint8_t> raw = in.Bytes(in.Byte() % 20);
  return {raw.begin(), raw.end()};
}

void Fill(Fields&, std::monostate&) {}

void Fill(Fields& f, LoginRecord& r) {
  std::string name = PoolName(f.in);
  std::string password = f.in.Byte() % 2 == 0 ? "" : "pw";
  const std::int32_t table = f.Table();
  const std::int32_t service = f.Number();
  const std::int32_t head = f.Number();
  r = MakeLoginRequest(std::move(name), std::move(password), service, head, table, f.Seat());
}

void Fill(Fields& f, DealRecord& r) {
  r.tableNumber = f.Table();
  r.seat = f.Seat();
  r.count = static_cast<std::uint8_t>(f.in.Byte() % (DealHandSize + 2));
  for (std::size_t i = 0; i < std::min<std::size_t>(r.count, DealHandSize); ++i) {
    r.cards[i] = f.Card();
  }
}

void Fill(Fields& f, BidRecord& r) {
  r.tableNumber = f.Table();
  r.seat = f.Seat();
  r.points = f.Number();
}

void Fill(Fields& f, PlayRecord& r) {
  r.tableNumber = f.Table();
  r.seat = f.Seat();
  r.count = static_cast<std::uint8_t>(f.in.Byte() % (PlayMaxCards + 1));
  for (std::size_t i = 0; i < r.count; ++i) r.cards[i] = f.Card();
  if (f.in.Byte() < 192) {  // claims what the cards are
    const Combination combo = CombinationOf(r);
    r.comboType = static_cast<std::uint8_t>(combo.type);
    r.keyRank = combo.key;
  } else {
    r.comboType = f.in.Byte();
    r.keyRank = f.in.Byte();
  }
}

void Fill(Fields& f, SeatRecord& r) {
  r.tableNumber = f.Table();
  r.seat = f.Seat();
}

void Fill(Fields& f, GameEndRecord& r) {
  r.tableNumber = f.Table();
  r.winner = static_cast<std::uint8_t>(f.in.Byte() % 5);
  r.score[0] = f.Number();
}

void Fill(Fields& f, ChatRecord& r) {
  r.tableNumber = f.Table();
  r.seat = f.Seat();
  r.text = f.Text(70);
}

void Fill(Fields& f, IconRecord& r) {
  r.tableNumber = f.Table();
  r.serviceIcon = f.Number();
  r.headIcon = f.Number();
  r.seat = f.Seat();
}

void Fill(Fields& f, TableStateRecord& r) {
  r.tableNumber = f.Table();
  r.seat = f.Seat();
  r.phase = static_cast<TablePhase>(f.in.Byte() % 4);
  r.turn = f.Seat();
  r.landlord = f.Seat();
}

void Fill(Fields& f, AutoPlayRecord& r) {
  r.tableNumber = f.Table();
  r.seat = f.Seat();
  r.control = static_cast<SeatControl>(f.in.Byte() % 5);
}

void Fill(Fields& f, TurnClockRecord& r) {
  r.tableNumber = f.Table();
  r.seat = f.Seat();
  r.turnMs = f.Number();
  r.leftMs = f.Number();
}

void Fill(Fields& f, StandingsRequestRecord& r) {
  r.tableNumber = f.Table();
  r.ask = static_cast<StandingsAsk>(f.in.Byte() % 3);  // 2: an ask that is neither
  r.count = f.in.Byte();
}

// Only the server sends standings lines: a client's copy must be dropped unanswered.
void Fill(Fields& f, StandingsLineRecord& r) {
  r.tableNumber = f.Table();
  r.kind = static_cast<StandingsKind>(f.in.Byte() % 3);
  r.rank = f.Number();
  r.name = PoolName(f.in);
}

void Fill(Fields& f, ReplayListRequestRecord& r) {
  r.tableNumber = f.Table();
  r.count = f.in.Byte();
}

void Fill(Fields& f, ReplayGameRequestRecord& r) {
  r.tableNumber = f.Table();
  r.gameId = static_cast<std::int64_t>(f.in.Byte() % 4) - 1;  // -1 and 0 are refused
}

// Only the server sends these: a client's copy must be dropped unanswered.
void Fill(Fields& f, ReplayListLineRecord& r) {
  r.tableNumber = f.Table();
  r.kind = static_cast<ReplayKind>(f.in.Byte() % 2);
  r.count = 1;
  r.gameId = f.Number();
  r.names[0] = PoolName(f.in);
}

void Fill(Fields& f, ReplayGamePartRecord& r) {
  r.tableNumber = f.Table();
  r.kind = ReplayKind::Found;
  r.parts = 1;
  r.gameId = 1;
  r.bytes = f.in.Bytes(1 + f.in.Byte() % 136);
  r.totalLength = static_cast<std::uint32_t>(r.bytes.size());
}

void Fill(Fields& f, LobbyRequestRecord& r) {
  r.firstTable = static_cast<std::int32_t>(f.in.Byte() % 5) - 1;  // -1 and 0 are refused
}

void Fill(Fields& f, WatchRequestRecord& r) {
  r.tableNumber = f.Table();
  r.name = PoolName(f.in);
}

// Only the server sends these: a client's copy must be dropped unanswered.
void Fill(Fields& f, LobbyLineRecord& r) {
  r.tableNumber = f.Table();
  r.names[0] = PoolName(f.in);
}

void Fill(Fields& f, WatchReplyRecord& r) {
  r.tableNumber = f.Table();
  r.result = static_cast<WatchResult>(f.in.Byte() % 5);
}

const std::vector<MessageType>& EveryType() {
  static const std::vector<MessageType> types = [] {
    std::vector<MessageType> all;
    for (const MessageInfo& info : MessageTable()) all.push_back(info.type);
    for (const MessageInfo& info : AddedMessageTable()) all.push_back(info.type);
    return all;
  }();
  return types;
}

std::vector<std::uint8_t> BytesOf(const Packet& packet) {
  return {packet.data().begin(), packet.data().end()};
}

}  // namespace

Combination CombinationOf(const PlayRecord& play) {
  RankCounts ranks{};
  for (std::size_t i = 0; i < play.count; ++i) {
    ++ranks[static_cast<std::size_t>(RankOf(play.cards[i]))];
  }
  return ClassifyCounts(ranks, play.count);
}

std::vector<std::uint8_t> LoginBytes(FuzzInput& in) {
  const Sender nobody;
  Fields fields{in, nobody};
  LoginRecord login;
  Fill(fields, login);
  const auto packet = BuildPacket(MessageType::LoginRequest, login);
  return packet ? BytesOf(*packet) : std::vector<std::uint8_t>{};
}

std::vector<std::uint8_t> FuzzedPacket(FuzzInput& in, const Sender& sender) {
  const MessageType type = EveryType()[in.Byte() % EveryType().size()];
  Fields fields{in, sender};
  MessageBody body = EmptyBodyFor(type);
  std::optional<Packet> packet = std::visit(
      [&](auto& record) -> std::optional<Packet> {
        Fill(fields, record);
        if constexpr (std::is_same_v<std::decay_t<decltype(record)>, std::monostate>) {
          return std::nullopt;
        } else {
          return BuildPacket(type, record);
        }
      },
      body);
  if (!packet) {  // fields no encoder takes, or no body at all: raw bytes behind the header
    packet = BuildEmptyPacket(type);
    if (!packet) return {};
    const std::size_t bodySize = packet->length - HeaderSize - TailSize;
    const std::vector<std::uint8_t> raw = in.Bytes(bodySize);
    std::copy(raw.begin(), raw.end(), packet->bytes.begin() + HeaderSize);
  }
  if (in.Byte() >= 224) packet->bytes[in.Byte() % packet->length] = in.Byte();
  return BytesOf(*packet);
}

std::optional<SeatMove> LegalMove(FuzzInput& in, const server::TServerTable& table) {
  const std::uint8_t choice = in.Byte();  // read whatever the state, so seeds stay in step
  // Now and then a seat out of turn: the same move must then be refused.
  const auto seat = static_cast<std::uint8_t>(
      choice < 248 ? table.Turn : (table.Turn + 1 + choice % 3) % server::kSeatCount);
  if (table.Status == server::TableBidding) {  // 0 passes, else a bid of so many points
    const BidRecord bid{table.Table, seat, choice};
    const auto packet =
        BuildPacket(choice == 0 ? MessageType::BidPass : MessageType::BidOffer, bid);
    return packet ? std::optional<SeatMove>({seat, *packet}) : std::nullopt;
  }
  if (table.Status != server::TablePlaying) return std::nullopt;
  std::vector<std::uint8_t> hand;
  hand.reserve(table.Players[seat].Hand.Cards().size());
  for (const TPoker& card : table.Players[seat].Hand.Cards()) {
    if (card.IsPresent()) hand.push_back(static_cast<std::uint8_t>(card.Number()));
  }
  const bool leads = table.LastPlay.Count() == 0 || table.LastPlayer == seat;
  const std::vector<Move> moves =
      BeatingMoves(hand, leads ? Combination{} : table.LastPlay.AsCombination());
  // The last option passes: the rules allow it only to a seat that follows.
  // So do the choices 240..247; 232..239 claim the wrong key.
  const std::size_t options = moves.size() + 1;
  // Spread over every move when there are more than a byte can name.
  const std::size_t index = choice >= 240 && choice < 248 ? moves.size()
                            : options <= 256              ? choice % options
                                                          : choice * options / 256;
  if (index == moves.size()) {
    const auto pass = BuildPacket(MessageType::PlayPass, SeatRecord{table.Table, seat});
    return pass ? std::optional<SeatMove>({seat, *pass}) : std::nullopt;
  }
  const Move& move = moves[index];
  PlayRecord play{.tableNumber = table.Table,
                  .seat = seat,
                  .count = static_cast<std::uint8_t>(move.combo.count),
                  .comboType = static_cast<std::uint8_t>(move.combo.type),
                  .keyRank = static_cast<std::uint8_t>(move.combo.key +
                                                       (choice >= 232 && choice < 240 ? 1 : 0))};
  std::copy(move.Cards().begin(), move.Cards().end(), play.cards.begin());
  const auto packet = BuildPacket(MessageType::PlayCards, play);
  return packet ? std::optional<SeatMove>({seat, *packet}) : std::nullopt;
}

}  // namespace quarn::fuzz
