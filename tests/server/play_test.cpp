// Plays, passes, the end of a game and its score, on a table set up by hand.
#include <filesystem>
#include <memory>

#include "server/console_log.h"
#include "server/game_service.h"
#include "server/sending.h"
#include "tests/server/harness.h"

namespace quarn::server::testing {
namespace {

// The first-deck card of a rank value (1 = "3" .. 13 = "2") and suit 0..3.
std::uint8_t Card(int rank, int suit = 0) {
  return static_cast<std::uint8_t>((rank - 1) * 4 + suit + 1);
}

class HandTable {
 public:
  explicit HandTable(const std::string& name)
      : dir(FreshDir(name)),
        log(host, view, dir),
        outbox(host, log),
        table(MakeTable(0)),
        game(host, log, outbox, *table, ids) {
    log.TakeStamp();
    for (std::uint32_t seat = 0; seat < 4; ++seat) {
      TServerPlayer& player = table->Players[seat];
      player.Id = static_cast<std::int32_t>(seat + 1);
      player.Socket = seat + 1;
      player.Name = "P" + std::to_string(seat);
    }
    table->Count = 4;
    table->Status = TablePlaying;
    table->AllowDelay = false;
    table->HighBid = 10;
  }

  void Give(std::uint32_t seat, std::vector<std::uint8_t> cards) {
    table->Players[seat].Hand.Clear();
    table->Players[seat].Hand.AddCards(cards);
  }
  // Plays with the claimed type and key the core finds, unless given.
  int Play(std::uint32_t seat, std::vector<std::uint8_t> cards, int type = -1, int key = -1) {
    PlayRecord play;
    play.tableNumber = 1;
    play.seat = static_cast<std::uint8_t>(seat);
    play.count = static_cast<std::uint8_t>(cards.size());
    std::copy(cards.begin(), cards.end(), play.cards.begin());
    TSelectPoker check;
    check.LoadBytes(play.cards);
    check.Classify();
    play.comboType = static_cast<std::uint8_t>(type >= 0 ? type : static_cast<int>(check.Type()));
    play.keyRank = static_cast<std::uint8_t>(key >= 0 ? key : check.Key());
    Packet packet = *BuildPacket(MessageType::PlayCards, play);
    return game.Play(seat + 1, packet);
  }
  int Pass(std::uint32_t seat) {
    Packet packet =
        *BuildPacket(MessageType::PlayPass, SeatRecord{1, static_cast<std::uint8_t>(seat)});
    return game.Pass(seat + 1, packet);
  }

  struct State {
    std::int8_t status;
    std::uint32_t turn, lastPlayer;
    Combination lastPlay;
    std::array<int, 4> handCounts;
    std::array<std::int32_t, 4> scores;
    bool operator==(const State&) const = default;
  };
  State Snapshot() const {
    State state{
        table->Status, table->Turn, table->LastPlayer, table->LastPlay.AsCombination(), {}, {}};
    for (int seat = 0; seat < 4; ++seat) {
      state.handCounts[seat] = table->Players[seat].Hand.Count();
      state.scores[seat] = table->Players[seat].Score;
    }
    return state;
  }
  // A refused message: no answer, no change.
  template <typename Act>
  void ExpectRefused(Act act) {
    host.TakeSent();
    const State before = Snapshot();
    EXPECT_EQ(act(), 1);
    EXPECT_TRUE(host.TakeSent().empty());
    EXPECT_EQ(Snapshot(), before);
  }

