// The game service and the store: a finished game is stored as it was played
// and replays to the scores the players got; the standings are answered to a
// seated player alone, and only by a server that keeps its games; so are the
// replays, the list of one's games and a game whole in parts.
#include "protocol/record_parts.h"
#include "store/record_bytes.h"
#include "store/replay.h"
#include "store/sqlite/sqlite_database.h"
#include "tests/server/harness.h"

namespace quarn::server::testing {
namespace {

// The answers of type `answer` to one request, each to the asker alone.
template <typename Answer, typename Request>
std::vector<Answer> Answers(Harness& h, ConnectionId id, MessageType type, const Request& request,
                            MessageType answer, int (*decode)(Answer&, const Packet&)) {
  h.host.TakeSent();
  h.Send(id, type, request);
  std::vector<Answer> lines;
  for (const SentPacket& sent : OfKind(h.host.TakeSent(), answer)) {
    EXPECT_EQ(sent.connection, id);
    lines.push_back(Decoded<Answer>(sent, decode));
  }
  return lines;
}

std::vector<StandingsLineRecord> Ask(Harness& h, ConnectionId id, StandingsAsk ask,
                                     std::uint8_t count, std::int32_t tableNumber = 1) {
  return Answers(h, id, MessageType::StandingsRequest,
                 StandingsRequestRecord{tableNumber, ask, count}, MessageType::StandingsLine,
                 DecodeStandingsLine);
}

std::vector<ReplayListLineRecord> AskList(Harness& h, ConnectionId id, std::int32_t table = 1) {
  return Answers(h, id, MessageType::ReplayListRequest, ReplayListRequestRecord{table, 5},
                 MessageType::ReplayListLine, DecodeReplayListLine);
}

std::vector<ReplayGamePartRecord> AskGame(Harness& h, ConnectionId id, std::int64_t game,
                                          std::int32_t table = 1) {
  return Answers(h, id, MessageType::ReplayGameRequest, ReplayGameRequestRecord{table, game},
                 MessageType::ReplayGamePart, DecodeReplayGamePart);
}

TEST(Store, GamesAreStoredAsPlayedAndStandingsAnsweredToTheSeated) {
  Harness h;
  auto opened = store::SqliteDatabase::Open(h.dir.path() / "games.db");
  ASSERT_TRUE(opened.database) << opened.error;
  h.app.UseDatabase(opened.database.get());
  h.SeatFour();
  const auto none = Ask(h, 1, StandingsAsk::Top, 5);
  ASSERT_EQ(none.size(), 1u);
  EXPECT_EQ(none[0].kind, StandingsKind::None);

  while (h.table().Players[0].Rounds == 0) h.LandlordLeads();
  const auto game = opened.database->Game(1);
  ASSERT_TRUE(game);
  const store::ReplayOutcome replay = store::Replay(*game);
  ASSERT_TRUE(replay.sound) << replay.fault;
  for (int seat = 0; seat < 4; ++seat) {
    EXPECT_EQ(game->names[seat], h.table().Players[seat].Name);
    EXPECT_EQ(replay.scoreChange[seat], h.table().Players[seat].Score);
  }

  const auto top = Ask(h, 2, StandingsAsk::Top, 3);
  ASSERT_EQ(top.size(), 3u);
  const std::uint32_t landlord = game->landlord;
  EXPECT_EQ(top[0].name, h.table().Players[landlord].Name);
  EXPECT_EQ(top[0].points, 30);
  EXPECT_EQ(top[0].landlordWins, 1);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(top[i].rank, i + 1);
    EXPECT_EQ(top[i].count, 3);
  }
  const std::uint32_t farmer = (landlord + 1) % 4;
  const auto own = Ask(h, h.SocketOf(farmer), StandingsAsk::Own, 0);
  ASSERT_EQ(own.size(), 1u);
  EXPECT_EQ(own[0].name, h.table().Players[farmer].Name);
  EXPECT_EQ(own[0].points, -10);
  EXPECT_EQ(own[0].kind, StandingsKind::Own);

  // Replays: the farmer's list holds the game, and the game comes whole in parts.
  const auto list = AskList(h, h.SocketOf(farmer));
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].gameId, 1);
  EXPECT_EQ(list[0].ownSeat, farmer);
  EXPECT_EQ(list[0].landlord, landlord);
  EXPECT_EQ(list[0].scoreChange, -10);
  EXPECT_EQ(list[0].names[landlord], h.table().Players[landlord].Name);
  RecordJoiner joiner;
  for (const ReplayGamePartRecord& part : AskGame(h, h.SocketOf(farmer), 1)) joiner.Take(part);
  const auto& bytes = joiner.Bytes();
  EXPECT_EQ(store::ReadGame(std::string(bytes.begin(), bytes.end())), game);
  const auto missing = AskGame(h, 1, 2);
  ASSERT_EQ(missing.size(), 1u);
  EXPECT_EQ(missing[0].kind, ReplayKind::None);

  // Refused: a connection without a seat, another table, a server without a store.
  h.Open(9);
  for (const std::int32_t table : {1, 2}) {
    const ConnectionId id = table == 1 ? 9 : 1;  // no seat; another table
    EXPECT_TRUE(Ask(h, id, StandingsAsk::Top, 5, table).empty());
    EXPECT_TRUE(AskList(h, id, table).empty());
    EXPECT_TRUE(AskGame(h, id, 1, table).empty());
  }
  h.app.UseDatabase(nullptr);
  EXPECT_TRUE(Ask(h, 1, StandingsAsk::Top, 5).empty());
  EXPECT_TRUE(AskList(h, 1).empty());
  EXPECT_TRUE(AskGame(h, 1, 1).empty());
}

}  // namespace
}  // namespace quarn::server::testing
