// A game that survives its players: a lost seat played by the computer to
// the end of the game and then freed, its player's return, the turn clock,
// 托管 on request, and the requests of our own that are refused.
#include <algorithm>
#include <numeric>

#include "tests/server/harness.h"

namespace quarn::server::testing {
namespace {

ServerSettings Keeping(bool pacing = false, std::uint32_t turnTime = 0) {
  return {.allowDelay = pacing, .keepSeats = true, .turnTimeS = turnTime};
}

// A person at `seat`: leads its lowest card, passes whenever it may.
void PersonMoves(Harness& h, std::uint32_t seat) {
  const TServerTable& t = h.table();
  if (t.LastPlay.Count() == 0 || t.LastPlayer == seat) {
    h.PlayLowest(seat);
  } else {
    h.Pass(seat);
  }
}

// The card numbers a seat holds, in the hand's order.
std::vector<std::uint8_t> HandOf(const TServerTable& t, std::uint32_t seat) {
  std::vector<std::uint8_t> cards;
  for (const TPoker& card : t.Players[seat].Hand.Cards()) {
    if (card.IsPresent()) cards.push_back(static_cast<std::uint8_t>(card.Number()));
  }
  return cards;
}

// The seat lost is the one to move: the computer must take over the turn under way.
TEST(Keeping, ALostSeatIsPlayedToTheEndOfTheGameAndThenFreed) {
  Harness h(Keeping());
  h.SeatFour();
  h.host.TakeSent();
  const std::uint32_t lost = h.table().Turn;
  h.app.ConnectionClosed(h.SocketOf(lost));
  const auto told = h.host.TakeSent();
  ASSERT_EQ(Kinds(told), std::vector<MessageType>(3, MessageType::AutoPlayNotice));
  EXPECT_EQ(h.table().Count, 4u);
  std::vector<SentPacket> game;
  for (int moves = 0; moves < 500 && h.table().Status == TablePlaying; ++moves) {
    if (h.table().Turn == lost) {
      h.host.RunTimers();  // the computer's move
    } else {
      PersonMoves(h, h.table().Turn);
    }
    const auto sent = h.host.TakeSent();
    game.insert(game.end(), sent.begin(), sent.end());
  }
  const auto ends = OfKind(game, MessageType::GameEnd);
  ASSERT_EQ(ends.size(), 3u);  // to the three connections left
  const auto end = Decoded<GameEndRecord>(ends[0], DecodeGameEnd);
  EXPECT_EQ(std::accumulate(end.score.begin(), end.score.end(), 0), 0);
  // The computer laid cards for the lost seat, and only the game's end freed it.
  EXPECT_EQ(h.table().History.front().seat, lost);
  const auto kinds = Kinds(game);
  const auto leave = std::find(kinds.begin(), kinds.end(), MessageType::PlayerLeave);
  ASSERT_NE(leave, kinds.end());
  EXPECT_GT(leave - std::find(kinds.begin(), kinds.end(), MessageType::GameEnd), 0);
  EXPECT_EQ(Decoded<SeatRecord>(game[leave - kinds.begin()], DecodePlayerLeave).seat, lost);
  EXPECT_EQ(h.table().Status, TableWaiting);
  EXPECT_EQ(h.table().Count, 3u);
  for (const std::string& line : h.view.log) EXPECT_EQ(line.find("[错误]"), std::string::npos);
}

struct Return {
  const char* password;  // at the first login
  const char* again;     // at the return
  const char* address;   // of the return; the first login came from 127.0.0.1
  bool seated;
};

TEST(Keeping, APlayerComesBackWithItsNameAndPasswordOrFromItsAddress) {
  for (const Return& r : {Return{"pw", "pw", "10.1.1.1", true},
                          Return{"pw", "px", "127.0.0.1", false}, Return{"", "", "127.0.0.1", true},
                          Return{"", "", "10.1.1.1", false}, Return{"", "x", "127.0.0.1", false}}) {
    SCOPED_TRACE(std::string(r.password) + "/" + r.again + "@" + r.address);
    Harness h(Keeping());
    for (ConnectionId id = 1; id <= 4; ++id) {
      h.Open(id);
      h.Login(id, std::string(1, static_cast<char>('A' + id - 1)),
              static_cast<std::uint8_t>(id - 1), 1, id == 2 ? r.password : "pw");
    }
    h.app.ConnectionClosed(2);  // seat 1
    h.host.TakeSent();
    h.host.addresses[9] = r.address;
    h.Open(9);
    h.Login(9, "B", 0, 1, r.again);
    const auto sent = h.host.TakeSent();
    if (!r.seated) {
      for (const SentPacket& packet : sent) EXPECT_NE(packet.connection, 9u);
      EXPECT_EQ(h.table().Players[1].Socket, kNoConnection);
      continue;
    }
    ASSERT_EQ(h.table().Players[1].Socket, 9u);
    std::vector<MessageType> toIt;
    for (const SentPacket& packet : sent) {
      if (packet.connection == 9) toIt.push_back(Kind(packet));
    }
    EXPECT_EQ(toIt,
              (std::vector<MessageType>{MessageType::LoginReply, MessageType::SeatList,
                                        MessageType::TableState, MessageType::AutoPlayNotice}));
    const auto state =
        Decoded<TableStateRecord>(OfKind(sent, MessageType::TableState)[0], DecodeTableState);
    EXPECT_EQ(state.seat, 1);
    EXPECT_EQ(std::vector<std::uint8_t>(state.hand.begin(), state.hand.begin() + state.handCount),
              HandOf(h.table(), 1));
  }
}

TEST(TurnTime, AnIdleSeatIsPlayedWhenItsTimeRunsOutAndHandedOverAfterTwo) {
  Harness h(Keeping(false, 1));
  h.settle = false;  // time moves only as the test says
  h.SeatFour();
  const std::uint32_t lord = h.table().Turn;
  auto clocks = OfKind(h.host.TakeSent(), MessageType::TurnClock);
  ASSERT_FALSE(clocks.empty());
  const auto clock = Decoded<TurnClockRecord>(clocks.back(), DecodeTurnClock);
  EXPECT_EQ(std::tuple(clock.seat, clock.turnMs, clock.leftMs), std::tuple(lord, 1000, 1000));
  const auto leadBefore = h.table().History.size();
  h.host.Advance(std::chrono::milliseconds(999));
  EXPECT_EQ(h.table().History.size(), leadBefore);
  h.host.Advance(std::chrono::milliseconds(1));  // the computer leads for the landlord
  ASSERT_EQ(h.table().History.size(), leadBefore + 1);
  EXPECT_EQ(h.table().Players[lord].Control, SeatControl::Person);
  const auto othersPass = [&h, lord] {
    for (int other = 1; other <= 3; ++other) h.Pass((lord + other) % 4);
  };
  othersPass();
  h.PlayLowest(lord);  // its own move starts the count again
  othersPass();
  h.host.Advance(std::chrono::milliseconds(1000));
  EXPECT_EQ(h.table().Players[lord].Control, SeatControl::Person);
  othersPass();
  h.host.Advance(std::chrono::milliseconds(1000));  // the second time out in a row
  EXPECT_EQ(h.table().Players[lord].Control, SeatControl::AfterTimeouts);
  othersPass();
  // In 托管 the computer moves after its pause; the player's own move comes first and ends it.
  h.host.TakeSent();
  h.PlayLowest(lord);
  EXPECT_EQ(h.table().Players[lord].Control, SeatControl::Person);
  EXPECT_EQ(OfKind(h.host.TakeSent(), MessageType::AutoPlayNotice).size(), 4u);
}

TEST(Keeping, RequestsOfOurOwnFromStrangersForOtherSeatsOrOutOfTimeAreRefused) {
  Harness h(Keeping());
  for (ConnectionId id = 1; id <= 3; ++id) {
    h.Open(id);
    h.Login(id, "P" + std::to_string(id), static_cast<std::uint8_t>(id - 1));
  }
  h.Open(9);
  h.host.TakeSent();
  const auto toTable = [](std::uint8_t seat, bool on) {
    return AutoPlayRecord{1, seat, on ? SeatControl::OnRequest : SeatControl::Person};
  };
  h.Send(9, MessageType::AutoPlayRequest, toTable(0, true));  // a stranger
  h.Send(1, MessageType::AutoPlayRequest, toTable(1, true));  // another seat
  EXPECT_TRUE(h.host.TakeSent().empty());
  // No game yet: every state request is stale.
  for (const auto& [table, seat] : {std::pair{1, 0}, std::pair{2, 0}, std::pair{1, 1}}) {
    h.Send(1, MessageType::StateRequest, SeatRecord{table, static_cast<std::uint8_t>(seat)});
  }
  EXPECT_TRUE(h.host.TakeSent().empty());
  h.Open(4);
  h.Login(4, "P4", 3);
  h.host.TakeSent();
  for (const auto& [table, seat] : {std::pair{2, 0}, std::pair{1, 1}, std::pair{1, 0}}) {
    h.Send(1, MessageType::StateRequest, SeatRecord{table, static_cast<std::uint8_t>(seat)});
  }
  EXPECT_EQ(Kinds(h.host.TakeSent()), std::vector<MessageType>{MessageType::TableState});
  // 托管 asked twice is told once; the computer then plays the seat's turns.
  h.Send(1, MessageType::AutoPlayRequest, toTable(0, true));
  h.Send(1, MessageType::AutoPlayRequest, toTable(0, true));
  EXPECT_EQ(OfKind(h.host.TakeSent(), MessageType::AutoPlayNotice).size(), 4u);
  EXPECT_EQ(h.table().Players[0].Control, SeatControl::OnRequest);
}

}  // namespace
}  // namespace quarn::server::testing
