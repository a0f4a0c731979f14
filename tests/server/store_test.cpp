// The game service and the store: a finished game is stored as it was played
// and replays to the scores the players got; the standings are answered to a
// seated player alone, and only by a server that keeps its games.
#include "store/replay.h"
#include "store/sqlite/sqlite_database.h"
#include "tests/server/harness.h"

namespace quarn::server::testing {
namespace {

std::vector<StandingsLineRecord> Ask(Harness& h, ConnectionId id, StandingsAsk ask,
                                     std::uint8_t count, std::int32_t tableNumber = 1) {
  h.host.TakeSent();
  h.Send(id, MessageType::StandingsRequest, StandingsRequestRecord{tableNumber, ask, count});
  std::vector<StandingsLineRecord> lines;
  for (const SentPacket& sent : OfKind(h.host.TakeSent(), MessageType::StandingsLine)) {
    EXPECT_EQ(sent.connection, id);
    lines.push_back(Decoded<StandingsLineRecord>(sent, DecodeStandingsLine));
  }
  return lines;
}

// The landlord plays its cards one by one; the others pass.
void PlayOneGame(Harness& h) {
  const std::int32_t rounds = h.table().Players[0].Rounds;
  while (h.table().Players[0].Rounds == rounds) {
    const std::uint32_t seat = h.table().Turn;
    if (seat == h.table().Landlord) {
      h.PlayLowest(seat);
    } else {
      h.Pass(seat);
    }
  }
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

  PlayOneGame(h);
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

  // Refused: a connection without a seat, another table, a server without a store.
  h.Open(9);
  EXPECT_TRUE(Ask(h, 9, StandingsAsk::Top, 5).empty());
  EXPECT_TRUE(Ask(h, 1, StandingsAsk::Top, 5, 2).empty());
  h.app.UseDatabase(nullptr);
  EXPECT_TRUE(Ask(h, 1, StandingsAsk::Top, 5).empty());
}

}  // namespace
}  // namespace quarn::server::testing
