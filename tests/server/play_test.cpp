// Plays, passes, and the hero board's lines (turns, leads, held cards and the
// claimed type are the service fuzzer's checks).
#include "tests/server/harness.h"

namespace quarn::server::testing {
namespace {

// The first-deck card of a rank value (1 = "3" .. 13 = "2") and a suit.
std::uint8_t C(int rank, int suit = 0) {
  return static_cast<std::uint8_t>((rank - 1) * 4 + suit + 1);
}

TEST(Play, TurnsPassesAndBeating) {
  HandTable t;
  t.Give(0, {C(5), C(5, 1), C(1)});
  t.Give(1, {C(3), C(6), C(4), C(4, 1), C(9)});
  t.Give(2, {C(10)});
  EXPECT_EQ(t.Play(0, {C(5)}), 0);                     // a single 7
  t.ExpectRefused([&] { return t.Play(1, {C(3)}); });  // a 5 does not beat it
  EXPECT_EQ(t.Play(1, {C(6)}), 0);                     // an 8 does
  t.host.TakeSent();
  EXPECT_EQ(t.Pass(2), 0);
  const auto sent = t.host.TakeSent();
  ASSERT_EQ(sent.size(), 8u);  // a notice of no cards, then the turn, to every seat
  const auto notice = Decoded<PlayRecord>(sent[0], DecodePlayNotice);
  EXPECT_EQ(std::tie(notice.seat, notice.count), std::tuple(2, 0));
  EXPECT_EQ(Decoded<SeatRecord>(sent[4], DecodePlayTurn).seat, 3);
  t.ExpectRefused([&] { return t.Pass(3, 2); });     // another table
  t.ExpectRefused([&] { return t.Pass(3, 1, 0); });  // names another seat
  EXPECT_EQ(t.Pass(3), 0);
  EXPECT_EQ(t.Pass(0), 0);
  // Back at the seat whose card lies on the table: it leads any type.
  EXPECT_EQ(t.Play(1, {C(4), C(4, 1)}), 0);
  EXPECT_EQ(t.table->LastPlay.Type(), CombinationType::Rocket);
}

TEST(Play, RecognitionHandAndBombChecks) {
  HandTable t;
  t.Give(0, {C(1), C(1, 1), C(1, 2), C(1, 3), C(2), C(12, 3), C(8)});
  // A bomb with one extra card is refused even claiming what recognition found.
  t.ExpectRefused([&] { return t.Play(0, {C(1), C(1, 1), C(1, 2), C(1, 3), C(2)}, 7, 1); });
  t.ExpectRefused([&] { return t.Play(0, {48, 102}); });  // two spade aces, one held
  EXPECT_EQ(t.table->Players[0].Hand.SelectedCount(), 0);
  EXPECT_EQ(t.Play(0, {static_cast<std::uint8_t>(C(8) + 54)}), 0);  // the twin: same face
  for (std::uint32_t seat = 1; seat < 4; ++seat) EXPECT_EQ(t.Pass(seat), 0);

  t.Give(0, {C(2), C(2, 1), C(3), C(3, 1), C(4), C(4, 1), C(13)});
  EXPECT_EQ(t.Play(0, {C(2), C(2, 1), C(3), C(3, 1), C(4), C(4, 1)}), 0);  // three pairs
  t.Give(1, {C(10), C(10, 1), C(10, 2), C(7), C(7, 1), C(7, 2), C(7, 3), C(5)});
  t.ExpectRefused([&] { return t.Play(1, {C(10), C(10, 1), C(10, 2)}); });  // a triple
  EXPECT_EQ(t.Play(1, {C(7), C(7, 1), C(7, 2), C(7, 3)}), 0);               // a bomb
}

// A line break in a name cannot split the hero board's lines.
TEST(Scoring, HeroBoardLinesKeepTheirShape) {
  HandTable t;
  t.table->Players[0].Name = "X\r\nY";
  t.table->Players[0].Score = -75;
  t.game.HeroEntry();
  EXPECT_EQ(t.view.hero[1], "[X  Y][坐东][总轮次=0][得分=-75]");
}

}  // namespace
}  // namespace quarn::server::testing
