// What the table window shows when the model tells it: the state with its
// buttons and status texts, the cards on the table, the winner, chat lines
// and messages.
#include <QCoreApplication>
#include <QFontMetrics>
#include <QStatusBar>
#include <array>

#include "client/model/screen_texts.h"
#include "client/model/table_tally.h"
#include "client/ui/language.h"
#include "client/ui/mainform.h"
#include "client/ui/msgbox.h"
#include "client/ui/uifont.h"

namespace quarn::client {

namespace {

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// States of a game under way; the winner's text of the last game gives way then.
bool GameUnderWay(TGameState state) {
  return state == TGameState::MyBid || state == TGameState::OtherBid ||
         state == TGameState::InPlay || state == TGameState::PlaySent;
}

// The big seat letter: in English one letter, as its place holds one glyph.
QString SeatLetter(int seat) {
  static constexpr std::array<const char*, kSeatCount> kLetters = {
      QT_TRANSLATE_NOOP("SeatLetter", "东"), QT_TRANSLATE_NOOP("SeatLetter", "北"),
      QT_TRANSLATE_NOOP("SeatLetter", "西"), QT_TRANSLATE_NOOP("SeatLetter", "南")};
  if (!IsSeat(seat)) return {};
  return QCoreApplication::translate("SeatLetter", kLetters[static_cast<std::size_t>(seat)]);
}

}  // namespace

void TMainForm::SetGameState(TGameState state) {
  labelSeat_->setText(SeatLetter(table_.OwnSeat));
  // A watcher has no hand to pick cards from.
  panelMain_->setToolTip(table_.Watching ? QString() : handTip_);
  watchNote_->setText(tr("观看第%1桌：不入座，看不到各家的手牌").arg(table_.TableNumber));
  watchNote_->setVisible(table_.Watching);
  labelSeat_->setVisible(SeatLabelVisible(state));
  if (state == TGameState::LoggingIn) {
    setWindowTitle(Utf8(WindowTitle(table_.Me.Name())));
  }
  if (GameUnderWay(state) || state == TGameState::Offline) holdWinnerText_ = false;
  UpdateButtons();
  UpdateStatus();
  RefreshExtras();
}

void TMainForm::RefreshExtras() {
  // Positions: own, left, top, right; seats follow the arrangement of the views.
  const std::array<SeatAct, kSeatCount> acts = RoundActs(table_);
  const std::array<const TClientPlayer*, 4> shown = {&table_.Me, &table_.LeftView, &table_.TopView,
                                                     &table_.RightView};
  for (std::size_t position = 0; position < shown.size(); ++position) {
    SeatAct act;
    for (int seat = 0; seat < kSeatCount; ++seat) {
      if (table_.PlayerAt(seat) == shown[position]) act = acts[static_cast<std::size_t>(seat)];
    }
    seatActs_[position]->ShowAct(act);
  }
  if (!counter_->isHidden()) counter_->ShowTally(UnseenCards(table_));
}

void TMainForm::UpdateButtons() {
  const ButtonStates buttons = ButtonsFor(table_);
  btnSend_->setEnabled(buttons.send);
  btnBid_->setEnabled(buttons.bid);
  btnPass_->setEnabled(buttons.pass);
  btnCancel_->setEnabled(buttons.cancel);
  btnLogin_->setEnabled(buttons.login);
  sbtnSpeak_->setEnabled(buttons.speak);
  sbtnWaiter_->setEnabled(buttons.waiter);
  btnQuit_->setEnabled(buttons.quit);
  sbtnShutup_->setEnabled(buttons.shutup);
  sbtnHero_->setEnabled(buttons.hero);
  btnHint_->setEnabled(buttons.hint);
  btnAutoPlay_->setEnabled(buttons.autoPlay);
  if (table_.GameState != TGameState::Offline) btnReconnect_->hide();
  btnPass_->setDefault(false);  // the hint's offer to pass lasts until the state moves on
  if (!buttons.speak && windows_.showTalk) windows_.showTalk(false);
  KeepFocusUseful();
}

void TMainForm::KeepFocusUseful() {
  // The buttons take no focus; the keys belong to the table itself.
  const QWidget* focus = focusWidget();
  if (focus && focus != this && focus->isEnabled() && focus->focusPolicy() != Qt::NoFocus) return;
  setFocus();
}

void TMainForm::UpdateStatus() {
  const StatusTexts texts = StatusFor(table_);
  statusPanels_[0]->setText(QString::fromStdString(texts.panel0));
  statusPanels_[0]->setToolTip(statusPanels_[0]->text());
  if (texts.panel1 && !holdWinnerText_) SetPanel1(QString::fromStdString(*texts.panel1));
}

void TMainForm::SetPanel1(const QString& text) {
  QLabel* panel = statusPanels_[1];
  // The panel is narrow: a text that does not fit takes a slightly smaller
  // font, and is shortened only when that is not enough (whole in the tip).
  const int room = panel->width() - 2 * panel->frameWidth() - 4;
  QFont font = UiFont(layout_.Length(12));
  if (QFontMetrics(font).horizontalAdvance(text) > room) font = UiFont(layout_.Length(11));
  panel->setFont(font);
  panel->setText(QFontMetrics(font).elidedText(text, Qt::ElideRight, room));
  panel->setToolTip(text);
}

void TMainForm::ShowLordCard(std::uint8_t card) {
  ShowCardImage(imageLordCard_, card);
}

void TMainForm::ShowTableCards() {
  const bool empty = table_.TableCards.Count() == 0;
  if (!empty) holdWinnerText_ = false;
  if (!holdWinnerText_) SetPanel1(QString::fromStdString(TableCardsCaption(table_)));
  for (int slot = 0; slot < kTableSlots; ++slot) {
    ShowCardImage(tableImages_[static_cast<std::size_t>(slot)],
                  table_.TableCards.Card(slot).Number());
  }
  RefreshExtras();
}

void TMainForm::ShowPass(int /*seat*/) {
  RefreshExtras();
}

void TMainForm::TableRestored() {
  RefreshExtras();
}

void TMainForm::WatchAnswered(WatchResult result) {
  if (result == WatchResult::Watching) {
    setWindowTitle(Utf8(WatchTitle(table_)));
  } else {
    socket_.Close(true);  // refused: the next try connects afresh
  }
  if (windows_.watchAnswered) windows_.watchAnswered(result);
}

void TMainForm::ShowLoginRefused() {
  // The next login connects afresh; a reconnect would only be refused again.
  socket_.Close(true);
  rememberedLogin_.reset();
  btnReconnect_->hide();
  ShowMessage(MessageIcon::Warning, kCaptionWarning, kMsgLoginRefused);
}

void TMainForm::ShowWinner(int /*seat*/, std::string_view text) {
  imageLordCard_->hide();
  imageLord_->hide();
  const QString line = Utf8(text);
  SetPanel1(line);
  holdWinnerText_ = true;
  // The status panel is narrow and soon rewritten; the memo keeps it readable.
  memoTalking_->appendPlainText(line);
}

void TMainForm::ResetRound() {
  RefreshExtras();
}

void TMainForm::ClearSeat(int /*seat*/) {
  imageLordCard_->hide();
  RefreshExtras();
  if (windows_.resetHero) windows_.resetHero();
}

void TMainForm::AddTalk(int /*seat*/, std::string_view line) {
  memoTalking_->appendPlainText(Utf8(line));
}

void TMainForm::ShowMessage(MessageIcon icon, std::string_view caption, std::string_view text) {
  client::ShowMessage(this, ShownText(text), Utf8(caption), icon);
}

}  // namespace quarn::client
