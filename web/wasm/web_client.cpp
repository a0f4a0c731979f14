#include "web_client.h"

#include <algorithm>
#include <cstdio>

#include "client/model/client_sending.h"
#include "client/model/message_handling.h"
#include "client/model/screen_texts.h"
#include "client/model/table_tally.h"
#include "core/tpoker.h"
#include "json.h"
#include "protocol/any_message.h"
#include "replay_json.h"
#include "standings_json.h"

namespace quarn::web {
namespace {

Json Event(std::string_view type) {
  Json json;
  json.Begin('{').Key("type").Text(type);
  return json;
}

// As many top lines as the window's standings page shows, and as many games.
constexpr std::uint8_t kStandingsShown = 10;
constexpr std::uint8_t kReplaysShown = 10;

int Control(SeatControl control) {
  return static_cast<int>(control);
}

}  // namespace

void Recorder::Add(std::string json) {
  events_.push_back(std::move(json));
}

void Recorder::SetGameState(client::TGameState state) {
  Add(Event("state").Key("state").Number(static_cast<int>(state)).End('}').Str());
}
void Recorder::ShowLordCard(std::uint8_t card) {
  Add(Event("lordCard").Key("card").Number(card).End('}').Str());
}
void Recorder::ShowTableCards() {
  Add(Event("tableCards").End('}').Str());
}
void Recorder::ShowPass(int seat) {
  Add(Event("pass").Key("seat").Number(seat).End('}').Str());
}
void Recorder::ShowWinner(int seat, std::string_view text) {
  Add(Event("winner").Key("seat").Number(seat).Key("text").Text(text).End('}').Str());
}
void Recorder::ScoresChanged() {
  Add(Event("scores").End('}').Str());
}
void Recorder::ResetRound() {
  Add(Event("reset").End('}').Str());
}
void Recorder::ClearSeat(int seat) {
  Add(Event("clearSeat").Key("seat").Number(seat).End('}').Str());
}
void Recorder::TableRestored() {
  Add(Event("restored").End('}').Str());
}
void Recorder::SeatControlsChanged() {
  Add(Event("controls").End('}').Str());
}
void Recorder::TurnClockChanged() {
  Add(Event("clock").End('}').Str());
}
void Recorder::StandingsChanged() {
  keepsGames_ = true;
  Add(Event("standings").End('}').Str());
}
void Recorder::ReplaysChanged() {
  Add(Event("replays").End('}').Str());
}
void Recorder::ShowLoginRefused() {
  loginRefused_ = true;
  Add(Event("refused").End('}').Str());
}
void Recorder::AddTalk(int seat, std::string_view line) {
  Add(Event("talk").Key("seat").Number(seat).Key("line").Text(line).End('}').Str());
}
void Recorder::ShowMessage(client::MessageIcon icon, std::string_view caption,
                           std::string_view text) {
  // The model hands over its texts as written; the window shows them through
  // its catalogue, and so does the page.
  const auto shown = [](std::string_view source) {
    return client::Shown(client::kTextContext, std::string(source).c_str());
  };
  Add(Event("message")
          .Key("icon")
          .Number(static_cast<int>(icon))
          .Key("caption")
          .Text(shown(caption))
          .Key("text")
          .Text(shown(text))
          .End('}')
          .Str());
}

bool Recorder::WritePacket(std::span<const std::uint8_t> packet) {
  packets_.emplace_back(packet.begin(), packet.end());
  return true;
}

std::string Recorder::TakeEvents() {
  std::string out = "[";
  for (std::size_t i = 0; i < events_.size(); ++i) {
    if (i > 0) out += ',';
    out += events_[i];
  }
  events_.clear();
  return out + "]";
}

std::vector<std::vector<std::uint8_t>> Recorder::TakePackets() {
  return std::exchange(packets_, {});
}

WebClient::WebClient() : table_(&recorder_, &recorder_) {
  table_.InitTable();
}

int WebClient::Feed(std::span<const std::uint8_t> bytes) {
  const int handled = client::FeedBytes(table_, assembler_, bytes);
  if (recorder_.TakeLoginRefused()) login_.reset();  // a reconnect would be refused again
  const client::TReplays& replays = table_.Replays;
  if (replays.Arrival == client::ReplayArrival::Ready && !replay_ && replays.Game) {
    replay_.emplace(*replays.Game);
    replayStep_ = 0;
  }
  return handled;
}

void WebClient::ConnectionLost() {
  assembler_.Reset();
  cursor_.EndDrag();
  table_.ConnectionLost();
}

bool WebClient::Login(const std::string& name, const std::string& password, int serviceIcon,
                      int headIcon, int table, int seat) {
  if (table_.GameState != client::TGameState::Offline) return false;
  const std::optional<Packet> packet =
      client::BuildLoginRequest(name, password, serviceIcon, headIcon, table, seat);
  if (!packet) return false;
  assembler_.Reset();
  if (client::SendPacket(table_, *packet) != 0) return false;
  login_ = packet;
  table_.Me.SetName(name);
  table_.Me.SetService(static_cast<std::uint8_t>(serviceIcon));
  table_.Me.SetIcon(headIcon);
  table_.Me.SetCardCount(0);
  table_.SetGameState(client::TGameState::LoggingIn);
  return true;
}

bool WebClient::Relogin() {
  if (!login_ || table_.GameState != client::TGameState::Offline) return false;
  assembler_.Reset();
  if (client::SendPacket(table_, *login_) != 0) return false;
  table_.SetGameState(client::TGameState::LoggingIn);
  return true;
}

bool WebClient::CanChooseCards() const {
  return table_.GameState == client::TGameState::InPlay ||
         table_.GameState == client::TGameState::PlaySent;
}

int WebClient::Key(int key) {
  if (key < 0 || key > static_cast<int>(client::TableKey::AutoPlay)) return 0;
  return static_cast<int>(cursor_.Press(table_, static_cast<client::TableKey>(key)));
}

void WebClient::Press(int button) {
  const client::ButtonStates buttons = client::ButtonsFor(table_);
  switch (static_cast<client::TableButton>(button)) {
    case client::TableButton::Send:
      if (buttons.send) client::PlaySelection(table_);
      break;
    case client::TableButton::Cancel:
      if (buttons.cancel) table_.Me.CancelSelection();
      break;
    case client::TableButton::Pass:
      if (buttons.pass) client::PressPass(table_);
      break;
    case client::TableButton::Hint:
      Hint();
      break;
    case client::TableButton::AutoPlay:
      if (buttons.autoPlay) client::SendAutoPlay(table_, !table_.ComputerPlays(table_.OwnSeat));
      break;
    default:
      break;
  }
}

bool WebClient::Bid(int points) {
  if (table_.GameState != client::TGameState::MyBid) return false;
  if (points <= table_.BidPoints || points > 255) return false;
  table_.BidPoints = points;
  return client::SendBid(table_) == 0;
}

bool WebClient::PassBid() {
  if (table_.GameState != client::TGameState::MyBid) return false;
  return client::SendBidPass(table_) == 0;
}

bool WebClient::Hint() {
  if (!client::ButtonsFor(table_).hint) return false;
  cursor_.Hide(table_.Me);
  const std::optional<ai::PlannedPlay> play = hint_.Next(table_);
  if (!play) {
    table_.Me.CancelSelection();
    return false;
  }
  return client::SelectPlay(table_, play->cards);
}

bool WebClient::Chat(const std::string& text) {
  if (!client::ButtonsFor(table_).speak || text.empty()) return false;
  return client::SendTalk(table_, text) == 0;
}

void WebClient::BeginDrag(int slot) {
  if (!CanChooseCards() || !table_.Me.Hand.Card(slot).IsPresent()) return;
  cursor_.Hide(table_.Me);
  cursor_.BeginDrag(table_.Me, slot);
}

void WebClient::DragOver(int slot) {
  if (CanChooseCards() && slot >= 0) cursor_.DragOver(table_.Me, slot);
}

void WebClient::EndDrag() {
  cursor_.EndDrag();
}

bool WebClient::AskStandings() {
  const bool top = client::SendStandingsRequest(table_, StandingsAsk::Top, kStandingsShown);
  return top && client::SendStandingsRequest(table_, StandingsAsk::Own);
}

std::string WebClient::Standings() const {
  return StandingsJson(table_);
}

bool WebClient::AskReplays() {
  return recorder_.KeepsGames() && client::SendReplayListRequest(table_, kReplaysShown);
}

std::string WebClient::ReplayList() const {
  return ReplayListJson(table_);
}

bool WebClient::OpenReplay(int index) {
  const auto& games = table_.Replays.Games;
  if (index < 0 || static_cast<std::size_t>(index) >= games.size()) return false;
  replay_.reset();
  replayStep_ = 0;
  return client::SendReplayGameRequest(table_, games[static_cast<std::size_t>(index)].gameId);
}

void WebClient::ReplayGo(int step) {
  if (!replay_) return;
  const auto last = static_cast<int>(replay_->Count()) - 1;
  replayStep_ = static_cast<std::size_t>(std::clamp(step, 0, last));
}

std::string WebClient::Replay() const {
  return ReplayJson(table_.Replays, replay_ ? &*replay_ : nullptr, replayStep_);
}

std::string WebClient::Snapshot() const {
  const client::ButtonStates buttons = client::ButtonsFor(table_);
  const client::StatusTexts status = client::StatusFor(table_);
  Json json;
  json.Begin('{');
  json.Key("state").Number(static_cast<int>(table_.GameState));
  json.Key("ownSeat").Number(table_.OwnSeat).Key("table").Number(table_.TableNumber);
  json.Key("currentSeat").Number(table_.CurrentSeat).Key("leadSeat").Number(table_.LeadSeat);
  json.Key("lordSeat").Number(table_.LordSeat).Key("bidPoints").Number(table_.BidPoints);
  json.Key("title").Text(client::WindowTitle(table_.Me.Name()));
  json.Key("panel0").Text(status.panel0).Key("panel1");
  status.panel1 ? json.Text(*status.panel1) : json.Text("");
  json.Key("tableCaption").Text(client::TableCardsCaption(table_));
  json.Key("buttons").Begin('{');
  json.Key("send").Bool(buttons.send).Key("bid").Bool(buttons.bid).Key("pass").Bool(buttons.pass);
  json.Key("cancel").Bool(buttons.cancel).Key("login").Bool(buttons.login);
  json.Key("speak").Bool(buttons.speak).Key("hint").Bool(buttons.hint);
  json.Key("autoPlay").Bool(buttons.autoPlay).End('}');
  json.Key("hand").Begin('[');
  for (int slot = 0; slot < client::kHandSlots; ++slot) {
    const TPoker& card = table_.Me.Hand.Card(slot);
    if (!card.IsPresent()) continue;
    json.Begin('[').Number(slot).Number(card.Number()).Bool(table_.Me.IsRaised(slot)).End(']');
  }
  json.End(']').Key("cursor").Number(cursor_.Slot());
  json.Key("tableCards").Begin('[');
  for (const TPoker& card : table_.TableCards.Cards()) {
    if (card.IsPresent()) json.Number(card.Number());
  }
  json.End(']');
  const auto acts = client::RoundActs(table_);
  json.Key("seats").Begin('[');
  for (int seat = 0; seat < client::kSeatCount; ++seat) {
    const auto index = static_cast<std::size_t>(seat);
    const client::TClientPlayer* player = table_.PlayerAt(seat);
    const client::TSeatInfo& info = table_.Seats[index];
    json.Begin('{').Key("name").Text(table_.SeatPlayerName(seat));
    json.Key("icon").Number(player ? player->HeadIcon() : 0);
    json.Key("service").Number(player ? player->ServiceIcon() : 0);
    json.Key("count").Number(player ? player->CardCount() : 0);
    json.Key("lord").Bool(player && player->IsLord());
    json.Key("score").Number(info.Score).Key("games").Number(info.Games);
    json.Key("control").Number(Control(table_.SeatControls[index]));
    json.Key("acted").Bool(acts[index].acted).Key("cards").Bytes(acts[index].cards);
    json.End('}');
  }
  json.End(']');
  const client::RankTally unseen = client::UnseenCards(table_);
  json.Key("unseen").Begin('[');
  for (const int n : unseen) json.Number(n);
  json.End(']');
  json.Key("clockSeat").Number(table_.ClockSeat).Key("clockLeftMs").Number(table_.ClockLeftMs);
  json.Key("clockTurnMs").Number(table_.ClockTurnMs);
  return json.End('}').Str();
}

std::string CardName(int card) {
  TPoker poker;
  poker.SetCard(card);
  return std::string(poker.Name());
}

std::string DescribeStream(std::span<const std::uint8_t> bytes) {
  StreamAssembler assembler;
  assembler.Feed(bytes);
  std::string out;
  std::size_t index = 0;
  while (const std::optional<Packet> packet = assembler.Next()) {
    char head[64];
    std::snprintf(head, sizeof head, "#%zu 0x%08X %zu bytes: ", ++index, packet->RawType(),
                  packet->length);
    out += head;
    if (const auto decoded = DecodeMessage(*packet)) {
      out += DescribeMessage(*decoded);
    } else {
      out += std::string(MessageName(packet->RawType())) + " (body refused by its decoder)";
    }
    out += '\n';
  }
  return out;
}

}  // namespace quarn::web
