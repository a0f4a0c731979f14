#include "bot/bot_session.h"

#include <algorithm>
#include <array>
#include <utility>

#include "ai/candidates.h"
#include "ai/decide.h"
#include "client/assist/seat_knowledge_of.h"
#include "client/model/client_sending.h"
#include "client/model/message_handling.h"

namespace quarn::bot {
namespace {

using client::TGameState;

constexpr int kDealtCards = 25;
constexpr int kLandlordCards = 33;

RankCounts HandCounts(const client::TCurrentPlayer& me) {
  return CountRanks(me.Hand.Cards());
}

const char* WaitingName(int what) {
  static constexpr std::array<const char*, 4> kNames = {"nothing", "bid", "play", "pass"};
  return kNames[static_cast<std::size_t>(what)];
}

}  // namespace

BotSession::BotSession(SessionConfig config, LogSink log)
    : config_(std::move(config)), log_(std::move(log)) {
  table_.SetDisplay(this);
  table_.InitTable();
}

std::optional<Packet> BotSession::Login() {
  const int headIcon = 1 + (config_.seat * 7) % client::kMaxHeadIcon;
  std::optional<Packet> packet = client::BuildLoginRequest(
      config_.utf8Name, config_.utf8Password, 1, headIcon, config_.table, config_.seat);
  if (packet) {
    table_.Me.SetName(config_.utf8Name);  // as the window names its own player
    table_.SetGameState(TGameState::LoggingIn);
  }
  return packet;
}

void BotSession::OnPacket(const Packet& packet, Clock::time_point now) {
  client::ReadPacket(table_, packet);
  const bool stalled = OwnMoveState() && !CardsComplete();
  if (!stalled) {
    missingCardsSince_.reset();
  } else if (!missingCardsSince_) {
    missingCardsSince_ = now;
  }
}

void BotSession::ConnectionLost() {
  loginRefused_ = false;
  connectionLost_ = true;  // the seats are cleared because we left, not they
  table_.ConnectionLost();
  connectionLost_ = false;
}

bool BotSession::LoggedIn() const {
  return table_.GameState != TGameState::Offline && table_.GameState != TGameState::LoggingIn;
}

bool BotSession::OwnMoveState() const {
  return waiting_ == Waiting::Nothing && table_.OwnTurn() &&
         (table_.GameState == TGameState::MyBid || table_.GameState == TGameState::InPlay);
}

bool BotSession::CardsComplete() const {
  if (outOfStep_) return true;
  const int held = table_.Me.Hand.Count();
  if (table_.GameState == TGameState::MyBid) return held == kDealtCards;
  auto laid = static_cast<int>(table_.SentCards.size());
  for (const client::TPlayedCards& play : table_.History) {
    if (play.Seat == table_.OwnSeat) laid += play.Count;
  }
  return held > 0 && held + laid == CardsExpected();
}

bool BotSession::WantsToMove() const {
  // The landlord's bottom cards may still be on their way: move only with
  // every card of the deal in hand.
  return OwnMoveState() && CardsComplete();
}

std::optional<Packet> BotSession::Move(Clock::time_point now) {
  now_ = now;
  if (!WantsToMove()) return std::nullopt;
  return table_.GameState == TGameState::MyBid ? Bid() : Play();
}

std::optional<BotSession::Clock::time_point> BotSession::AnswerDeadline() const {
  if (waiting_ != Waiting::Nothing) return sentAt_ + config_.answerTimeout;
  if (missingCardsSince_) return *missingCardsSince_ + config_.answerTimeout;
  return std::nullopt;
}

std::optional<Packet> BotSession::CheckAnswer(Clock::time_point now) {
  std::optional<Clock::time_point> deadline = AnswerDeadline();
  if (!deadline || now < *deadline) return std::nullopt;
  if (waiting_ == Waiting::Nothing) {
    Log("my turn, but cards the server dealt me never came: playing with what I hold");
    missingCardsSince_.reset();
    outOfStep_ = true;
    return Move(now);
  }
  ++refusals_;
  const Waiting what = waiting_;
  Log(std::string("no answer to my ") + WaitingName(static_cast<int>(what)) + ": taken as refused");
  waiting_ = Waiting::Nothing;
  if (what == Waiting::Bid) {
    now_ = now;
    std::optional<Packet> pass =
        client::BuildBidPass(table_.TableNumber, table_.OwnSeat, table_.BidPoints);
    if (pass) Await(Waiting::Bid, now);
    return pass;
  }
  table_.UndoSentPlay();
  table_.Me.CancelSelection();
  fallback_ = what == Waiting::Play ? Fallback::AfterRefusedPlay : Fallback::AfterRefusedPass;
  if (table_.GameState == TGameState::PlaySent) table_.SetGameState(TGameState::InPlay);
  return Move(now);
}

std::optional<Packet> BotSession::Bid() {
  const int points = ai::DecideBid(HandCounts(table_.Me), table_.BidPoints, config_.level);
  std::optional<Packet> packet =
      points > 0 ? client::BuildBidOffer(table_.TableNumber, table_.OwnSeat, points)
                 : client::BuildBidPass(table_.TableNumber, table_.OwnSeat, table_.BidPoints);
  if (packet) {
    Log(points > 0 ? "bid " + std::to_string(points) : std::string("no bid"));
    Await(Waiting::Bid, now_);
  }
  return packet;
}

std::optional<Packet> BotSession::Play() {
  const RankCounts hand = HandCounts(table_.Me);
  const Fallback fallback = std::exchange(fallback_, Fallback::None);
  if (fallback == Fallback::AfterRefusedPlay) return MustLead() ? LeadAnything() : Pass();

  const ai::SeatKnowledge known = client::SeatKnowledgeOf(table_);
  std::optional<ai::PlannedPlay> choice;
  if (fallback == Fallback::AfterRefusedPass) {
    // The server wants a play where we saw none to make: the least that is legal.
    std::vector<ai::PlannedPlay> plays = ai::PlaysThatBeat(hand, known.ToBeat());
    if (!plays.empty()) choice = plays.front();
  } else {
    ai::Budget budget = config_.budget;
    budget.seed += static_cast<std::uint64_t>(playsSent_);
    choice = ai::DecidePlay(known, config_.level, budget);
  }
  if (!choice) return MustLead() ? LeadAnything() : Pass();
  if (!SelectPlay(choice->cards)) {
    Log("my choice does not pass the table's check; playing safe");
    return MustLead() ? LeadAnything() : Pass();
  }
  return SendSelection();
}

std::optional<Packet> BotSession::SendSelection() {
  std::optional<Packet> packet =
      client::BuildPlayCards(table_.TableNumber, table_.OwnSeat, table_.Me.Selection);
  if (!packet) {
    table_.Me.CancelSelection();
    return std::nullopt;
  }
  ++playsSent_;
  Await(Waiting::Play, now_);
  client::CommitPlay(table_);  // until the server's notice, the cards are in flight
  return packet;
}

std::optional<Packet> BotSession::Pass() {
  if (MustLead()) return LeadAnything();
  std::optional<Packet> packet = client::BuildPlayPass(table_.TableNumber, table_.OwnSeat);
  if (packet) {
    Await(Waiting::Pass, now_);
    table_.SetGameState(TGameState::PlaySent);
  }
  return packet;
}

std::optional<Packet> BotSession::LeadAnything() {
  const RankCounts hand = HandCounts(table_.Me);
  for (int rank = 1; rank <= kMaxRank; ++rank) {
    if (hand[rank] == 0) continue;
    RankCounts single{};
    single[rank] = 1;
    if (SelectPlay(single)) return SendSelection();
    break;
  }
  Log("nothing to lead with");
  return std::nullopt;
}

bool BotSession::SelectPlay(const RankCounts& cards) {
  return client::SelectPlay(table_, cards);
}

bool BotSession::MustLead() const {
  return table_.TableCards.Count() == 0 || table_.LeadSeat == table_.OwnSeat;
}

int BotSession::CardsExpected() const {
  return table_.LordSeat == table_.OwnSeat ? kLandlordCards : kDealtCards;
}

void BotSession::Await(Waiting what, Clock::time_point now) {
  waiting_ = what;
  sentAt_ = now;
}

void BotSession::NewGame() {
  waiting_ = Waiting::Nothing;
  fallback_ = Fallback::None;
  missingCardsSince_.reset();
  outOfStep_ = false;
}

void BotSession::Log(const std::string& line) const {
  if (log_) log_(line);
}

void BotSession::SetGameState(TGameState state) {
  switch (state) {
    case TGameState::Offline:
    case TGameState::Seated:
    case TGameState::AwaitDeal:
      NewGame();
      break;
    case TGameState::OtherBid:
    case TGameState::InPlay:
      if (waiting_ == Waiting::Bid) waiting_ = Waiting::Nothing;
      break;
    default:
      break;
  }
}

// The own seat's move was taken (the model has settled the hand): whether it
// was the one sent or one the server's computer made in its place, the wait
// is over.
void BotSession::ShowTableCards() {
  if (table_.TableCards.Count() > 0 && table_.LeadSeat == table_.OwnSeat) EndPlayWait();
}

void BotSession::ShowPass(int seat) {
  if (seat == table_.OwnSeat) EndPlayWait();
}

void BotSession::EndPlayWait() {
  if (waiting_ == Waiting::Play || waiting_ == Waiting::Pass) waiting_ = Waiting::Nothing;
}

void BotSession::TableRestored() {
  // The game came back part-way: what the server says is held is all there is.
  NewGame();
  outOfStep_ = true;
  Log("back at the table: " + std::to_string(table_.Me.Hand.Count()) + " cards in hand");
}

void BotSession::ShowWinner(int seat, std::string_view /*text*/) {
  ++gamesFinished_;
  const bool lordWon = seat == table_.LordSeat;
  const bool weWon = lordWon == (table_.LordSeat == table_.OwnSeat);
  std::string line = "game " + std::to_string(gamesFinished_) + ": seat " +
                     std::string(client::SeatName(seat)) + (lordWon ? " (landlord)" : "") +
                     " went out, " + (weWon ? "we won" : "we lost") + "; scores";
  for (const client::TSeatInfo& info : table_.Seats) line += " " + std::to_string(info.Score);
  Log(line);
}

void BotSession::ClearSeat(int seat) {
  if (!connectionLost_)
    Log("the player at seat " + std::string(client::SeatName(seat)) + " left the table");
  NewGame();
}

}  // namespace quarn::bot
