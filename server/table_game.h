// The game of one table: seating, dealing, bidding, play, the end of a
// game and its score, and the relays of chat and icons. Driven by whole packets
// from the dispatch; every handler returns 0 when it acted and 1 when it
// refused, and a refusal leaves the table exactly as it was, unanswered.
//
// Pacing: with AllowDelay on, the pause before a seat list and after each
// dealing step is a paced step of this table, run by the scheduler's timer. The
// table is Busy() meanwhile; its dispatch (TableList) keeps the table's own
// requests waiting until it is not, so its packets go out in the same order and
// with the same spacing as if the server had slept, and nothing else waits.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/tselectpoker.h"
#include "protocol/pcpheadtail.h"
#include "protocol/pcplogin.h"
#include "protocol/pcpplay.h"
#include "protocol/pcpstate.h"
#include "server/console_log.h"
#include "server/host.h"
#include "server/scheduler.h"
#include "server/sending.h"
#include "server/server_table.h"
#include "store/game_store.h"

namespace quarn::server {

// A player's name (GBK) as a run log or hero board line shows it: control
// characters, which would split a line of the files, become blanks.
std::string NameForText(const std::string& gbkName);

class TableGame {
 public:
  TableGame(ConsoleLog& log, Outbox& outbox, TServerTable& table, PlayerIds& ids,
            Scheduler& scheduler)
      : log_(log), outbox_(outbox), table_(table), ids_(ids), scheduler_(scheduler) {}
  ~TableGame() {
    scheduler_.Cancel(timer_);
    scheduler_.Cancel(turnTimer_);
  }
  TableGame(const TableGame&) = delete;
  TableGame& operator=(const TableGame&) = delete;

  // Hands a packet whose header has been checked to the handler of its type;
  // types without a handler are dropped.
  void Dispatch(ConnectionId connection, Packet& packet);

  // Seating and relays. `address` is where the connection comes from.
  int Login(ConnectionId connection, Packet& packet, std::string address = {});
  int IconChange(ConnectionId connection, Packet& packet);
  int ChatRelay(ConnectionId connection, Packet& packet);
  // A lost connection: its seat is freed, the table told and sent back to waiting.
  // A seat list still due goes out first; the rest of a paced deal is dropped.
  // With KeepSeats during a game, the seat is kept instead and the computer
  // plays it until its player comes back or the game ends.
  void Disconnect(ConnectionId connection);

  // A game that survives its players (keeping.cpp): our own requests, 托管 on
  // or off and the table's state asked again; the kept seat a login comes back
  // to (-1: none), by its player's name and password, or by the address when
  // it has no password; and the return itself: LoginReply, SeatList to the
  // table, then the game in play to the returning player (false: a packet
  // that cannot be read or answered; the table is left as it was).
  int AutoPlay(ConnectionId connection, Packet& packet);
  int StateRequest(ConnectionId connection, Packet& packet);
  int KeptSeatFor(const LoginRecord& request, std::string_view address) const;
  [[nodiscard]] bool Rejoin(ConnectionId connection, Packet& packet, int seat, std::string address);
  // Seats kept for players who are gone.
  bool KeepsSeats() const;
  // A new watcher is shown the table as every seat sees it: the seat list,
  // and while a game is in play its public state, the seats the computer
  // plays and the turn clock (keeping.cpp). Never a card that is not public.
  void ShowToWatcher(ConnectionId connection);
  // Frees every kept seat as a lost connection frees it; the number freed.
  int FreeKeptSeats();

  // A paced step waits for its timer.
  bool Busy() const { return next_ != Step::None; }
  // Called after every paced step, computer move and turn time-out that a timer ran.
  void OnStepRun(std::function<void()> hook) { onStepRun_ = std::move(hook); }

  // Dealing.
  void StartGame();
  int DealTable();
  // The steps after the deal: true when their packets were made and sent.
  bool SendDeal();
  bool SendStartCard();

  // Bidding.
  bool OpenBidding();
  bool SettleWithoutBidding();
  int Bid(ConnectionId connection, Packet& packet, bool pass);
  bool SendBottomCards();

  // Play and the end of a game.
  int Play(ConnectionId connection, Packet& packet);
  int Pass(ConnectionId connection, Packet& packet);
  int GameEnd();
  void ScoreGame();
  void HeroEntry();
  // Each seat's score change for the game just ended.
  std::array<std::int64_t, kSeatCount> ScoreChanges() const;

  // A seated player's request for the standings, answered from the store;
  // refused without one (standings.cpp).
  int Standings(ConnectionId connection, Packet& packet);
  // The asker's recent games and one of them whole, from the store; refused
  // without one (replays.cpp).
  int ReplayList(ConnectionId connection, Packet& packet);
  int ReplayGame(ConnectionId connection, Packet& packet);

  // Where finished games go (none: nowhere). Set before the first game.
  void UseStore(store::GameStore* store) { store_ = store; }
  // The game just ended, as the store keeps it (game_record.cpp).
  store::GameRecord Record() const;

