#include "bot/bot_session.h"

#include <gtest/gtest.h>

#include <random>

#include "server_script.h"

namespace quarn::bot {
namespace {

using namespace std::chrono_literals;
using client::TGameState;
using testing::Bid;
using testing::Cards;
using testing::Deal;
using testing::FullSeatList;
using testing::GameOver;
using testing::LoginReply;
using testing::Notice;
using testing::Turn;

const BotSession::Clock::time_point kT0{};

MessageType TypeOf(const Packet& packet) {
  return static_cast<MessageType>(packet.RawType());
}

// A session at seat `seat` that has logged in and been dealt `hand`; the
// start card names `starter`.
struct Seated {
  Seated(int seat, const std::string& hand, int starter, int games = 0)
      : session(SessionConfig{.utf8Name = "电脑1", .seat = seat, .games = games},
                [this](std::string_view line) { log += std::string(line) + "\n"; }) {
    std::optional<Packet> login = session.Login();
    EXPECT_TRUE(login && TypeOf(*login) == MessageType::LoginRequest);
    session.OnPacket(LoginReply(seat));
    session.OnPacket(FullSeatList());
    session.OnPacket(Deal(MessageType::DealCards, seat, Cards(hand)));
    session.OnPacket(Deal(MessageType::StartCardNotice, starter, Cards("3", 7)));
  }
  int Held() const { return session.Table().Me.Hand.Count(); }

