#include "client/ui/frmreplay.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "client/ui/frmreplay_paint.h"
#include "client/ui/uifont.h"

namespace quarn::client {

namespace {

constexpr int kCaptionTop = kReplayTableHeight + 6;
constexpr int kButtonsTop = kReplayHeight - 40;
constexpr int kButtonWidth = 80;

}  // namespace

TFormReplay::TFormReplay(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(tr("牌局回放"));
  setFixedSize(kReplayWidth, kReplayHeight);
  caption_ = new QLabel(this);
  caption_->setObjectName("ReplayCaption");
  caption_->setFont(UiFont(14));
  caption_->setGeometry(12, kCaptionTop, kReplayWidth - 24, 28);
  counter_ = new QLabel(this);
  counter_->setFont(UiFont(14));
  counter_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  counter_->setGeometry(kReplayWidth - 212, kButtonsTop, 200, 30);
  const std::array<std::pair<QString, int>, 4> steps = {
      {{tr("开头"), -100000}, {tr("上一步"), -1}, {tr("下一步"), 1}, {tr("结尾"), 100000}}};
  for (std::size_t i = 0; i < steps.size(); ++i) {
    auto* button = new QPushButton(steps[i].first, this);
    button->setFont(UiFont(14));
    button->setGeometry(12 + static_cast<int>(i) * (kButtonWidth + 8), kButtonsTop, kButtonWidth,
                        30);
    button->setFocusPolicy(Qt::NoFocus);
    const int delta = steps[i].second;
    connect(button, &QPushButton::clicked, this, [this, delta] { Step(delta); });
    buttons_.at(i) = button;
  }
  Refresh();
}

void TFormReplay::ShowGame(const store::GameRecord& game, int ownSeat) {
  steps_.emplace(game);
  step_ = 0;
  ownSeat_ = ownSeat;
  problem_.clear();
  Refresh();
}

void TFormReplay::ShowProblem(const QString& text) {
  steps_.reset();
  step_ = 0;
  problem_ = text;
  Refresh();
}

void TFormReplay::Step(int delta) {
  if (!steps_) return;
  const auto last = static_cast<std::int64_t>(steps_->Count()) - 1;
  step_ = static_cast<std::size_t>(
      std::clamp<std::int64_t>(static_cast<std::int64_t>(step_) + delta, 0, last));
  Refresh();
}

QString TFormReplay::Caption() const {
  return caption_->text();
}

void TFormReplay::Refresh() {
  const bool playing = steps_.has_value();
  caption_->setText(playing ? QString::fromStdString(steps_->At(step_).caption) : problem_);
  counter_->setText(playing ? tr("第 %1 / %2 步").arg(step_ + 1).arg(steps_->Count()) : QString());
  for (QPushButton* button : buttons_) button->setEnabled(playing);
  update();
}

void TFormReplay::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  if (!steps_) {
    painter.fillRect(0, 0, kReplayWidth, kReplayTableHeight, QColor(24, 96, 64));
    return;
  }
  PaintReplayFrame(painter, steps_->At(step_), steps_->Game(), ownSeat_);
}

void TFormReplay::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left:
      return Step(-1);
    case Qt::Key_Right:
    case Qt::Key_Space:
      return Step(1);
    case Qt::Key_Home:
      return Step(-100000);
    case Qt::Key_End:
      return Step(100000);
    default:
      QWidget::keyPressEvent(event);
  }
}

}  // namespace quarn::client
