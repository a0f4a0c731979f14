#include "protocol/any_message.h"

#include <array>
#include <sstream>

#include "core/gbk.h"

namespace quarn {

MessageBody EmptyBodyFor(MessageType type) {
  using enum MessageType;
  switch (type) {
    case LoginRequest:
    case LoginReply:
    case SeatList:
      return LoginRecord{};
    case DealCards:
    case ExtraCards:
    case StartCardNotice:
      return DealRecord{};
    case BidStart:
    case BidTurn:
    case BidResult:
    case BidPass:
    case BidOffer:
      return BidRecord{};
    case PlayCards:
    case PlayNotice:
      return PlayRecord{};
    case PlayPass:
    case PlayTurn:
    case PlayerLeave:
    case StateRequest:
      return SeatRecord{};
    case GameEnd:
      return GameEndRecord{};
    case ChatSay:
    case ChatNotice:
      return ChatRecord{};
    case IconChange:
    case IconChangeAlt:
    case IconNotice:
    case IconNoticeAlt:
      return IconRecord{};
    case TableState:
    case WatchState:
      return TableStateRecord{};
    case AutoPlayRequest:
    case AutoPlayNotice:
      return AutoPlayRecord{};
    case TurnClock:
      return TurnClockRecord{};
    case StandingsRequest:
      return StandingsRequestRecord{};
    case StandingsLine:
      return StandingsLineRecord{};
    case ReplayListRequest:
      return ReplayListRequestRecord{};
    case ReplayListLine:
      return ReplayListLineRecord{};
    case ReplayGameRequest:
      return ReplayGameRequestRecord{};
    case ReplayGamePart:
      return ReplayGamePartRecord{};
    case LobbyRequest:
      return LobbyRequestRecord{};
    case LobbyLine:
      return LobbyLineRecord{};
    case WatchRequest:
      return WatchRequestRecord{};
    case WatchReply:
      return WatchReplyRecord{};
    default:
      return std::monostate{};
  }
}

namespace {

using enum MessageType;

std::string Quoted(const std::string& gbk) {
  return "\"" + GbkToUtf8(gbk) + "\"";
}

template <typename Int, std::size_t N>
std::string List(const std::array<Int, N>& values, std::size_t count = N) {
  std::string out = "[";
  for (std::size_t i = 0; i < count && i < N; ++i) {
    if (i > 0) out += ',';
    out += std::to_string(values[i]);
  }
  return out + "]";
}

struct Describer {
  std::ostringstream& out;
  std::uint32_t type;

