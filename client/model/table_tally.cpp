#include "client/model/table_tally.h"

#include <span>

#include "core/tpoker.h"

namespace quarn::client {

namespace {
constexpr int kPassesToNewRound = kSeatCount - 1;
constexpr int kDecks = 2;
constexpr int kSuits = 4;
}  // namespace

std::array<SeatAct, kSeatCount> RoundActs(const TClientTable& table) {
  std::array<SeatAct, kSeatCount> acts{};
  int passesInRow = kPassesToNewRound;  // the game's first play opens a round
  for (const TPlayedCards& seen : table.History) {
    if (!IsSeat(seen.Seat)) continue;
    SeatAct& act = acts[static_cast<std::size_t>(seen.Seat)];
    if (seen.Count == 0) {
      act = SeatAct{true, {}};
      ++passesInRow;
      continue;
    }
    if (passesInRow >= kPassesToNewRound) acts.fill(SeatAct{});
    passesInRow = 0;
    const auto laid = std::span(seen.Cards).first(static_cast<std::size_t>(seen.Count));
    acts[static_cast<std::size_t>(seen.Seat)] = SeatAct{true, {laid.begin(), laid.end()}};
  }
  return acts;
}

RankTally UnseenCards(const TClientTable& table) {
  RankTally unseen{};
  for (int rank = 1; rank <= kMaxRank; ++rank) {
    const bool joker = rank == kRankSmallJoker || rank == kRankBigJoker;
    unseen[static_cast<std::size_t>(rank)] = joker ? kDecks : kDecks * kSuits;
  }
  auto take = [&unseen](int cardNumber) {
    const int rank = RankOf(cardNumber);
    int& left = unseen[static_cast<std::size_t>(rank)];
    if (rank != 0 && left > 0) --left;
  };
  for (const TPoker& card : table.Me.Hand.Cards()) take(card.Number());
  for (std::uint8_t card : table.SentCards) take(card);  // out of the hand, not yet laid
  for (const TPlayedCards& seen : table.History) {
    for (int i = 0; i < seen.Count && i < static_cast<int>(seen.Cards.size()); ++i)
      take(seen.Cards[static_cast<std::size_t>(i)]);
  }
  return unseen;
}

}  // namespace quarn::client
