// The headless account of a game: one readable line per event.
#include "client/assist/narrator.h"

#include <gtest/gtest.h>

#include "client/model/message_handling.h"
#include "tests/support/client_model/fakes.h"
#include "tests/support/hand_text.h"

namespace quarn::client {
namespace {

using test::Cards;
using testing::Bid;
using testing::Deal;
using testing::GameEnd;
using testing::LoginReply;
using testing::PlayNotice;
using testing::SeatList;
using M = MessageType;

TEST(Narrator, TellsTheDealBidsPlaysAndScores) {
  client::TClientTable table;
  table.InitTable();
  table.Me.SetName("p0");
  table.SetGameState(client::TGameState::LoggingIn);
  Narrator narrator;
  std::vector<std::string> told;
  const std::array<std::string, 4> names = {"p0", "p1", "p2", "p3"};
  const Packet packets[] = {
      LoginReply(0),
      SeatList(names),
      Deal(M::DealCards, 0, Cards("3 3 4 5 6 7 8 9 10 J Q K A 2 s 3 4 5 6 7 8 9 10 J Q")),
      Deal(M::StartCardNotice, 2, {9}),
      Bid(M::BidStart, 2, 0),
      Bid(M::BidTurn, 3, 10),
      Bid(M::BidTurn, 0, 10),
      Bid(M::BidTurn, 1, 15),
      Bid(M::BidResult, 0, 15),
      PlayNotice(0, Cards("3 3")),
      PlayNotice(1, {}),
      GameEnd(0, {30, -10, -10, -10}),
  };
  for (const Packet& packet : packets) {
    client::ReadPacket(table, packet);
    for (std::string& line : narrator.Lines(table, packet)) told.push_back(std::move(line));
  }
  const std::vector<std::string> expected = {
      "东 p0 入座",
      "北 p1 入座",
      "西 p2 入座",
      "南 p3 入座",
      "发牌：每家 25 张，底牌 8 张",
      "明牌 方块5 在 西 p2",
      "西 p2 叫 10 分",
      "南 p3 不叫",
      "东 p0 叫 15 分",
      "北 p1 不叫",
      "地主：东 p0，15 分",
      "东 p0：3 3（一对）",
      "北 p1：不要",
      "赢家：东 p0",
      "得分：东 p0 +30（共 30），北 p1 -10（共 -10），西 p2 -10（共 -10），南 p3 -10（共 -10）",
  };
  EXPECT_EQ(told, expected);
}

}  // namespace
}  // namespace quarn::client
