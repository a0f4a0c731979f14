// The table record, the choice of a seat and the player ids.
#include "server/game_service.h"
#include "tests/server/harness.h"

namespace quarn::server::testing {
namespace {

TEST(Registry, MadeTableAndSeatChoice) {
  auto table = MakeTable(0);
  EXPECT_EQ(table->Table, 1);
  EXPECT_EQ(table->Status, TableWaiting);
  EXPECT_EQ(table->DefaultPoints, 10u);
  for (std::uint32_t seat = 0; seat < 4; ++seat) {
    EXPECT_EQ(table->Players[seat].Seat, seat);
    EXPECT_EQ(table->Players[seat].HeadIcon, 1);
    EXPECT_FALSE(table->Players[seat].Taken());
  }
  EXPECT_EQ(AssignSeat(*table, 3), 3);
  EXPECT_EQ(AssignSeat(*table, 4), -1);
  EXPECT_EQ(AssignSeat(*table, -1), -1);
  table->Players[3].Id = 7;
  table->Players[1].Id = 8;
  table->Count = 2;
  EXPECT_EQ(AssignSeat(*table, 3), 0);  // the wanted seat is taken: lowest free
  table->Players[0].Id = 9;
  EXPECT_EQ(AssignSeat(*table, 1), 2);
  // A count of four is full without looking at the seats.
  table->Count = 4;
  EXPECT_EQ(AssignSeat(*table, 2), -1);

  EXPECT_EQ(NextSeat(0), 1u);
  EXPECT_EQ(NextSeat(3), 0u);
  PlayerIds ids;
  EXPECT_EQ(ids.NewPlayerId(), 1);
  EXPECT_EQ(ids.NewPlayerId(), 2);
}

TEST(Registry, FullTableAnswersWithTheRefusalForm) {
  // Four seated while waiting cannot arise from logins alone; the refusal form
  // is still the answer.
  FakeHost host;
  FakeView view;
  ConsoleLog log(host, view, FreshDir("refusal_form"));
  Outbox outbox(host, log);
  auto table = MakeTable(0);
  PlayerIds ids;
  GameService game(host, log, outbox, *table, ids);
  for (std::uint32_t seat = 0; seat < 4; ++seat) {
    table->Players[seat].Id = static_cast<std::int32_t>(seat + 1);
    table->Players[seat].Socket = seat + 1;
  }
  table->Count = 4;
  Packet request =
      *BuildPacket(MessageType::LoginRequest, MakeLoginRequest("Eve", "pw", 1, 1, 1, 0));
  EXPECT_EQ(game.Login(9, request), 0);
  const auto sent = host.TakeSent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].connection, 9u);
  const Packet reply = PacketFromBytes(sent[0].bytes);
  EXPECT_EQ(reply.RawType(), static_cast<std::uint32_t>(MessageType::LoginReply));
  EXPECT_EQ(reply.bytes[164], 0xFF);  // table -1
  EXPECT_EQ(reply.bytes[167], 0xFF);
  EXPECT_EQ(reply.bytes[168], 255);
  EXPECT_EQ(table->Status, TableWaiting);
  EXPECT_EQ(table->Count, 4u);
}

}  // namespace
}  // namespace quarn::server::testing
