#include "bot/bot_session.h"

#include <gtest/gtest.h>

#include "protocol/any_message.h"
#include "tests/support/client_model/fakes.h"
#include "tests/support/hand_text.h"
#include "tests/support/sample_table_state.h"

namespace quarn::bot {
namespace {

using namespace std::chrono_literals;
using client::TGameState;
using client::testing::Bid;
using client::testing::Deal;
using client::testing::GameEnd;
using client::testing::LoginReply;
using client::testing::PlayNotice;
using client::testing::PlayTurn;
using client::testing::SeatList;
using test::Cards;
using M = MessageType;

const BotSession::Clock::time_point kT0{};
const std::array<std::string, 4> kNames = {"p0", "p1", "p2", "p3"};

MessageType TypeOf(const std::optional<Packet>& packet) {
  return packet ? static_cast<MessageType>(packet->RawType()) : M{};
}

// A session at seat `seat` that has logged in and been dealt `hand`; the
// start card names `starter`.
struct Seated {
  Seated(int seat, const std::string& hand, int starter, int games = 0)
      : session(SessionConfig{.utf8Name = "电脑1", .seat = seat, .games = games},
                [this](std::string_view line) { log += std::string(line) + "\n"; }) {
    EXPECT_EQ(TypeOf(session.Login()), M::LoginRequest);
    session.OnPacket(LoginReply(seat));
    session.OnPacket(SeatList(kNames));
    session.OnPacket(Deal(M::DealCards, seat, Cards(hand)));
    session.OnPacket(Deal(M::StartCardNotice, starter, Cards("3", 7)));
  }
  int Held() const { return session.Table().Me.Hand.Count(); }
  bool Logged(const char* words) const { return log.find(words) != std::string::npos; }