 private:
  // The request's handler: 0 when it acted, 1 when it refused.
  int Handle(ConnectionId connection, Packet& packet, MessageType type);

  // The game's own run log lines (game_lines.cpp).
  std::string TableTag() const;
  std::string SeatTag(std::uint32_t seat) const;
  void Tell(std::string_view text);
  void TellRefused(ConnectionId connection, MessageType type);
  void TellDeal();
  void TellLandlord();
  void TellGameEnd();

  // What the table does after its current pause.
  enum class Step : std::uint8_t { None, SeatList, Deal, StartCard, Landlord };

  // The seat of a connection at this table, or -1.
  int SeatOf(ConnectionId connection) const;
  // A move by the player at `connection`'s seat: `handler(seat)`; when it is
  // taken, 托管 ends and the time-outs start over.
  template <typename Handler>
  int ByPlayer(ConnectionId connection, Handler handler) {
    const int seat = SeatOf(connection);
    if (seat < 0) return 1;
    const int result = handler(seat);
    if (result == 0) PlayerMoved(static_cast<std::uint32_t>(seat));
    return result;
  }
  // The handlers for a seat, whoever moves for it: its player's packet or the computer.
  int BidAt(int seat, Packet& packet, bool pass);
  int PlayAt(int seat, Packet& packet);
  int PassAt(int seat, Packet& packet);
  int MoveAt(std::uint32_t seat, Packet& packet);
  // The four seats' names and icons, as the seat list tells them.
  LoginRecord SeatListRecord() const;
  // The specified freeing of a seat whose player is gone: the table is told and waits.
  void FreeSeat(std::uint32_t seat);

  // keeping.cpp
  bool GameInPlay() const;
  bool AwaitsMove() const;
  void KeepSeat(std::uint32_t seat);
  // After every change of the seat to move: the computer's pause before its
  // move for a seat it plays, else the turn clock when there is a turn time.
  void NextTurn();
  void TurnDue(bool timeRanOut);
  // The computer's move for `seat`, through the handlers; a refused choice is
  // followed by a move the rules always allow.
  void MoveFor(std::uint32_t seat);
  void PlayerMoved(std::uint32_t seat);
  void SetControl(std::uint32_t seat, SeatControl control);
  // To the table (kNoConnection), or to one connection.
  void SendControls(std::uint32_t changed, ConnectionId to);
  void SendClock(ConnectionId to);
  void SendTo(ConnectionId to, const std::optional<Packet>& packet);
  // A request of our own from a seated connection at this table, decoded by
  // `decode`; none when the server keeps no games (server/send_lines.h).
  template <typename Request>
  std::optional<Request> AskedOfStore(ConnectionId from, const Packet& packet,
                                      int (*decode)(Request&, const Packet&)) const;
  // Answers a request of our own with its lines, or with `none` when it has
  // none (server/send_lines.h).
  template <typename Line>
  void SendLines(ConnectionId to, MessageType type, std::vector<Line> lines, const Line& none);
  void SendState(ConnectionId connection, std::uint32_t seat);
  // The game in play as everybody may know it: no hand, no bottom cards.
  TableStateRecord PublicState() const;
  // AutoPlayNotice when the computer plays a seat, and TurnClock when a turn runs.
  void SendControlsAndClock(ConnectionId connection);
  // Runs `next` after a pause of `milliseconds` when pacing is on, else now.
  void Pace(std::uint32_t milliseconds, Step next);
  void RunStep(Step step);
  void StepDue();
  void SendSeatList();
  // The game in play ends (a seat freed, a stop): its paced step and turn
  // timer are cancelled, and a step already due finds another game and does nothing.
  void EndGameSteps();
  // Leaves a busy state for `status` and reports the refusal.
  int Refuse(TableStatus status) {
    table_.Status = status;
    return 1;
  }
  // Checks a play in Scratch and marks its cards in the hand; false refuses it.
  bool CheckPlay(std::uint32_t seat, const PlayRecord& play);
  void FinishGame();

  ConsoleLog& log_;
  Outbox& outbox_;
  TServerTable& table_;
  PlayerIds& ids_;
  Scheduler& scheduler_;
  TSelectPoker scratch_;  // where an incoming play is checked
  Step next_ = Step::None;
  TimerId timer_ = kNoTimer;
  std::optional<Packet> seatList_;  // made at the login, sent after the pause
  std::function<void()> onStepRun_;
  TimerId turnTimer_ = kNoTimer;  // the computer's pause, or the turn's time
  bool clockRunning_ = false;     // turnTimer_ is the turn's time
  std::chrono::steady_clock::time_point turnStarted_{};
  std::uint64_t computerMoves_ = 0;  // seeds the computer's choices
  std::uint64_t game_ = 0;           // which game a scheduled step belongs to
  store::GameStore* store_ = nullptr;
};

}  // namespace quarn::server
