#include "ai/players.h"

#include "ai/candidates.h"
#include "ai/decide.h"

namespace quarn::ai {

int GreedyPlayer::Bid(const RankCounts& hand, int highBid) {
  return ChooseBid(hand, highBid);
}

std::optional<PlannedPlay> GreedyPlayer::Play(const SeatView& view) {
  // Plays come weakest types and keys first, bombs after every ordinary play.
  std::vector<PlannedPlay> plays = PlaysThatBeat(view.hand, view.ToBeat());
  if (plays.empty()) return std::nullopt;
  return plays.front();
}

int BasicPlayer::Bid(const RankCounts& hand, int highBid) {
  return DecideBid(hand, highBid, Level::Basic);
}

std::optional<PlannedPlay> BasicPlayer::Play(const SeatView& view) {
  return HeuristicPlay(view);
}

int FastPlayer::Bid(const RankCounts& hand, int highBid) {
  return ChooseBid(hand, highBid);
}

std::optional<PlannedPlay> FastPlayer::Play(const SeatView& view) {
  FullTable table;
  table.hands[static_cast<std::size_t>(view.seat)] = view.hand;
  table.left = view.cardsLeft;
  table.landlord = view.landlord;
  table.turn = view.seat;
  table.table = view.table;
  table.owner = view.tableOwner;
  return PolicyMove(table, Policy::Fast);
}

int SearchPlayer::Bid(const RankCounts& hand, int highBid) {
  return ChooseBid(hand, highBid, boldness_);
}

std::optional<PlannedPlay> SearchPlayer::Play(const SeatView& view) {
  SearchLimits limits = limits_;
  limits.deadline = std::chrono::steady_clock::now() + think_;
  limits.seed = limits_.seed + 0x9E3779B97F4A7C15ULL * ++decisions_;
  std::optional<PlannedPlay> move = Search(view, limits).move;
  return Legal(view, move) ? move : HeuristicPlay(view);
}

}  // namespace quarn::ai