  std::string log;
  BotSession session;
};

constexpr const char* kStrongHand = "s B B 2 2 2 A A A 9 9 9 9 9 3 3 3 3 K K Q Q J J 10";
constexpr const char* kPlainHand = "3 4 4 5 6 6 7 8 8 9 10 10 J Q Q K A A 2 5 7 9 J K 6";

TEST(BotSession, BidsThenWaitsForTheBottomCardsBeforeLeadingItsWeakestPlay) {
  Seated bot(0, kStrongHand, 0);
  EXPECT_FALSE(bot.session.WantsToMove());
  bot.session.OnPacket(Bid(M::BidStart, 0, 1));
  const std::optional<Packet> bid = bot.session.Move(kT0);
  ASSERT_EQ(TypeOf(bid), M::BidOffer);
  EXPECT_EQ(bid->bytes[37], 30);
  EXPECT_FALSE(bot.session.WantsToMove());  // one bid per seat

  bot.session.OnPacket(Bid(M::BidTurn, 1, 30));
  bot.session.OnPacket(Bid(M::BidResult, 0, 30));
  // The landlord's turn, but its eight bottom cards are still on their way.
  EXPECT_EQ(bot.session.Table().GameState, TGameState::InPlay);
  EXPECT_FALSE(bot.session.Move(kT0));
  bot.session.OnPacket(Deal(M::ExtraCards, 0, Cards("4 4 5 6 7 8 10 J", 4)));
  const std::optional<Packet> lead = bot.session.Move(kT0);
  ASSERT_EQ(TypeOf(lead), M::PlayCards);  // built as the window builds a play
  EXPECT_EQ(lead->bytes[37], 1);          // one card: the lone 5, the weakest play
  EXPECT_EQ(RankOf(lead->bytes[38]), 3);
  // The card leaves the hand when sent, and only once.
  EXPECT_EQ(bot.Held(), 32);
  bot.session.OnPacket(PlayNotice(0, {lead->bytes[38]}));
  EXPECT_EQ(bot.Held(), 32);
  bot.session.OnPacket(PlayTurn(1));
  EXPECT_FALSE(bot.session.WantsToMove());
  EXPECT_EQ(bot.session.Refusals(), 0);
}

TEST(BotSession, AnUnansweredPlayCountsAsRefusedAndBottomCardsThatNeverComeAreNotWaitedFor) {
  Seated bot(0, kPlainHand, 3);
  bot.session.OnPacket(Bid(M::BidResult, 3, 10));
  bot.session.OnPacket(PlayNotice(3, Cards("7", 4)));
  bot.session.OnPacket(PlayTurn(0));
  const std::optional<Packet> play = bot.session.Move(kT0);
  ASSERT_EQ(TypeOf(play), M::PlayCards);
  EXPECT_GT(RankOf(play->bytes[38]), RankOf(Cards("7")[0]));
  EXPECT_FALSE(bot.session.CheckAnswer(kT0 + 1s));
  EXPECT_EQ(TypeOf(bot.session.CheckAnswer(kT0 + 6s)), M::PlayPass);
  EXPECT_EQ(bot.session.Refusals(), 1);
  EXPECT_EQ(bot.Held(), 25);
  EXPECT_TRUE(bot.Logged("refused"));
  bot.session.OnPacket(PlayNotice(0, {}));
  bot.session.OnPacket(PlayTurn(1));
  EXPECT_FALSE(bot.session.AnswerDeadline());
  // Seat 3's play stood round the table and it leads; then seat 0's stood: an
  // unanswered lead is followed by another lead, never by a pass.
  for (int seat : {1, 2}) bot.session.OnPacket(PlayNotice(seat, {}));
  bot.session.OnPacket(PlayNotice(3, Cards("3")));
  bot.session.OnPacket(PlayTurn(0));
  const std::optional<Packet> over = bot.session.Move(kT0);
  ASSERT_EQ(TypeOf(over), M::PlayCards);
  const auto laid = DecodeMessage(*over);
  ASSERT_TRUE(laid.has_value());
  const PlayRecord& own = std::get<PlayRecord>(laid->body);
  bot.session.OnPacket(PlayNotice(0, {own.cards.begin(), own.cards.begin() + own.count}));
  for (int seat : {1, 2, 3}) bot.session.OnPacket(PlayNotice(seat, {}));
  bot.session.OnPacket(PlayTurn(0));
  ASSERT_EQ(TypeOf(bot.session.Move(kT0)), M::PlayCards);
  EXPECT_EQ(TypeOf(bot.session.CheckAnswer(kT0 + 6s)), M::PlayCards);

  Seated lord(1, kPlainHand, 1);
  lord.session.OnPacket(Bid(M::BidResult, 1, 10), kT0);
  EXPECT_FALSE(lord.session.WantsToMove());
  ASSERT_TRUE(lord.session.AnswerDeadline());
  EXPECT_FALSE(lord.session.CheckAnswer(kT0 + 1s));
  EXPECT_EQ(TypeOf(lord.session.CheckAnswer(kT0 + 6s)), M::PlayCards);
  EXPECT_EQ(lord.session.Refusals(), 0);
  EXPECT_TRUE(lord.Logged("never came"));
}

TEST(BotSession, LeavesAPartnersPlayAndStopsAfterItsGames) {
  Seated bot(0, kPlainHand, 2, /*games=*/1);
  bot.session.OnPacket(Bid(M::BidResult, 2, 10));
  bot.session.OnPacket(PlayNotice(2, Cards("4", 4)));
  bot.session.OnPacket(PlayTurn(3));
  EXPECT_FALSE(bot.session.WantsToMove());
  bot.session.OnPacket(PlayNotice(3, Cards("5", 4)));
  bot.session.OnPacket(PlayTurn(0));
  EXPECT_EQ(TypeOf(bot.session.Move(kT0)), M::PlayPass);  // the partner's 5 stands
  bot.session.OnPacket(PlayNotice(0, {}));
  bot.session.OnPacket(PlayTurn(1));
  EXPECT_FALSE(bot.session.Finished());
  bot.session.OnPacket(GameEnd(3));
  EXPECT_EQ(bot.session.GamesFinished(), 1);
  EXPECT_TRUE(bot.session.Finished());
  EXPECT_TRUE(bot.Logged("we won"));
}

// The connection dropped mid-game; the server kept the seat and tells the
// game again. The bot plays on at once, and when the server's computer moved
// for it first, its hand follows the server. A refused login is told apart.
TEST(BotSession, ComesBackToAKeptSeatAndPlaysOn) {
  Seated bot(1, kPlainHand, 3);
  bot.session.OnPacket(Bid(M::BidResult, 3, 10));
  bot.session.ConnectionLost();
  EXPECT_FALSE(bot.session.LoggedIn());
  ASSERT_TRUE(bot.session.Login());
  bot.session.OnPacket(LoginReply(1));
  bot.session.OnPacket(SeatList(kNames));
  // The worked example: seat 1 holds 3 7 K s B and is to beat 东's pair of 5s.
  bot.session.OnPacket(client::testing::Must(BuildPacket(M::TableState, test::SampleTableState())));
  EXPECT_TRUE(bot.Logged("back at the table: 5 cards"));
  ASSERT_TRUE(bot.session.Move(kT0));
  bot.session.OnPacket(PlayNotice(1, Cards("K")));
  EXPECT_EQ(bot.Held(), 4);
  EXPECT_FALSE(bot.session.AnswerDeadline());

  BotSession refused(SessionConfig{.utf8Name = "电脑1", .seat = 2}, nullptr);
  ASSERT_TRUE(refused.Login());
  refused.OnPacket(LoginReply(255, -1));
  EXPECT_TRUE(refused.LoginRefused());
  EXPECT_EQ(refused.Table().GameState, client::TGameState::Offline);
}

}  // namespace
}  // namespace quarn::bot
