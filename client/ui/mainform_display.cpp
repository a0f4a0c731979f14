// What the table window shows when the model tells it: the state with its
// buttons and status texts, the cards on the table, the winner, chat lines
// and messages.
#include <QFontMetrics>
#include <QStatusBar>

#include "client/model/screen_texts.h"
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

}  // namespace

void TMainForm::SetGameState(TGameState state) {
  labelSeat_->setText(Utf8(SeatName(table_.OwnSeat)));
  labelSeat_->setVisible(SeatLabelVisible(state));
  if (state == TGameState::LoggingIn) {
    setWindowTitle(Utf8(WindowTitle(table_.Me.Name())));
  }
  if (GameUnderWay(state) || state == TGameState::Offline) holdWinnerText_ = false;
  UpdateButtons();
  UpdateStatus();
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
  if (!buttons.speak && windows_.showTalk) windows_.showTalk(false);
  KeepFocusUseful();
}

void TMainForm::KeepFocusUseful() {
  const QWidget* focus = focusWidget();
  if (focus && focus->isEnabled() && focus != btnQuit_) return;
  for (QPushButton* button : {btnSend_, btnBid_, btnPass_, btnLogin_}) {
    if (button->isEnabled()) {
      button->setFocus();
      return;
    }
  }
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
  QFont font = UiFont(12);
  if (QFontMetrics(font).horizontalAdvance(text) > room) font = UiFont(11);
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

void TMainForm::ResetRound() {}

void TMainForm::ClearSeat(int /*seat*/) {
  imageLordCard_->hide();
  if (windows_.resetHero) windows_.resetHero();
}

void TMainForm::AddTalk(int /*seat*/, std::string_view line) {
  memoTalking_->appendPlainText(Utf8(line));
}

void TMainForm::ShowMessage(MessageIcon icon, std::string_view caption, std::string_view text) {
  client::ShowMessage(this, Utf8(text), Utf8(caption), icon);
}

}  // namespace quarn::client
