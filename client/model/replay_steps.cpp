#include "client/model/replay_steps.h"

#include <algorithm>

#include "client/model/card_texts.h"
#include "client/model/game_state.h"
#include "client/model/screen_texts.h"
#include "client/model/shown_text.h"
#include "core/gbk.h"
#include "core/tpoker.h"
#include "store/replay.h"

namespace quarn::client {

namespace {

std::vector<std::uint8_t> Folded(std::vector<std::uint8_t> cards) {
  for (std::uint8_t& card : cards) card = static_cast<std::uint8_t>(FoldCard(card));
  std::sort(cards.begin(), cards.end());
  return cards;
}

}  // namespace

std::string SeatLabel(const store::GameRecord& game, int seat) {
  std::string name = GbkToUtf8(game.names.at(static_cast<std::size_t>(seat) % store::kSeats));
  for (char& c : name) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  return ShownSeatName(static_cast<int>(static_cast<unsigned>(seat) % store::kSeats)) + "[" + name +
         "]";
}

ReplaySteps::ReplaySteps(store::GameRecord game) : game_(std::move(game)) {}

ReplayFrame ReplaySteps::At(std::size_t step) const {
  step = std::min(step, Count() - 1);
  ReplayFrame frame;
  if (step <= game_.bids.size()) {
    Bidding(step, frame);
  } else {
    Playing(step - game_.bids.size() - 1, frame);
  }
  if (step + 1 == Count() && !game_.moves.empty()) {
    frame.phase = ReplayPhase::Finished;
    frame.caption += game_.LandlordWon() ? Shown("Quarn", "，地主胜") : Shown("Quarn", "，地主败");
  }
  return frame;
}

void ReplaySteps::Bidding(std::size_t bids, ReplayFrame& frame) const {
  for (int seat = 0; seat < store::kSeats; ++seat) {
    const auto& hand = game_.hands.at(static_cast<std::size_t>(seat));
    frame.hands.at(static_cast<std::size_t>(seat)) = Folded({hand.begin(), hand.end()});
  }
  if (bids == 0) {
    frame.caption = Filled(Shown("Quarn", "发牌，%1 先叫"), {SeatLabel(game_, game_.startSeat)});
    return;
  }
  frame.phase = ReplayPhase::Bidding;
  const store::BidStep& bid = game_.bids.at(bids - 1);
  frame.actor = bid.seat;
  const std::string bidder = SeatLabel(game_, bid.seat);
  frame.caption = bid.points == 0
                      ? Filled(Shown("Quarn", "%1 不叫"), {bidder})
                      : Filled(Shown("Quarn", "%1 叫 %2 分"), {bidder, std::to_string(bid.points)});
  if (bids == game_.bids.size()) {
    frame.landlord = game_.landlord;
    frame.caption += Filled(Shown("Quarn", "，%1 当地主（%2 分）"),
                            {SeatLabel(game_, game_.landlord), std::to_string(game_.points)});
  }
}

void ReplaySteps::Playing(std::size_t moves, ReplayFrame& frame) const {
  frame.phase = ReplayPhase::Playing;
  frame.landlord = game_.landlord;
  const auto hands = store::HandsAfter(game_, moves + 1);
  for (std::size_t seat = 0; seat < hands.size(); ++seat)
    frame.hands.at(seat) = Folded(hands[seat]);
  // A lead after three passes starts a new round: the table is cleared.
  int passes = 0;
  for (std::size_t i = 0; i <= moves && i < game_.moves.size(); ++i) {
    const store::MoveStep& move = game_.moves[i];
    if (!move.cards.empty() && passes >= store::kSeats - 1) frame.lastPlay.fill(std::nullopt);
    passes = move.cards.empty() ? passes + 1 : 0;
    frame.lastPlay.at(move.seat % store::kSeats) = Folded(move.cards);
  }
  if (moves >= game_.moves.size()) return;  // a record without moves
  const store::MoveStep& move = game_.moves[moves];
  frame.actor = move.seat % store::kSeats;
  const std::string mover = SeatLabel(game_, frame.actor);
  frame.caption = move.cards.empty()
                      ? Filled(Shown("Quarn", "%1 不出"), {mover})
                      : Filled(Shown("Quarn", "%1 出 %2"), {mover, ShownCards(move.cards)});
}

}  // namespace quarn::client