  void operator()(const std::monostate&) const {}
  void operator()(const LoginRecord& r) const {
    out << " table=" << r.tableNumber << " seat=" << int{r.seat};
    for (std::size_t i = 0; i < 4; ++i) {
      out << " [" << i << "] len=" << r.nameLength[i] << " name=" << Quoted(r.name[i])
          << " service=" << r.serviceIcon[i] << " head=" << r.headIcon[i];
    }
    out << " password_len=" << r.passwordLength << " password=" << Quoted(r.password);
  }
  void operator()(const DealRecord& r) const {
    out << " table=" << r.tableNumber << " seat=" << int{r.seat} << " count=" << int{r.count}
        << " cards=" << List(r.cards, r.count);
  }
  void operator()(const BidRecord& r) const {
    out << " table=" << r.tableNumber << " seat=" << int{r.seat} << " points=" << r.points;
  }
  void operator()(const PlayRecord& r) const {
    out << " table=" << r.tableNumber << " seat=" << int{r.seat} << " count=" << int{r.count}
        << " cards=" << List(r.cards, r.count) << " type=" << int{r.comboType}
        << " key=" << int{r.keyRank};
  }
  void operator()(const SeatRecord& r) const {
    out << " table=" << r.tableNumber << " seat=" << int{r.seat};
  }
  void operator()(const GameEndRecord& r) const {
    out << " table=" << r.tableNumber << " winner=" << int{r.winner};
    for (std::size_t i = 0; i < 4; ++i) {
      out << " [" << i << "] name=" << Quoted(r.name[i]) << " rounds=" << r.rounds[i]
          << " score=" << r.score[i] << " service=" << r.serviceIcon[i]
          << " head=" << r.headIcon[i];
    }
  }
  void operator()(const ChatRecord& r) const {
    out << " table=" << r.tableNumber << " seat=" << int{r.seat} << " text=" << Quoted(r.text);
  }
  void operator()(const IconRecord& r) const {
    out << " table=" << r.tableNumber << " seat=" << int{r.seat} << " service=" << r.serviceIcon
        << " head=" << r.headIcon;
  }
  void operator()(const TableStateRecord& r) const {
    out << " table=" << r.tableNumber << " seat=" << int{r.seat}
        << " phase=" << int(static_cast<std::uint8_t>(r.phase)) << " turn=" << int{r.turn}
        << " landlord=" << int{r.landlord} << " points=" << r.points
        << " counts=" << List(r.cardCount) << " start=" << int{r.startCard}
        << " hand=" << List(r.hand, r.handCount) << " lead=" << int{r.leadSeat}
        << " on_table=" << List(r.tableCards, r.tableCount) << " bottom=" << List(r.bottom)
        << " played=" << List(r.played) << " scores=" << List(r.score)
        << " rounds=" << List(r.rounds);
  }
  void operator()(const AutoPlayRecord& r) const {
    out << " table=" << r.tableNumber << " seat=" << int{r.seat}
        << " control=" << int(static_cast<std::uint8_t>(r.control));
    if (type == std::uint32_t(AutoPlayRequest)) return;  // a request names its own seat only
    out << " seats=[";
    for (std::size_t i = 0; i < r.seats.size(); ++i) {
      out << (i > 0 ? "," : "") << int(static_cast<std::uint8_t>(r.seats[i]));
    }
    out << "]";
  }
  void operator()(const TurnClockRecord& r) const {
    out << " table=" << r.tableNumber << " seat=" << int{r.seat} << " turn_ms=" << r.turnMs
        << " left_ms=" << r.leftMs;
  }
  void operator()(const StandingsRequestRecord& r) const {
    out << " table=" << r.tableNumber << " ask=" << (r.ask == StandingsAsk::Top ? "top" : "own")
        << " count=" << int{r.count};
  }
  void operator()(const StandingsLineRecord& r) const {
    static constexpr std::array<const char*, 3> kKinds = {"top", "own", "none"};
    out << " table=" << r.tableNumber << " kind=" << kKinds[static_cast<int>(r.kind) % 3]
        << " count=" << int{r.count} << " rank=" << r.rank << " name=" << Quoted(r.name)
        << " games=" << r.games << " wins=" << r.wins << " landlord_games=" << r.landlordGames
        << " landlord_wins=" << r.landlordWins << " points=" << r.points
        << " last_played=" << r.lastPlayed;
  }
  void operator()(const ReplayListRequestRecord& r) const {
    out << " table=" << r.tableNumber << " count=" << int{r.count};
  }
  void operator()(const ReplayListLineRecord& r) const {
    out << " table=" << r.tableNumber << " kind=" << (r.kind == ReplayKind::Found ? "game" : "none")
        << " count=" << int{r.count} << " id=" << r.gameId << " finished=" << r.finishedAt
        << " at_table=" << r.gameTable << " own_seat=" << int{r.ownSeat}
        << " landlord=" << int{r.landlord} << " points=" << r.points
        << " score_change=" << r.scoreChange;
    for (std::size_t i = 0; i < r.names.size(); ++i) out << " [" << i << "]=" << Quoted(r.names[i]);
  }
  void operator()(const ReplayGameRequestRecord& r) const {
    out << " table=" << r.tableNumber << " id=" << r.gameId;
  }
  void operator()(const ReplayGamePartRecord& r) const {
    out << " table=" << r.tableNumber << " kind=" << (r.kind == ReplayKind::Found ? "part" : "none")
        << " id=" << r.gameId << " part=" << int{r.part} << "/" << int{r.parts}
        << " bytes=" << r.bytes.size() << " length=" << r.totalLength << " sum=" << r.checkSum;
  }
  void operator()(const LobbyRequestRecord& r) const { out << " first_table=" << r.firstTable; }
  void operator()(const LobbyLineRecord& r) const {
    out << " table=" << r.tableNumber << " kind=" << (r.kind == LobbyKind::Table ? "table" : "none")
        << " count=" << int{r.count} << " state=" << int(static_cast<std::uint8_t>(r.state))
        << " free=" << int{r.freeSeats} << " watchers=" << r.watchers << "/" << r.watcherLimit
        << " tables=" << r.tables;
    for (std::size_t i = 0; i < r.names.size(); ++i) out << " [" << i << "]=" << Quoted(r.names[i]);
  }
  void operator()(const WatchRequestRecord& r) const {
    out << " table=" << r.tableNumber << " name=" << Quoted(r.name);
  }
  void operator()(const WatchReplyRecord& r) const {
    out << " table=" << r.tableNumber << " result=" << int(static_cast<std::uint8_t>(r.result))
        << " watchers=" << r.watchers << "/" << r.watcherLimit;
  }
};

}  // namespace

std::optional<DecodedMessage> DecodeMessage(const Packet& packet) {
  DecodedMessage message;
  if (DecodeHeader(message.header, packet) != 0) return std::nullopt;
  const MessageInfo* info = FindMessage(message.header.messageType);
  if (info == nullptr || packet.length < info->length) return std::nullopt;
  MessageType type = info->type;
  message.body = EmptyBodyFor(type);
  int result = std::visit(
      [&](auto& record) -> int {
        if constexpr (std::is_same_v<std::decay_t<decltype(record)>, std::monostate>) {
          return 0;
        } else {
          return DecodeBody(type, record, packet);
        }
      },
      message.body);
  if (result != 0) return std::nullopt;
  return message;
}

std::string DescribeMessage(const DecodedMessage& message) {
  std::ostringstream out;
  out << MessageName(message.header.messageType);
  std::visit(Describer{out, message.header.messageType}, message.body);
  return out.str();
}

}  // namespace quarn
