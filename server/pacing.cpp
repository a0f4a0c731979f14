// The paced steps of a table: the seat list after a login and the three steps
// of a deal, each after its pause when pacing is on, else at once.
#include "server/table_game.h"

namespace quarn::server {

void TableGame::Pace(std::uint32_t milliseconds, Step next) {
  if (!table_.AllowDelay || milliseconds == 0) {
    RunStep(next);
    return;
  }
  next_ = next;
  timer_ = scheduler_.After(std::chrono::milliseconds(milliseconds), [this, game = game_] {
    if (game == game_) StepDue();
  });
}

void TableGame::EndGameSteps() {
  scheduler_.Cancel(timer_);
  timer_ = kNoTimer;
  next_ = Step::None;
  scheduler_.Cancel(turnTimer_);
  turnTimer_ = kNoTimer;
  clockRunning_ = false;
  ++game_;
}

void TableGame::StepDue() {
  const Step step = next_;
  next_ = Step::None;
  timer_ = kNoTimer;
  RunStep(step);
  if (onStepRun_) onStepRun_();
}

void TableGame::RunStep(Step step) {
  switch (step) {
    case Step::None:
      break;
    case Step::SeatList:
      SendSeatList();
      table_.Status = TableWaiting;
      if (table_.Count == kSeatCount) StartGame();
      break;
    case Step::Deal:
      SendDeal();
      Pace(table_.DelayDeal, Step::StartCard);
      break;
    case Step::StartCard:
      SendStartCard();
      Pace(table_.DelayDeal, Step::Landlord);
      break;
    case Step::Landlord:
      if (table_.AllowBid) {
        OpenBidding();
        table_.Status = TableBidding;
      } else {
        SettleWithoutBidding();
        table_.Status = TablePlaying;
      }
      NextTurn();
      break;
  }
}

void TableGame::SendSeatList() {
  if (seatList_) outbox_.SendToTable(table_, *seatList_);
  seatList_.reset();
}

}  // namespace quarn::server
