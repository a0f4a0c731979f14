#include "ai/players.h"

#include "ai/candidates.h"
#include "ai/decide.h"

namespace quarn::ai {

int GreedyPlayer::Bid(const RankCounts& hand, int highBid) {
  return ChooseBid(hand, highBid);
}

std::optional<PlannedPlay> GreedyPlayer::Play(const SeatKnowledge& known) {
  // Plays come weakest types and keys first, bombs after every ordinary play.
  std::vector<PlannedPlay> plays = PlaysThatBeat(known.hand, known.ToBeat());
  if (plays.empty()) return std::nullopt;
  return plays.front();
}

int BasicPlayer::Bid(const RankCounts& hand, int highBid) {
  return DecideBid(hand, highBid, Level::Basic);
}

std::optional<PlannedPlay> BasicPlayer::Play(const SeatKnowledge& known) {
  return HeuristicPlay(known);
}

int FastPlayer::Bid(const RankCounts& hand, int highBid) {
  return ChooseBid(hand, highBid);
}

std::optional<PlannedPlay> FastPlayer::Play(const SeatKnowledge& known) {
  FullTable table;
  table.hands[static_cast<std::size_t>(known.seat)] = known.hand;
  table.left = known.cardsLeft;
  table.landlord = known.landlord;
  table.turn = known.seat;
  table.table = known.table;
  table.owner = known.tableOwner;
  return PolicyMove(table, Policy::Fast);
}

int SearchPlayer::Bid(const RankCounts& hand, int highBid) {
  return ChooseBid(hand, highBid, boldness_);
}

std::optional<PlannedPlay> SearchPlayer::Play(const SeatKnowledge& known) {
  SearchLimits limits = limits_;
  limits.deadline = std::chrono::steady_clock::now() + think_;
  limits.seed = limits_.seed + 0x9E3779B97F4A7C15ULL * ++decisions_;
  std::optional<PlannedPlay> move = Search(known, limits).move;
  return Legal(known, move) ? move : HeuristicPlay(known);
}

}  // namespace quarn::ai
