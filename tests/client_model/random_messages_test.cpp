// Any sequence of server messages and player actions, however odd, keeps the table consistent.
#include <gtest/gtest.h>

#include <random>

#include "client/model/client_sending.h"
#include "client/model/client_service.h"
#include "core/card_error.h"
#include "fakes.h"

namespace quarn::client {
namespace {

using namespace testing;
using enum MessageType;

// A server message of a random type with random but mostly plausible fields.
std::optional<Packet> RandomServerPacket(const std::function<int(int, int)>& pick) {
  const int table = pick(0, 9) == 0 ? 2 : 1;
  const int seat = pick(0, 3);
  CardBytes cards(33);
  for (auto& card : cards) card = static_cast<std::uint8_t>(pick(1, 108));
  const auto first = [&cards](int n) { return CardBytes(cards.begin(), cards.begin() + n); };
  switch (pick(0, 13)) {
    case 0:
      return testing::LoginReply(seat, table);
    case 1:
      return testing::SeatList({"a", pick(0, 1) ? "b" : "", "c", "d"}, table);
    case 2:
      return Deal(DealCards, seat, first(pick(1, 25)), table);
    case 3:
      return Deal(StartCardNotice, seat, first(1), table);
    case 4:
      return Deal(ExtraCards, seat, first(8), table);
    case 5:
    case 6:
    case 7:
      return Bid(std::array{BidStart, BidTurn, BidResult}[pick(0, 2)], seat, pick(0, 255), table);
    case 8:
      return testing::PlayNotice(seat, first(pick(0, 33)), table);
    case 9:
      return SeatMessage(PlayTurn, seat, table);
    case 10:
      return testing::GameEnd(seat, {"p0", "p1", "p2", "p3"}, {1, -1, 2, -2}, table);
    case 11:
      return SeatMessage(PlayerLeave, seat, table);
    case 12:
      return BuildPacket(ChatNotice, ChatRecord{table, 1, "hi"});
    default:
      return BuildPacket(IconNotice, IconRecord{table, 2, pick(0, 50), 3});
  }
}

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
      } else if (std::optional<Packet> packet = RandomServerPacket(pick)) {
        if (pick(0, 19) == 0) packet->bytes[pick(32, static_cast<int>(packet->length) - 1)] ^= 0x5A;
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
