// One computer player at one table, without sockets or timers: whole packets
// from the server go in, packets to send come out. The Qt program and the
// benchmarks drive it; the client's own model and message handling keep the
// picture of the table.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "ai/decide.h"
#include "client/model/display.h"
#include "client/model/table_state.h"
#include "protocol/pcpheadtail.h"

namespace quarn::bot {

struct SessionConfig {
  std::string utf8Name;  // already cut to fit
  int seat = 0;          // the seat wanted
  int games = 0;         // games to finish; 0: no limit
  // A bid or play that gets no answer in this time counts as refused.
  std::chrono::milliseconds answerTimeout{5000};
  ai::Level level = ai::Level::Basic;
  ai::Budget budget = {};  // its seed moves on with every play
  std::string utf8Password{};
  int table = 1;  // the table wanted
};

class BotSession final : private client::IClientDisplay {
 public:
  using Clock = std::chrono::steady_clock;
  using LogSink = std::function<void(std::string_view utf8Line)>;

  BotSession(SessionConfig config, LogSink log);
  BotSession(const BotSession&) = delete;
  BotSession& operator=(const BotSession&) = delete;

  // The login request, sent once the connection stands.
  std::optional<Packet> Login();
  // The connection dropped: the table is forgotten until the next Login, which
  // a server that kept the seat answers with the game in play.
  void ConnectionLost();
  // One whole packet from the server, arrived at `now`.
  void OnPacket(const Packet& packet, Clock::time_point now = Clock::now());

  // The bot is to bid or play, holds every card it should, and awaits no answer.
  bool WantsToMove() const;
  // The bid or play (or pass) to send now; none when it is not the bot's move.
  std::optional<Packet> Move(Clock::time_point now);
  // When a bid or play has waited longer than the answer time-out, counts and
  // logs it as refused and returns what to send instead. When the bot's turn
  // has waited that long for cards that never came, it moves with what it holds.
  std::optional<Packet> CheckAnswer(Clock::time_point now);
  // When the next CheckAnswer has something to check; none when nothing waits.
  std::optional<Clock::time_point> AnswerDeadline() const;

  // The server answered the login with its refusal (no free seat).
  bool LoginRefused() const { return loginRefused_; }
  // A seat was granted.
  bool LoggedIn() const;

  int GamesFinished() const { return gamesFinished_; }
  bool Finished() const { return config_.games > 0 && gamesFinished_ >= config_.games; }
  int Refusals() const { return refusals_; }
  int PlaysSent() const { return playsSent_; }
  const client::TClientTable& Table() const { return table_; }

 private:
  enum class Waiting { Nothing, Bid, Play, Pass };
  // After a refusal the picture of the table was wrong somewhere: play safe.
  enum class Fallback { None, AfterRefusedPlay, AfterRefusedPass };

  // IClientDisplay
  void SetGameState(client::TGameState state) override;
  void ShowTableCards() override;
  void ShowPass(int seat) override;
  void TableRestored() override;
  void ShowWinner(int seat, std::string_view text) override;
  void ClearSeat(int seat) override;
  void ShowLoginRefused() override { loginRefused_ = true; }

  std::optional<Packet> Bid();
  std::optional<Packet> Play();
  std::optional<Packet> Pass();
  std::optional<Packet> LeadAnything();
  std::optional<Packet> SendSelection();
  // Marks the cards of `cards` in the hand; true when the table's own check
  // (CanPlay) accepts them as a play here.
  bool SelectPlay(const RankCounts& cards);
  bool MustLead() const;
  void EndPlayWait();
  // Holds every card the deal (and, for the landlord, the bottom) gave it.
  bool CardsComplete() const;
  bool OwnMoveState() const;
  int CardsExpected() const;
  void Await(Waiting what, Clock::time_point now);
  void NewGame();
  void Log(const std::string& line) const;

  SessionConfig config_;
  LogSink log_;
  client::TClientTable table_;
  Waiting waiting_ = Waiting::Nothing;
  Clock::time_point sentAt_{};
  Clock::time_point now_{};
  Fallback fallback_ = Fallback::None;
  // The bot's turn came while cards were still missing; since when.
  std::optional<Clock::time_point> missingCardsSince_;
  bool outOfStep_ = false;  // gave up waiting for missing cards, or came back mid-game
  int gamesFinished_ = 0;
  int refusals_ = 0;
  bool loginRefused_ = false;
  bool connectionLost_ = false;
  int playsSent_ = 0;
};

}  // namespace quarn::bot
