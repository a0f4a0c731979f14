// A game that survives its players: kept seats played by the computer, the
// return of their players, the turn clock, 托管 on request, and the table's
// state told again. None of it happens unless a setting or one of our own
// requests asks for it (see docs/protocol.md).
#include <algorithm>
#include <array>

#include "protocol/packet_builder.h"
#include "server/computer_player.h"
#include "server/table_game.h"

namespace quarn::server {

namespace {

using std::chrono::milliseconds;

// The computer's pause before it moves, when pacing is on: long enough for a
// person to see whose move it was.
constexpr milliseconds kComputerPause{1000};
// Turns whose time ran out in a row before the seat goes to the computer.
constexpr int kTimeoutsForAutoPlay = 2;

TablePhase PhaseOf(TableStatus status) {
  switch (status) {
    case TableBidding:
    case TableBidBusy:
      return TablePhase::Bidding;
    case TablePlaying:
    case TablePlayBusy:
      return TablePhase::Playing;
    default:
      return TablePhase::Dealing;
  }
}

}  // namespace

bool TableGame::GameInPlay() const {
  return table_.Status >= TableDealing;
}

bool TableGame::AwaitsMove() const {
  return table_.Status == TableBidding || table_.Status == TablePlaying;
}

bool TableGame::KeepsSeats() const {
  return std::any_of(table_.Players.begin(), table_.Players.end(),
                     [](const TServerPlayer& p) { return p.Taken() && p.Socket == kNoConnection; });
}

int TableGame::KeptSeatFor(const LoginRecord& request, std::string_view address) const {
  if (!GameInPlay()) return -1;
  for (int seat = 0; seat < kSeatCount; ++seat) {
    const TServerPlayer& player = table_.Players[seat];
    if (!player.Taken() || player.Socket != kNoConnection || player.Name != request.name[0]) {
      continue;
    }
    // A seat without a password goes back only to where its player played from.
    const bool returns = player.Password.empty() ? request.password.empty() && !address.empty() &&
                                                       player.Address == address
                                                 : player.Password == request.password;
    if (returns) return seat;
  }
  return -1;
}

void TableGame::KeepSeat(std::uint32_t seat) {
  TServerPlayer& player = table_.Players[seat];
  player.Socket = kNoConnection;
  player.Timeouts = 0;
  SetControl(seat, SeatControl::PlayerGone);
  if (AwaitsMove() && table_.Turn == seat) NextTurn();  // the computer takes this turn
}

int TableGame::FreeKeptSeats() {
  int freed = 0;
  for (std::uint32_t seat = 0; seat < kSeatCount; ++seat) {
    TServerPlayer& player = table_.Players[seat];
    if (!player.Taken() || player.Socket != kNoConnection) continue;
    player.Control = SeatControl::Person;
    FreeSeat(seat);
    ++freed;
  }
  return freed;
}

bool TableGame::Rejoin(ConnectionId connection, Packet& packet, int seat, std::string address) {
  LoginRecord reply;
  if (seat < 0 || seat >= kSeatCount || DecodeLoginRequest(reply, packet) != 0) return false;
  TServerPlayer& player = table_.Players[seat];
  reply.tableNumber = table_.Table;
  reply.seat = static_cast<std::uint8_t>(seat);
  if (RewriteHeader(packet, MessageType::LoginReply) != 0 || EncodeLoginReply(reply, packet) != 0) {
    return false;
  }
  player.Socket = connection;
  player.Address = std::move(address);
  player.Timeouts = 0;
  outbox_.SendToSeat(connection, packet);
  if (RewriteHeader(packet, MessageType::SeatList) == 0 &&
      EncodeSeatList(SeatListRecord(), packet) == 0) {
    outbox_.SendToTable(table_, packet);
  }
  SendState(connection, static_cast<std::uint32_t>(seat));
  player.Control = SeatControl::Person;
  SendControls(static_cast<std::uint32_t>(seat), kNoConnection);
  Tell(TableTag() + SeatTag(static_cast<std::uint32_t>(seat)) + "重新登录，回到座位");
  if (AwaitsMove() && table_.Turn == static_cast<std::uint32_t>(seat)) {
    NextTurn();  // its own turn again, with a fresh clock
  } else {
    SendClock(connection);
  }
  return true;
}

int TableGame::AutoPlay(ConnectionId connection, Packet& packet) {
  const int seat = SeatOf(connection);
  if (seat < 0) return 1;
  AutoPlayRecord request;
  if (DecodeAutoPlayRequest(request, packet) != 0) return 1;
  if (request.tableNumber != table_.Table || request.seat != seat) return 1;
  TServerPlayer& player = table_.Players[seat];
  player.Timeouts = 0;
  if (player.Control == request.control) return 0;  // nothing changes, nothing to tell
  SetControl(static_cast<std::uint32_t>(seat), request.control);
  if (AwaitsMove() && table_.Turn == static_cast<std::uint32_t>(seat)) NextTurn();
  return 0;
}

int TableGame::StateRequest(ConnectionId connection, Packet& packet) {
  const int seat = SeatOf(connection);
  if (seat < 0) return 1;
  SeatRecord request;
  if (DecodeStateRequest(request, packet) != 0) return 1;
  if (request.tableNumber != table_.Table || request.seat != seat || !GameInPlay()) return 1;
  SendState(connection, static_cast<std::uint32_t>(seat));
  SendControlsAndClock(connection);
  return 0;
}

void TableGame::SendControlsAndClock(ConnectionId connection) {
  const auto computer =
      std::find_if(table_.Players.begin(), table_.Players.end(),
                   [](const TServerPlayer& p) { return p.Control != SeatControl::Person; });
  if (computer != table_.Players.end()) {
    SendControls(static_cast<std::uint32_t>(computer - table_.Players.begin()), connection);
  }
  SendClock(connection);
}

void TableGame::ShowToWatcher(ConnectionId connection) {
  SendTo(connection, BuildPacket(MessageType::SeatList, SeatListRecord()));
  if (!GameInPlay()) return;
  SendTo(connection, BuildPacket(MessageType::WatchState, PublicState()));
  SendControlsAndClock(connection);
}

void TableGame::PlayerMoved(std::uint32_t seat) {
  TServerPlayer& player = table_.Players[seat];
  player.Timeouts = 0;
  if (player.Control != SeatControl::Person) SetControl(seat, SeatControl::Person);
}

void TableGame::SetControl(std::uint32_t seat, SeatControl control) {
  table_.Players[seat].Control = control;
  SendControls(seat, kNoConnection);
  static constexpr std::array<const char*, 4> kWhy = {
      "不再托管，自己出牌", "请求托管，电脑代打", "超时两次，电脑代打", "掉线，座位保留，电脑代打"};
  Tell(TableTag() + SeatTag(seat) + kWhy[static_cast<std::size_t>(control)]);
}

void TableGame::NextTurn() {
  scheduler_.Cancel(turnTimer_);
  turnTimer_ = kNoTimer;
  clockRunning_ = false;
  if (!AwaitsMove()) return;
  const std::uint32_t seat = table_.Turn;
  if (table_.Players[seat].Control != SeatControl::Person) {
    const milliseconds pause = table_.AllowDelay ? kComputerPause : milliseconds(0);
    turnTimer_ = scheduler_.After(pause, [this, game = game_] {
      if (game == game_) TurnDue(false);
    });
    return;
  }
  if (table_.TurnTimeMs == 0) return;
  clockRunning_ = true;
  turnStarted_ = scheduler_.Now();
  turnTimer_ = scheduler_.After(milliseconds(table_.TurnTimeMs), [this, game = game_] {
    if (game == game_) TurnDue(true);
  });
  SendClock(kNoConnection);
}

void TableGame::TurnDue(bool timeRanOut) {
  turnTimer_ = kNoTimer;
  clockRunning_ = false;
  const std::uint32_t seat = table_.Turn;
  TServerPlayer& player = table_.Players[seat];
  if (timeRanOut) ++player.Timeouts;
  MoveFor(seat);
  if (timeRanOut && player.Timeouts >= kTimeoutsForAutoPlay &&
      player.Control == SeatControl::Person && player.Taken()) {
    SetControl(seat, SeatControl::AfterTimeouts);
    if (AwaitsMove() && table_.Turn == seat) NextTurn();
  }
  if (onStepRun_) onStepRun_();
}

void TableGame::MoveFor(std::uint32_t seat) {
  if (!AwaitsMove() || table_.Turn != seat) return;
  if (auto move = ComputerMove(table_, seat, ++computerMoves_)) {
    if (MoveAt(seat, *move) == 0) return;
    log_.Tagged(LineKind::Error, "错误", TableTag() + SeatTag(seat) + "的电脑代打被拒绝");
  }
  if (auto safe = SafeMove(table_, seat)) MoveAt(seat, *safe);
}

int TableGame::MoveAt(std::uint32_t seat, Packet& packet) {
  const int at = static_cast<int>(seat);
  switch (static_cast<MessageType>(packet.RawType())) {
    case MessageType::BidOffer:
      return BidAt(at, packet, false);
    case MessageType::BidPass:
      return BidAt(at, packet, true);
    case MessageType::PlayCards:
      return PlayAt(at, packet);
    case MessageType::PlayPass:
      return PassAt(at, packet);
    default:
      return 1;
  }
}

void TableGame::SendControls(std::uint32_t changed, ConnectionId to) {
  AutoPlayRecord notice{table_.Table, static_cast<std::uint8_t>(changed),
                        table_.Players[changed].Control};
  for (std::uint32_t seat = 0; seat < kSeatCount; ++seat) {
    notice.seats[seat] = table_.Players[seat].Control;
  }
  SendTo(to, BuildPacket(MessageType::AutoPlayNotice, notice));
}

void TableGame::SendTo(ConnectionId to, const std::optional<Packet>& packet) {
  if (!packet) return;
  if (to == kNoConnection) {
    outbox_.SendToTable(table_, *packet);
  } else {
    outbox_.SendToSeat(to, *packet);
  }
}

void TableGame::SendClock(ConnectionId to) {
  if (!clockRunning_) return;
  const auto spent =
      std::chrono::duration_cast<milliseconds>(scheduler_.Now() - turnStarted_).count();
  const auto turnMs = static_cast<std::int32_t>(table_.TurnTimeMs);
  const TurnClockRecord clock{
      table_.Table, static_cast<std::uint8_t>(table_.Turn), turnMs,
      static_cast<std::int32_t>(std::clamp<std::int64_t>(turnMs - spent, 0, turnMs))};
  SendTo(to, BuildPacket(MessageType::TurnClock, clock));
}

TableStateRecord TableGame::PublicState() const {
  TableStateRecord state;
  state.tableNumber = table_.Table;
  state.seat = kWatcherSeat;
  state.phase = PhaseOf(table_.Status);
  state.turn = static_cast<std::uint8_t>(table_.Turn);
  const bool playing = state.phase == TablePhase::Playing;
  state.landlord = static_cast<std::uint8_t>(playing ? table_.Landlord : table_.StartSeat());
  state.points = static_cast<std::int32_t>(table_.HighBid);
  for (std::uint32_t s = 0; s < kSeatCount; ++s) {
    state.cardCount[s] = static_cast<std::uint8_t>(table_.Players[s].Hand.Count());
    state.score[s] = table_.Players[s].Score;
    state.rounds[s] = table_.Players[s].Rounds;
  }
  state.startCard = table_.StartCard;
  if (table_.LastPlay.Count() > 0 && table_.LastPlay.SaveBytes(state.tableCards)) {
    state.leadSeat = static_cast<std::uint8_t>(table_.LastPlayer);
    state.tableCount = static_cast<std::uint8_t>(table_.LastPlay.Count());
  }
  for (const TMove& move : table_.History) {
    for (std::uint8_t card : std::span(move.cards).first(move.count)) {
      if (const int rank = RankOf(card); rank > 0) ++state.played[rank - 1];
    }
  }
  return state;
}

void TableGame::SendState(ConnectionId connection, std::uint32_t seat) {
  TableStateRecord state = PublicState();
  state.seat = static_cast<std::uint8_t>(seat);
  for (const TPoker& card : table_.Players[seat].Hand.Cards()) {
    if (card.IsPresent()) state.hand[state.handCount++] = static_cast<std::uint8_t>(card.Number());
  }
  if (state.phase == TablePhase::Playing && seat == table_.Landlord) {
    std::copy_n(table_.Deck.begin() + kDealtCards, kBottomCards, state.bottom.begin());
  }
  SendTo(connection, BuildPacket(MessageType::TableState, state));
}

}  // namespace quarn::server
