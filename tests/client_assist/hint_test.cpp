// The window's hint: the computer's choice, then every other play that beats
// the table once, smallest first, round again; never a play the table refuses.
#include "client/assist/hint.h"

#include <gtest/gtest.h>

#include <random>

#include "ai/candidates.h"
#include "client/assist/seat_knowledge_of.h"
#include "client/model/client_sending.h"
#include "core/movegen.h"
#include "core/rn32.h"

namespace quarn::client {
namespace {

const ai::Budget kQuick{std::chrono::milliseconds(1), 4, 5};  // a fixed search: repeatable

// Our seat 0 in play with `hand`; `laid` on the table by seat `owner` (none when empty).
void Seat(TClientTable& table, std::span<const std::uint8_t> hand,
          std::span<const std::uint8_t> laid, int owner) {
  table.InitTable();
  table.ArrangeSeats();
  table.GameState = client::TGameState::InPlay;
  table.LordSeat = owner;
  for (int seat = 1; seat < ai::kSeats; ++seat) table.PlayerAt(seat)->SetCardCount(25);
  table.Me.TakeCards(hand);
  std::array<std::uint8_t, 33> bytes{};
  std::copy(laid.begin(), laid.end(), bytes.begin());
  table.TableCards.LoadBytes(bytes);
  if (!laid.empty()) table.TableCards.Classify();
  table.LeadSeat = laid.empty() ? 0 : owner;
}

// Presses the hint `presses` times; each answer must be selectable as a play.
std::vector<ai::PlannedPlay> Press(TClientTable& table, HintCycle& hint, int presses) {
  std::vector<ai::PlannedPlay> answers;
  for (int i = 0; i < presses; ++i) {
    std::optional<ai::PlannedPlay> play = hint.Next(table);
    if (!play) break;
    EXPECT_TRUE(client::SelectPlay(table, play->cards));
    EXPECT_EQ(CountRanks(table.Me.Selection.Cards()), play->cards);
    answers.push_back(*play);
  }
  return answers;
}

TEST(Hint, ComputerChoiceFirstThenEveryBeatingPlayOnceThenOver) {
  // 3 4 4 5 5 6 6 K K 2 against a pair of 4s, and leading with the same hand.
  const std::vector<std::uint8_t> hand = {1, 5, 6, 9, 10, 13, 14, 41, 42, 49};
  for (const std::vector<std::uint8_t>& laid : {std::vector<std::uint8_t>{59, 60}, {}}) {
    TClientTable table;
    Seat(table, hand, laid, 2);
    HintCycle hint(ai::Level::Strong, kQuick);
    const ai::SeatKnowledge view = SeatKnowledgeOf(table);
    std::vector<ai::PlannedPlay> beating = ai::PlaysThatBeat(view.hand, view.ToBeat());
    const std::vector<ai::PlannedPlay> answers =
        Press(table, hint, static_cast<int>(beating.size()) + 1);
    ASSERT_EQ(answers.size(), beating.size() + 1);
    EXPECT_EQ(answers.front().cards, ai::DecidePlay(view, ai::Level::Strong, kQuick)->cards);
    std::erase_if(beating, [&](const ai::PlannedPlay& p) { return p.cards == answers[0].cards; });
    for (std::size_t i = 0; i < beating.size(); ++i)
      EXPECT_EQ(answers[i + 1].cards, beating[i].cards);
    EXPECT_EQ(answers.back().cards, answers.front().cards);
  }
}

// Over random hands and tables every answer is a play the table accepts, and
// there is no answer only when nothing in the hand beats the table.
TEST(Hint, NeverSuggestsAPlayTheTableRefuses) {
  std::mt19937_64 random(11);
  for (int round = 0; round < 300; ++round) {
    std::array<std::uint8_t, 108> deck{};
    Shuffle(108, deck, random);
    const auto size = 1 + static_cast<std::size_t>(random() % 33);
    std::vector<Move> others = LegalMoves(std::span(deck).subspan(size, 20));
    const bool lead = random() % 4 == 0;
    const Move& laid = others[random() % others.size()];
    TClientTable table;
    Seat(table, std::span(deck).first(size), lead ? std::span<const std::uint8_t>{} : laid.Cards(),
         1 + static_cast<int>(random() % 3));
    HintCycle hint(ai::Level::Strong, kQuick);
    const std::vector<ai::PlannedPlay> answers = Press(table, hint, 4);
    const bool anyBeats =
        !BeatingMoves(std::span(deck).first(size), SeatKnowledgeOf(table).ToBeat()).empty();
    EXPECT_EQ(answers.empty(), !anyBeats) << "round " << round;
  }
}

}  // namespace
}  // namespace quarn::client
