// Any sequence of server messages and player actions, however odd, keeps the table consistent.
#include <gtest/gtest.h>

#include <random>

#include "client/model/client_sending.h"
#include "client/model/message_handling.h"
#include "core/card_error.h"
#include "tests/support/client_model/fakes.h"

namespace quarn::client {
namespace {

using namespace testing;
using enum MessageType;

// Now and then the player acts: picks cards and plays, passes, or loses the line.
void RandomAction(Harness& h, const std::function<int(int, int)>& pick) {
  const int roll = pick(0, 99);
  if (roll == 0) {
    h.table.ConnectionLost();
  } else if (h.table.GameState == TGameState::Offline) {
    if (roll < 30) h.table.SetGameState(TGameState::LoggingIn);
  } else if (roll < 20) {
    PressPass(h.table);
  } else {
    if (roll < 60) h.table.Me.CancelSelection();
    h.table.Me.ToggleCard(pick(0, std::max(0, h.table.Me.Hand.Count() - 1)));
    PlaySelection(h.table);
  }
}

TEST(RandomMessages, NeverBreakTheTablesInvariants) {
  int overfilled = 0;
  CardErrorSink previous = SetCardErrorSink([&](std::string_view text) {
    if (text.ends_with("[13]") || text.ends_with("[14]")) ++overfilled;
  });
  std::mt19937 rng(20261206);
  const std::function<int(int, int)> pick = [&rng](int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
  };
  std::array<int, 8> visited{};
  for (int run = 0; run < 200; ++run) {
    Harness h;
    h.table.Me.SetName("me");
    h.table.SetGameState(TGameState::LoggingIn);
    for (int step = 0; step < 300; ++step) {
      if (pick(0, 3) == 0) {
        RandomAction(h, pick);
      } else if (std::optional<Packet> packet = RandomServerPacket(pick, h.table.OwnSeat)) {
        ReadPacket(h.table, *packet);
      }
      ++visited[static_cast<std::size_t>(h.table.GameState)];
      const TCurrentPlayer& me = h.table.Me;
      ASSERT_LE(me.Hand.Count(), 33);
      ASSERT_EQ(me.CardCount(), me.Hand.Count());
      ASSERT_EQ(me.Selection.Count(), me.Hand.SelectedCount());
      ASSERT_TRUE(IsSeat(h.table.OwnSeat));
      for (int seat = 0; seat < kSeatCount; ++seat) {
        const TClientPlayer* player = h.table.PlayerAt(seat);
        ASSERT_TRUE(player == nullptr || player->CardCount() >= 0);
      }
    }
  }
  SetCardErrorSink(previous);
  for (int count : visited) EXPECT_GT(count, 50) << ::testing::PrintToString(visited);
  EXPECT_EQ(overfilled, 0);  // deals and bottom cards never overfill the hand
}

}  // namespace
}  // namespace quarn::client