  FakeHost host;
  FakeView view;
  std::filesystem::path dir;
  ConsoleLog log;
  Outbox outbox;
  std::unique_ptr<TServerTable> table;
  PlayerIds ids;
  GameService game;
};

TEST(Play, TurnsPassesAndBeating) {
  HandTable t("play_rules");
  t.Give(0, {Card(5), Card(5, 1), Card(1), Card(2), Card(2, 1)});
  t.Give(1, {Card(3), Card(6), Card(4), Card(4, 1), Card(9)});
  t.Give(2, {Card(10)});
  t.Give(3, {Card(11)});
  // The landlord must lead: its pass is refused.
  t.ExpectRefused([&] { return t.Pass(0); });
  // Not the sender's turn.
  t.ExpectRefused([&] { return t.Play(2, {Card(10)}); });

  EXPECT_EQ(t.Play(0, {Card(5)}), 0);  // a single 7
  auto sent = t.host.TakeSent();
  ASSERT_EQ(sent.size(), 8u);
  EXPECT_EQ(Kind(sent[0]), MessageType::PlayNotice);
  EXPECT_EQ(Kind(sent[4]), MessageType::PlayTurn);
  SeatRecord turn;
  DecodePlayTurn(turn, PacketFromBytes(sent[4].bytes));
  EXPECT_EQ(turn.seat, 1);
  EXPECT_EQ(t.table->Players[0].Hand.Count(), 4);

  t.ExpectRefused([&] { return t.Play(1, {Card(3)}); });  // a 5 on a 7
  EXPECT_EQ(t.Play(1, {Card(6)}), 0);                     // an 8 on a 7
  t.host.TakeSent();
  EXPECT_EQ(t.Pass(2), 0);
  sent = t.host.TakeSent();
  ASSERT_EQ(Kinds(sent),
            (std::vector{MessageType::PlayNotice, MessageType::PlayNotice, MessageType::PlayNotice,
                         MessageType::PlayNotice, MessageType::PlayTurn, MessageType::PlayTurn,
                         MessageType::PlayTurn, MessageType::PlayTurn}));
  PlayRecord notice;
  ASSERT_EQ(DecodePlayNotice(notice, PacketFromBytes(sent[0].bytes)), 0);
  EXPECT_EQ(notice.seat, 2);
  EXPECT_EQ(notice.count, 0);
  EXPECT_EQ(t.Pass(3), 0);
  EXPECT_EQ(t.Pass(0), 0);
  // Back at the seat whose single lies on the table: it must lead, any type.
  t.host.TakeSent();
  EXPECT_EQ(t.table->Turn, 1u);
  t.ExpectRefused([&] { return t.Pass(1); });
  EXPECT_EQ(t.Play(1, {Card(4), Card(4, 1)}), 0);
  EXPECT_EQ(t.table->LastPlay.Type(), CombinationType::Rocket);
  EXPECT_EQ(t.table->LastPlayer, 1u);
}

TEST(Play, RecognitionAndHandChecks) {
  HandTable t("play_checks");
  t.Give(0, {Card(1), Card(1, 1), Card(1, 2), Card(1, 3), Card(2), Card(12, 3), Card(8)});
  t.Give(1, {Card(9)});
  // Claimed type or key differing from what the cards are.
  t.ExpectRefused([&] { return t.Play(0, {Card(8)}, 2, 8); });
  t.ExpectRefused([&] { return t.Play(0, {Card(8)}, 1, 9); });
  // A bomb with one extra card, claiming exactly what the recognizer found.
  t.ExpectRefused([&] {
    return t.Play(0, {Card(1), Card(1, 1), Card(1, 2), Card(1, 3), Card(2)}, 7, 1);
  });
  // Cards the sender does not hold; two spade aces (both decks) against one held.
  t.ExpectRefused([&] { return t.Play(0, {Card(9)}); });
  t.ExpectRefused([&] { return t.Play(0, {48, 102}); });
  EXPECT_EQ(t.table->Players[0].Hand.SelectedCount(), 0);
  // The second deck's twin of a held card is the same face.
  EXPECT_EQ(t.Play(0, {static_cast<std::uint8_t>(Card(8) + 54)}), 0);
  // A pass or play at another table, or naming another seat.
  Packet pass = *BuildPacket(MessageType::PlayPass, SeatRecord{2, 1});
  t.ExpectRefused([&] { return t.game.Pass(2, pass); });
  pass = *BuildPacket(MessageType::PlayPass, SeatRecord{1, 2});
  t.ExpectRefused([&] { return t.game.Pass(2, pass); });
}

TEST(Play, BombsBeatOtherTypesAndNothingElseDoes) {
  HandTable t("play_bombs");
  t.Give(0, {Card(7), Card(7, 1), Card(7, 2), Card(7, 3), Card(11)});
  t.Give(1, {Card(10), Card(10, 1), Card(10, 2), Card(12)});
  t.Give(3, {Card(1), Card(1, 1), Card(2), Card(2, 1), Card(3), Card(3, 1), Card(13)});
  t.table->Turn = 3;
  EXPECT_EQ(t.Play(3, {Card(1), Card(1, 1), Card(2), Card(2, 1), Card(3), Card(3, 1)}), 0);
  t.ExpectRefused([&] { return t.Play(0, {Card(11)}); });
  EXPECT_EQ(t.Play(0, {Card(7), Card(7, 1), Card(7, 2), Card(7, 3)}), 0);  // a bomb on the run
  t.ExpectRefused([&] { return t.Play(1, {Card(10), Card(10, 1), Card(10, 2)}); });
}

TEST(Scoring, LandlordWinsAndLoses) {
  HandTable t("scoring");
  t.table->Landlord = 2;
  t.table->LastPlayer = 2;
  t.table->HighBid = 10;
  ASSERT_EQ(t.game.GameEnd(), 0);
  auto sent = t.host.TakeSent();
  ASSERT_EQ(sent.size(), 4u);
  GameEndRecord end;
  ASSERT_EQ(DecodeGameEnd(end, PacketFromBytes(sent[0].bytes)), 0);
  EXPECT_EQ(end.score, (std::array<std::int32_t, 4>{-10, -10, 30, -10}));
  EXPECT_EQ(end.rounds, (std::array<std::int32_t, 4>{1, 1, 1, 1}));
  EXPECT_EQ(end.winner, 2);
  EXPECT_EQ(end.name[3], "P3");
  const Packet raw = PacketFromBytes(sent[0].bytes);
  EXPECT_EQ(
      (raw.bytes[132] << 24) | (raw.bytes[133] << 16) | (raw.bytes[134] << 8) | raw.bytes[135],
      9990);

  for (TServerPlayer& player : t.table->Players) player.Score = 0;
  t.table->Landlord = 0;
  t.table->LastPlayer = 3;
  t.table->HighBid = 25;
  t.game.ScoreGame();
  EXPECT_EQ(t.Snapshot().scores, (std::array<std::int32_t, 4>{-75, 25, 25, 25}));
}

TEST(Game, WholeGameThenTheNextDeal) {
  Harness h("whole_game");
  h.SeatFour();
  h.host.TakeSent();
  const std::uint32_t landlord = h.table().Landlord;
  std::vector<SentPacket> sent;
  for (int move = 0; move < 200 && OfKind(sent, MessageType::GameEnd).empty(); ++move) {
    const std::uint32_t turn = h.table().Turn;
    if (turn == landlord) {
      h.Play(turn, {h.LowestCard(turn)});
    } else {
      h.Pass(turn);
    }
    sent = h.host.TakeSent();
  }
  // The last play: its notice, GameEnd, then at once the next deal.
  const auto kinds = Kinds(sent);
  ASSERT_GE(kinds.size(), 12u);
  EXPECT_EQ(kinds[3], MessageType::PlayNotice);
  EXPECT_EQ(kinds[4], MessageType::GameEnd);
  EXPECT_EQ(kinds[8], MessageType::DealCards);
  GameEndRecord end;
  ASSERT_EQ(DecodeGameEnd(end, PacketFromBytes(sent[4].bytes)), 0);
  EXPECT_EQ(end.winner, landlord);
  for (std::uint32_t seat = 0; seat < 4; ++seat) {
    EXPECT_EQ(end.score[seat], seat == landlord ? 30 : -10);
    EXPECT_EQ(h.table().Players[seat].Rounds, 1);
  }
  // The hero board has the game's block.
  ASSERT_EQ(h.view.hero.size(), 5u);
  EXPECT_EQ(h.view.hero[0].substr(0, 13), "****[Table=1]");
  EXPECT_EQ(h.view.hero[0].size(), 13u + 8u + 4u);
  EXPECT_EQ(h.view.hero[1],
            landlord == 0 ? "[A][坐东][总轮次=1][得分=30]" : "[A][坐东][总轮次=1][得分=-10]");
  // The next game runs with the same players.
  EXPECT_EQ(h.table().Status, TablePlaying);
  EXPECT_EQ(h.table().LastPlay.Count(), 0);
  EXPECT_EQ(h.table().Players[h.table().Landlord].Hand.Count(), 33);
}

TEST(Game, PlayerLeavesDuringBiddingAndDuringPlay) {
  for (const bool allowBid : {true, false}) {
    Harness h(allowBid ? "leave_bidding" : "leave_play", allowBid);
    h.SeatFour();
    h.host.TakeSent();
    h.app.ConnectionClosed(2);
    auto sent = h.host.TakeSent();
    ASSERT_EQ(Kinds(sent), (std::vector{MessageType::PlayerLeave, MessageType::PlayerLeave,
                                        MessageType::PlayerLeave}));
    EXPECT_EQ(sent[0].connection, 1u);
    EXPECT_EQ(sent[1].connection, 3u);
    SeatRecord leave;
    ASSERT_EQ(DecodePlayerLeave(leave, PacketFromBytes(sent[0].bytes)), 0);
    EXPECT_EQ(leave.seat, 1);
    const TServerTable& t = h.table();
    EXPECT_EQ(t.Status, TableWaiting);
    EXPECT_EQ(t.Count, 3u);
    EXPECT_EQ(t.Players[1].Id, 0);
    EXPECT_EQ(t.Players[1].Name, "B");
    // The abandoned game takes no more bids or plays.
    h.Bid(t.Turn, 5);
    h.Pass(t.Turn);
    EXPECT_TRUE(h.host.TakeSent().empty());
    // A newcomer fills the table and a new deal follows.
    h.Open(5);
    h.Login(5, "Eve");
    sent = h.host.TakeSent();
    EXPECT_EQ(OfKind(sent, MessageType::DealCards).size(), 4u);
    EXPECT_EQ(t.Players[1].Id, 5);
    EXPECT_EQ(t.Players[1].Rounds, 0);
    EXPECT_NE(t.Status, TableWaiting);
  }
}

}  // namespace
}  // namespace quarn::server::testing
