// What the table window shows of a game that survives its players: the 托管
// button, a mark on every seat the computer plays, the seconds a timed turn
// has left, and the offer to reconnect after a lost connection.
#include <QCoreApplication>
#include "client/model/client_sending.h"
#include "client/model/screen_texts.h"
#include "client/ui/mainform.h"
#include "client/ui/uifont.h"

namespace quarn::client {

namespace {

constexpr int kClockTickMs = 200;
constexpr int kClockUrgentMs = 5000;  // the last seconds show in red

QLabel* Overlay(QWidget* head, const char* name, const QString& style) {
  auto* label = new QLabel(head);
  label->setObjectName(QString::fromLatin1(name));
  label->setAlignment(Qt::AlignCenter);
  label->setStyleSheet(style);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  label->hide();
  return label;
}

QString ControlTip(SeatControl control) {
  switch (control) {
    case SeatControl::OnRequest:
      return QCoreApplication::translate("TMainForm", "托管中：电脑替这位玩家出牌");
    case SeatControl::AfterTimeouts:
      return QCoreApplication::translate("TMainForm",
                                         "超时两次，托管中：电脑替这位玩家出牌，直到玩家自己出牌");
    case SeatControl::PlayerGone:
      return QCoreApplication::translate("TMainForm",
                                         "掉线：电脑替这位玩家出牌，玩家可以重新登录回来");
    case SeatControl::Person:
      break;
  }
  return {};
}

}  // namespace

void TMainForm::BuildKeepControls() {
  btnAutoPlay_ = new QPushButton(tr("托管(&T)"), this);
  btnAutoPlay_->setObjectName(QStringLiteral("BtnAutoPlay"));
  Put(btnAutoPlay_, table_places::kAutoPlay);
  btnAutoPlay_->setCheckable(true);
  btnAutoPlay_->setFocusPolicy(Qt::NoFocus);
  btnAutoPlay_->setToolTip(tr("托管（T）：让电脑替你出牌；再按一次自己来"));
  btnAutoPlay_->setEnabled(false);
  connect(btnAutoPlay_, &QPushButton::clicked, this, &TMainForm::BtnAutoPlayClick);

  btnReconnect_ = new QPushButton(tr("重新连接(&E)"), this);
  btnReconnect_->setObjectName(QStringLiteral("BtnReconnect"));
  Put(btnReconnect_, table_places::kReconnect);
  btnReconnect_->setFocusPolicy(Qt::NoFocus);
  btnReconnect_->setToolTip(tr("用刚才的名字和密码重新登录，回到原来的座位"));
  btnReconnect_->hide();
  connect(btnReconnect_, &QPushButton::clicked, this, &TMainForm::BtnReconnectClick);

  static constexpr std::array<const char*, 4> kMarks = {"AutoPlayMark0", "AutoPlayMark1",
                                                        "AutoPlayMark2", "AutoPlayMark3"};
  static constexpr std::array<const char*, 4> kClocks = {"ClockLabel0", "ClockLabel1",
                                                         "ClockLabel2", "ClockLabel3"};
  for (std::size_t i = 0; i < autoMarks_.size(); ++i) {
    autoMarks_[i] =
        Overlay(imageHead_[i], kMarks[i],
                QStringLiteral("background: #C00000; color: white; border-radius: 3px;"));
    autoMarks_[i]->setText(tr("托"));
    clockLabels_[i] = Overlay(imageHead_[i], kClocks[i],
                              QStringLiteral("background: rgba(0, 0, 0, 150); color: white;"));
  }
  connect(&clockTimer_, &QTimer::timeout, this, &TMainForm::ShowClock);
}

void TMainForm::PlaceKeepMarks() {
  for (std::size_t i = 0; i < autoMarks_.size(); ++i) {
    const QSize head = imageHead_[i]->size();
    const int side = qRound(head.width() * 0.5);
    autoMarks_[i]->setGeometry(head.width() - side, head.height() - side, side, side);
    autoMarks_[i]->setFont(UiFont(qRound(side * 0.75)));
    clockLabels_[i]->setGeometry(0, 0, head.width(), head.height());
    QFont clockFont = UiFont(qRound(head.height() * 0.55));
    clockFont.setBold(true);
    clockLabels_[i]->setFont(clockFont);
  }
}

int TMainForm::PositionOf(int seat) const {
  // The seat after the own one sits right, the opposite one at the top, the one before left.
  static constexpr std::array<int, 4> kByOffset = {0, 3, 2, 1};
  return kByOffset[static_cast<std::size_t>((seat - table_.OwnSeat + kSeatCount) % kSeatCount)];
}

void TMainForm::SeatControlsChanged() {
  for (QLabel* mark : autoMarks_) mark->hide();
  for (int seat = 0; seat < kSeatCount; ++seat) {
    const SeatControl control = table_.SeatControls[static_cast<std::size_t>(seat)];
    if (control == SeatControl::Person) continue;
    QLabel* mark = autoMarks_[static_cast<std::size_t>(PositionOf(seat))];
    mark->setToolTip(ControlTip(control));
    mark->show();
  }
  btnAutoPlay_->setChecked(table_.ComputerPlays(table_.OwnSeat));
}

void TMainForm::TurnClockChanged() {
  clockSince_.restart();
  if (table_.ClockSeat >= 0) {
    clockTimer_.start(kClockTickMs);
  } else {
    clockTimer_.stop();
  }
  ShowClock();
}

void TMainForm::ShowClock() {
  const int running = table_.ClockSeat >= 0 ? PositionOf(table_.ClockSeat) : -1;
  const qint64 left = std::max<qint64>(0, table_.ClockLeftMs - clockSince_.elapsed());
  for (std::size_t i = 0; i < clockLabels_.size(); ++i) {
    QLabel* label = clockLabels_[i];
    if (static_cast<int>(i) != running) {
      label->hide();
      continue;
    }
    label->setText(QString::number((left + 999) / 1000));
    label->setStyleSheet(left <= kClockUrgentMs
                             ? QStringLiteral("background: rgba(160, 0, 0, 170); color: white;")
                             : QStringLiteral("background: rgba(0, 0, 0, 150); color: white;"));
    label->setToolTip(tr("还剩%1秒，时间到了电脑替他出牌").arg((left + 999) / 1000));
    label->show();
  }
  if (running < 0 || left == 0) clockTimer_.stop();
}

void TMainForm::BtnAutoPlayClick() {
  const bool computerNow = table_.ComputerPlays(table_.OwnSeat);
  // The button shows what the server says; it changes when the server's notice comes.
  btnAutoPlay_->setChecked(computerNow);
  if (!table_.Initialized || !ButtonsFor(table_).autoPlay) return;
  SendAutoPlay(table_, !computerNow);
}

void TMainForm::BtnReconnectClick() {
  btnReconnect_->hide();
  if (!rememberedLogin_ || table_.GameState != TGameState::Offline) return;
  if (!socket_.Open() || client::SendPacket(table_, *rememberedLogin_) != 0) {
    btnReconnect_->show();
    return;
  }
  table_.SetGameState(TGameState::LoggingIn);
}

QLabel* TMainForm::AutoPlayMark(int position) const {
  return position >= 0 && position < 4 ? autoMarks_[static_cast<std::size_t>(position)] : nullptr;
}

QLabel* TMainForm::ClockLabel(int position) const {
  return position >= 0 && position < 4 ? clockLabels_[static_cast<std::size_t>(position)] : nullptr;
}

}  // namespace quarn::client
