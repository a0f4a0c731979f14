// The table window's handlers: buttons and the connection's events.
#include "client/model/client_sending.h"
#include "client/model/screen_texts.h"
#include "client/ui/mainform.h"

namespace quarn::client {

void TMainForm::BtnLoginClick() {
  InitTable();
  if (table_.GameState != TGameState::Offline || !windows_.login) return;
  const std::optional<LoginOutcome> outcome = windows_.login();
  // The keys belong to the table again once the login window is gone; some
  // window managers leave the keyboard with nobody when a dialog closes.
  activateWindow();
  setFocus();
  if (!outcome || outcome->watching) return;
  table_.Me.SetName(outcome->name.toStdString());
  table_.Me.SetService(static_cast<std::uint8_t>(outcome->serviceNo));
  table_.Me.SetIcon(outcome->iconNo);
  table_.Me.SetCardCount(0);
  table_.SetGameState(TGameState::LoggingIn);
  // The connection may have failed while the login window was open; waiting
  // for an answer that cannot come would leave the login button dead.
  if (!socket_.IsOpen()) table_.SetGameState(TGameState::Offline);
}

void TMainForm::BtnSendClick() {
  if (!table_.Initialized) return;
  PlaySelection(table_);
}

void TMainForm::BtnBidClick() {
  if (!table_.Initialized || !windows_.bid) return;
  windows_.bid(table_.BidPoints, table_.BidPoints + 1);
}

void TMainForm::BtnCancelClick() {
  if (!table_.Initialized) return;
  table_.Me.CancelSelection();
}

void TMainForm::BtnPassClick() {
  if (!table_.Initialized) return;
  PressPass(table_);
}

void TMainForm::BtnQuitClick() {
  socket_.Close(true);
  close();
}

void TMainForm::SBtnSpeakClick() {
  if (!table_.Initialized) {
    ShowMessage(MessageIcon::Information, kCaptionInfo, kMsgLoginFirst);
    return;
  }
  if (windows_.showTalk) windows_.showTalk(true);
}

void TMainForm::SBtnShutupClick() {
  if (!table_.Initialized) {
    ShowMessage(MessageIcon::Information, kCaptionInfo, kMsgLoginFirst);
    return;
  }
  if (windows_.showTalk) windows_.showTalk(false);
}

void TMainForm::SBtnHeroClick() {
  if (!table_.Initialized) {
    ShowMessage(MessageIcon::Information, kCaptionInfo, kMsgLoginFirst);
    return;
  }
  if (windows_.showHero) windows_.showHero();
}

void TMainForm::ClientSocketMainDisconnect() {
  if (!table_.Initialized) return;
  table_.ConnectionLost();
  // One click takes the player back: a server that kept the seat gives it back.
  if (rememberedLogin_ && table_.GameState == TGameState::Offline) btnReconnect_->show();
}

void TMainForm::ClientSocketMainError(const QString& /*description*/) {
  ShowMessage(MessageIcon::Error, kCaptionError, kMsgSocketError);
  // A connection that never stood sends no disconnect: without this the
  // client would wait in LoggingIn for ever with the login button disabled.
  if (table_.Initialized && !socket_.IsOpen() && !socket_.WasConnected() &&
      table_.GameState != TGameState::Offline) {
    table_.SetGameState(TGameState::Offline);
    if (rememberedLogin_) btnReconnect_->show();
  }
}

int TMainForm::OpenConnection(const std::string& host, std::uint16_t port) {
  socket_.SetAddress(QString::fromStdString(host));
  socket_.SetPort(port);
  return socket_.Open() ? 0 : 1;
}

int TMainForm::SendPacket(const Packet& packet) {
  if (packet.RawType() == static_cast<std::uint32_t>(MessageType::LoginRequest)) {
    rememberedLogin_ = packet;
  } else if (packet.RawType() == static_cast<std::uint32_t>(MessageType::WatchRequest)) {
    rememberedLogin_.reset();  // a reconnect must not seat a watcher
  }
  return client::SendPacket(table_, packet);
}

int TMainForm::SendBid() {
  return client::SendBid(table_);
}

int TMainForm::SendBidPass() {
  return client::SendBidPass(table_);
}

int TMainForm::SendTalk(const QString& text) {
  return client::SendTalk(table_, text.toStdString());
}

bool TMainForm::SendIconChange(int serviceIcon, int headIcon) {
  return client::SendIconChange(table_, serviceIcon, headIcon);
}

}  // namespace quarn::client
