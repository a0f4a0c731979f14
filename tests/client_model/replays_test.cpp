// Replays at the client: the list answer taken whole, a game joined from its
// parts and played again (or shown as not whole, not sound, not found), and
// the steps of a game from the deal to the scores.
#include <gtest/gtest.h>

#include "client/model/client_sending.h"
#include "client/model/message_handling.h"
#include "client/model/replay_steps.h"
#include "protocol/record_parts.h"
#include "store/record_bytes.h"
#include "tests/support/client_model/fakes.h"
#include "tests/support/store/sample_game.h"

namespace quarn::client {
namespace {

using store::testing::SampleGame;
using testing::Harness;
using testing::Must;

Packet ListLine(std::uint8_t count, std::int64_t id) {
  ReplayListLineRecord line;
  line.tableNumber = 1;
  line.kind = ReplayKind::Found;
  line.count = count;
  line.gameId = id;
  return Must(BuildPacket(MessageType::ReplayListLine, line));
}

std::vector<ReplayGamePartRecord> PartsOf(const store::GameRecord& game, std::int64_t id) {
  const std::string bytes = store::GameBytes(game);
  return SplitRecord(1, id, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

TEST(Replays, TheListIsTakenWholeAndOnlyWhenAsked) {
  Harness h;
  h.SeatFour(0);
  h.Feed(ListLine(1, 5));  // unasked: dropped
  EXPECT_TRUE(h.table.Replays.Games.empty());
  ASSERT_TRUE(SendReplayListRequest(h.table, 10));
  EXPECT_EQ(h.Feed(ListLine(2, 9)), 0);
  EXPECT_FALSE(h.display.Saw("replays"));
  EXPECT_EQ(h.Feed(ListLine(2, 8)), 0);
  ASSERT_EQ(h.table.Replays.Games.size(), 2u);
  EXPECT_EQ(h.table.Replays.Games[1].gameId, 8);
  EXPECT_TRUE(h.display.Saw("replays"));
  h.Feed(ListLine(1, 5));  // answered already: dropped
  EXPECT_EQ(h.table.Replays.Games.size(), 2u);
}

TEST(Replays, AGameArrivesWholeOrIsShownAsWhatWentWrong) {
  const store::GameRecord game = SampleGame(2);
  store::GameRecord unsound = game;
  std::swap(unsound.moves[0], unsound.moves[1]);
  ReplayGamePartRecord none;
  none.tableNumber = 1;
  none.gameId = 4;
  struct Case {
    const char* name;
    std::vector<ReplayGamePartRecord> parts;
    ReplayArrival arrival;
    bool cut = false;  // the connection lost after the parts
  };
  std::vector<Case> cases = {
      {"whole", PartsOf(game, 4), ReplayArrival::Ready},
      {"a part lost", PartsOf(game, 4), ReplayArrival::NotWhole},
      {"not playable", PartsOf(unsound, 4), ReplayArrival::NotSound},
      {"no such game", {none}, ReplayArrival::NotFound},
      {"not the game asked", PartsOf(game, 3), ReplayArrival::Arriving},
      {"cut off", {PartsOf(game, 4)[0]}, ReplayArrival::NotWhole, true},
  };
  cases[1].parts.erase(cases[1].parts.begin() + 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Harness h;
    h.SeatFour(0);
    h.Feed(BuildPacket(MessageType::ReplayGamePart, c.parts[0]));  // unasked: dropped
    EXPECT_EQ(h.table.Replays.Arrival, ReplayArrival::None);
    ASSERT_TRUE(SendReplayGameRequest(h.table, 4));
    for (const ReplayGamePartRecord& part : c.parts) {
      h.Feed(BuildPacket(MessageType::ReplayGamePart, part));
    }
    if (c.cut) h.table.ConnectionLost();
    EXPECT_EQ(h.table.Replays.Arrival, c.arrival);
    EXPECT_EQ(h.table.Replays.Game.has_value(),
              c.arrival == ReplayArrival::Ready || c.arrival == ReplayArrival::NotSound);
    EXPECT_EQ(h.table.Replays.Fault.empty(), c.arrival != ReplayArrival::NotSound);
  }
}

TEST(Replays, StepsGoFromTheDealThroughEveryMoveToTheScores) {
  store::GameRecord game = SampleGame(1);
  game.bids = {{1, 0}, {2, 0}, {3, 0}, {0, 0}};
  const ReplaySteps steps(game);
  ASSERT_EQ(steps.Count(), 1 + 4 + game.moves.size());
  std::size_t laid = 0;
  for (std::size_t step = 0; step < steps.Count(); ++step) {
    const ReplayFrame frame = steps.At(step);
    if (step > 4) laid += game.moves[step - 5].cards.size();
    std::size_t held = 0;
    for (const auto& hand : frame.hands) held += hand.size();
    // Every card is in a hand, on the table so far, or (until play) in the bottom.
    EXPECT_EQ(held + laid + (step <= 4 ? 8 : 0), 108u) << step;
    EXPECT_FALSE(frame.caption.empty());
    EXPECT_EQ(frame.landlord >= 0, step >= 4);
  }
  const ReplayFrame first = steps.At(5);
  EXPECT_EQ(first.actor, game.landlord);
  EXPECT_EQ(first.lastPlay[game.landlord]->size(), 1u);
  // The landlord's next lead, after three passes, clears the others' passes.
  const ReplayFrame lead = steps.At(9);
  EXPECT_EQ(std::count(lead.lastPlay.begin(), lead.lastPlay.end(), std::nullopt), 3);
  const ReplayFrame last = steps.At(steps.Count() + 3);
  EXPECT_EQ(last.phase, ReplayPhase::Finished);
  EXPECT_TRUE(last.hands[game.landlord].empty());
  EXPECT_NE(last.caption.find("地主胜"), std::string::npos);
}

}  // namespace
}  // namespace quarn::client
