// TFormReplay: a stored game played again, step by step: the four hands as
// the table would show them (the asker's seat at the bottom), what each seat
// did last this round, a caption for the step and, at the end, the scores.
// The steps come from the model (client/model/replay_steps.h); this window
// only draws them.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>

#include "client/model/replay_steps.h"

class QLabel;
class QPushButton;

namespace quarn::client {

class TFormReplay : public QWidget {
  Q_OBJECT

 public:
  explicit TFormReplay(QWidget* parent = nullptr);
  ~TFormReplay() override = default;

  // Starts a game at its deal, `ownSeat` at the bottom.
  void ShowGame(const store::GameRecord& game, int ownSeat);
  // No game to show, and why (shown in place of the table).
  void ShowProblem(const QString& text);
  // Moves by `delta` steps, kept within the game.
  void Step(int delta);
  std::size_t CurrentStep() const { return step_; }
  std::size_t StepCount() const { return steps_ ? steps_->Count() : 0; }
  QString Caption() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Refresh();

  std::optional<ReplaySteps> steps_;
  std::size_t step_ = 0;
  int ownSeat_ = 0;
  QString problem_;
  QLabel* caption_;
  QLabel* counter_;
  std::array<QPushButton*, 4> buttons_{};
};

}  // namespace quarn::client