  std::string log;
  BotSession session;
};

constexpr const char* kStrongHand = "s B B 2 2 2 A A A 9 9 9 9 9 3 3 3 3 K K Q Q J J 10";
constexpr const char* kPlainHand = "3 4 4 5 6 6 7 8 8 9 10 10 J Q Q K A A 2 5 7 9 J K 6";

TEST(BotSession, BidsThenWaitsForTheBottomCardsBeforeLeadingItsWeakestPlay) {
  Seated bot(0, kStrongHand, 0);
  EXPECT_FALSE(bot.session.WantsToMove());
  bot.session.OnPacket(Bid(MessageType::BidStart, 0, 1));
  ASSERT_TRUE(bot.session.WantsToMove());
  std::optional<Packet> bid = bot.session.Move(kT0);
  ASSERT_TRUE(bid);
  EXPECT_EQ(TypeOf(*bid), MessageType::BidOffer);
  EXPECT_EQ(bid->bytes[37], 30);
  EXPECT_FALSE(bot.session.WantsToMove());  // one bid per seat

  bot.session.OnPacket(Bid(MessageType::BidTurn, 1, 30));
  bot.session.OnPacket(Bid(MessageType::BidResult, 0, 30));
  // The landlord's turn, but its eight bottom cards are still on their way.
  EXPECT_EQ(bot.session.Table().GameState, TGameState::InPlay);
  EXPECT_FALSE(bot.session.WantsToMove());
  EXPECT_FALSE(bot.session.Move(kT0));
  bot.session.OnPacket(Deal(MessageType::ExtraCards, 0, Cards("4 4 5 6 7 8 10 J", 4)));
  ASSERT_TRUE(bot.session.WantsToMove());

  std::optional<Packet> lead = bot.session.Move(kT0);
  ASSERT_TRUE(lead);
  EXPECT_EQ(TypeOf(*lead), MessageType::PlayCards);
  EXPECT_EQ(lead->bytes[36], 0);  // seat
  EXPECT_EQ(lead->bytes[37], 1);  // one card: the lone 5, the weakest play
  EXPECT_EQ(RankOf(lead->bytes[38]), 3);
  EXPECT_EQ(lead->bytes[71], static_cast<int>(CombinationType::Single));
  // The card leaves the hand when sent, and only once.
  EXPECT_EQ(bot.Held(), 32);
  bot.session.OnPacket(Notice(0, {lead->bytes[38]}));
  EXPECT_EQ(bot.Held(), 32);
  EXPECT_FALSE(bot.session.WantsToMove());
  bot.session.OnPacket(Turn(1));
  EXPECT_FALSE(bot.session.WantsToMove());
  EXPECT_EQ(bot.session.Refusals(), 0);
}

TEST(BotSession, AnUnansweredPlayCountsAsRefusedAndLeavesTheHandWhole) {
  Seated bot(0, kPlainHand, 3);
  bot.session.OnPacket(Bid(MessageType::BidResult, 3, 10));
  bot.session.OnPacket(Notice(3, Cards("7", 4)));
  bot.session.OnPacket(Turn(0));
  std::optional<Packet> play = bot.session.Move(kT0);
  ASSERT_TRUE(play);
  ASSERT_EQ(TypeOf(*play), MessageType::PlayCards);
  EXPECT_GT(RankOf(play->bytes[38]), RankOf(Cards("7")[0]));

  EXPECT_FALSE(bot.session.CheckAnswer(kT0 + 1s));
  std::optional<Packet> instead = bot.session.CheckAnswer(kT0 + 6s);
  ASSERT_TRUE(instead);
  EXPECT_EQ(TypeOf(*instead), MessageType::PlayPass);
  EXPECT_EQ(bot.session.Refusals(), 1);
  EXPECT_EQ(bot.Held(), 25);
  EXPECT_NE(bot.log.find("refused"), std::string::npos);
  bot.session.OnPacket(Notice(0, {}));
  bot.session.OnPacket(Turn(1));
  EXPECT_FALSE(bot.session.AnswerDeadline());
}

TEST(BotSession, LeavesAPartnersPlayAndStopsAfterItsGames) {
  Seated bot(0, kPlainHand, 2, /*games=*/1);
  bot.session.OnPacket(Bid(MessageType::BidResult, 2, 10));
  bot.session.OnPacket(Notice(2, Cards("4", 4)));
  bot.session.OnPacket(Turn(3));
  EXPECT_FALSE(bot.session.WantsToMove());
  bot.session.OnPacket(Notice(3, Cards("5", 4)));
  bot.session.OnPacket(Turn(0));
  std::optional<Packet> answer = bot.session.Move(kT0);
  ASSERT_TRUE(answer);
  EXPECT_EQ(TypeOf(*answer), MessageType::PlayPass);  // the partner's 5 stands

  bot.session.OnPacket(Notice(0, {}));
  bot.session.OnPacket(Turn(1));
  EXPECT_FALSE(bot.session.Finished());
  bot.session.OnPacket(GameOver(3));
  EXPECT_EQ(bot.session.GamesFinished(), 1);
  EXPECT_TRUE(bot.session.Finished());
  EXPECT_EQ(bot.Held(), 0);
  EXPECT_NE(bot.log.find("we won"), std::string::npos);
}

TEST(BotSession, GivesUpWaitingForBottomCardsThatNeverCome) {
  Seated bot(1, kPlainHand, 1);
  bot.session.OnPacket(Bid(MessageType::BidResult, 1, 10), kT0);
  EXPECT_FALSE(bot.session.WantsToMove());
  ASSERT_TRUE(bot.session.AnswerDeadline());
  EXPECT_FALSE(bot.session.CheckAnswer(kT0 + 1s));
  std::optional<Packet> lead = bot.session.CheckAnswer(kT0 + 6s);
  ASSERT_TRUE(lead);
  EXPECT_EQ(TypeOf(*lead), MessageType::PlayCards);
  EXPECT_EQ(bot.session.Refusals(), 0);
  EXPECT_NE(bot.log.find("never came"), std::string::npos);
}

std::vector<std::uint8_t> RandomCards(std::mt19937& random, int count) {
  std::vector<std::uint8_t> cards;
  for (int i = 0; i < count; ++i) cards.push_back(static_cast<std::uint8_t>(1 + random() % 108));
  return cards;
}

// A server packet that is well formed more often than not, in no sensible order.
Packet RandomServerPacket(std::mt19937& random, int ownSeat) {
  const int seat = static_cast<int>(random() % 4);
  switch (random() % 9) {
    case 0:
      return Deal(MessageType::DealCards, ownSeat, RandomCards(random, 25));
    case 1:
      return Deal(MessageType::ExtraCards, seat, RandomCards(random, 8));
    case 2:
      return Bid(MessageType::BidStart, seat, 1);
    case 3:
      return Bid(MessageType::BidTurn, seat, static_cast<int>(random() % 40));
    case 4:
      return Bid(MessageType::BidResult, seat, 10);
    case 5:
      return Notice(seat, RandomCards(random, static_cast<int>(random() % 6)));
    case 6:
      return Turn(random() % 3 ? ownSeat : seat);
    case 7:
      return GameOver(seat);
    default:
      break;
  }
  static constexpr MessageType kTypes[] = {MessageType::PlayNotice, MessageType::DealCards,
                                           MessageType::GameEnd,    MessageType::PlayerLeave,
                                           MessageType::TableState, MessageType::TurnClock};
  Packet packet = *BuildEmptyPacket(kTypes[random() % std::size(kTypes)]);
  for (std::size_t at = HeaderSize; at + TailSize < packet.length; ++at) {
    packet.bytes[at] = static_cast<std::uint8_t>(random());
  }
  packet.bytes[35] = 1;  // the table number, often right
  return packet;
}

// Whatever the server sends, the session neither crashes nor sends anything
// but its own requests.
TEST(BotSession, SurvivesRandomServerPackets) {
  std::mt19937 random(5);
  int sent = 0;
  for (int round = 0; round < 100; ++round) {
    const int ownSeat = round % 4;
    Seated bot(ownSeat, kPlainHand, (round + 1) % 4);
    auto now = kT0;
    for (int i = 0; i < 400; ++i) {
      bot.session.OnPacket(RandomServerPacket(random, ownSeat), now);
      now += 700ms;
      for (std::optional<Packet> out : {bot.session.Move(now), bot.session.CheckAnswer(now)}) {
        if (!out) continue;
        ++sent;
        const auto type = static_cast<MessageType>(out->RawType());
        EXPECT_TRUE(type == MessageType::PlayCards || type == MessageType::PlayPass ||
                    type == MessageType::BidOffer || type == MessageType::BidPass);
        EXPECT_EQ(out->bytes[36], ownSeat);
      }
    }
  }
  EXPECT_GT(sent, 500);  // the packets did reach moves
}

// The connection dropped mid-game; the server kept the seat and tells the
// game again. The bot plays on at once, and when the server's computer moved
// for it first, its hand follows the server.
TEST(BotSession, ComesBackToAKeptSeatAndPlaysOn) {
  Seated bot(1, kPlainHand, 3);
  bot.session.OnPacket(Bid(MessageType::BidResult, 3, 10));
  bot.session.ConnectionLost();
  EXPECT_FALSE(bot.session.LoggedIn());
  ASSERT_TRUE(bot.session.Login());
  bot.session.OnPacket(LoginReply(1));
  bot.session.OnPacket(FullSeatList());
  TableStateRecord state{.tableNumber = 1,
                         .seat = 1,
                         .phase = TablePhase::Playing,
                         .turn = 1,
                         .landlord = 3,
                         .points = 10,
                         .cardCount = {24, 20, 25, 32},
                         .startCard = 7,
                         .handCount = 20,
                         .leadSeat = 0,
                         .tableCount = 1};
  const std::vector<std::uint8_t> hand = Cards("3 4 4 5 6 6 7 8 8 9 10 10 J Q Q K A A 2 5");
  std::copy(hand.begin(), hand.end(), state.hand.begin());
  state.tableCards[0] = Cards("4", 5)[0];
  bot.session.OnPacket(*BuildPacket(MessageType::TableState, state));
  EXPECT_NE(bot.log.find("back at the table: 20 cards"), std::string::npos);
  ASSERT_TRUE(bot.session.WantsToMove());
  ASSERT_TRUE(bot.session.Move(kT0));
  bot.session.OnPacket(Notice(1, Cards("K")));
  EXPECT_EQ(bot.Held(), 19);
  EXPECT_FALSE(bot.session.AnswerDeadline());
}

TEST(BotSession, HearsOfARefusedLogin) {
  BotSession session(SessionConfig{.utf8Name = "电脑1", .seat = 2}, nullptr);
  ASSERT_TRUE(session.Login());
  LoginRecord refusal;
  refusal.name[0] = "x";
  refusal.nameLength[0] = 1;
  refusal.tableNumber = -1;
  refusal.seat = 255;
  session.OnPacket(*BuildPacket(MessageType::LoginReply, refusal));
  EXPECT_TRUE(session.LoginRefused());
  EXPECT_FALSE(session.LoggedIn());
}

}  // namespace
}  // namespace quarn::bot
