// The choice of a seat, the player ids, and the refusal form of a full table.
#include "tests/server/harness.h"

namespace quarn::server::testing {
namespace {

TEST(Registry, SeatChoiceAndIds) {
  auto table = MakeTable(0);
  EXPECT_EQ(AssignSeat(*table, 3), 3);
  EXPECT_EQ(AssignSeat(*table, 4), -1);
  table->Players[3].Id = 7;
  table->Players[1].Id = 8;
  table->Count = 2;
  EXPECT_EQ(AssignSeat(*table, 3), 0);  // the wanted seat is taken: the lowest free
  table->Count = 4;                     // full, whatever the seats say
  EXPECT_EQ(AssignSeat(*table, 2), -1);
  EXPECT_EQ(NextSeat(3), 0u);
  PlayerIds ids;
  EXPECT_EQ(ids.NewPlayerId(), 1);
  EXPECT_EQ(ids.NewPlayerId(), 2);
}

TEST(Registry, FullTableAnswersWithTheRefusalForm) {
  HandTable t;
  t.table->Status = TableWaiting;  // four seats taken, no game begun yet
  Packet request = *BuildPacket(MessageType::LoginRequest, MakeLoginRequest("Eve", "", 1, 1, 1, 0));
  EXPECT_EQ(t.game.Login(9, request), 0);
  const auto sent = t.host.TakeSent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(Kind(sent[0]), MessageType::LoginReply);
  EXPECT_EQ(std::vector(sent[0].bytes.begin() + 164, sent[0].bytes.begin() + 169),
            (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 255}));  // table -1, seat 255
  EXPECT_EQ(std::tie(t.table->Status, t.table->Count), std::tuple(TableWaiting, 4u));
}

}  // namespace
}  // namespace quarn::server::testing
