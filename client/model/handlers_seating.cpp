// Handlers of the login answer, the seat list, departures, chat and icons.
#include "client/model/handlers.h"
#include "client/model/screen_texts.h"
#include "core/gbk.h"
#include "protocol/pcpchat.h"
#include "protocol/pcpgame.h"
#include "protocol/pcplobby.h"
#include "protocol/pcplogin.h"
#include "protocol/pcpother.h"

namespace quarn::client::handlers {

namespace {

TSeatInfo& SeatAt(TClientTable& table, int seat) {
  return table.Seats[static_cast<std::size_t>(seat)];
}

void FillSeat(TClientTable& table, int seat, const LoginRecord& list) {
  const auto slot = static_cast<std::size_t>(seat);
  TSeatInfo& info = SeatAt(table, seat);
  if (TClientPlayer* player = info.Player) {
    player->SetName(GbkToUtf8(list.name[slot]));
    player->SetCardCount(0);
    player->SetService(static_cast<std::uint8_t>(list.serviceIcon[slot]));
    player->SetIcon(list.headIcon[slot]);
  }
  info.TableNumber = table.TableNumber;
  info.SeatNo = static_cast<std::uint32_t>(seat);
  info.IsSelf = 0;
}

void EmptySeat(TClientTable& table, int seat) {
  TSeatInfo& info = SeatAt(table, seat);
  if (TClientPlayer* player = info.Player) {
    player->SetName("");
    player->SetCardCount(0);
    player->SetService(0);
    player->SetIcon(0);
  }
  info.TableNumber = 0;
  info.SeatNo = 0;
  info.IsSelf = 0;
  info.Games = 0;
  info.Score = 0;
}

}  // namespace

int LoginReply(TClientTable& table, const Packet& packet) {
  if (!InState(table, {TGameState::LoggingIn})) return 1;
  LoginRecord reply;
  if (DecodeLoginReply(reply, packet) != 0) {
    // A refused player would otherwise wait for ever with nothing to press.
    if (!IsLoginRefusal(packet)) return 1;
    table.SetGameState(TGameState::Offline);
    table.Display().ShowLoginRefused();
    return 0;
  }
  table.TableNumber = static_cast<std::uint32_t>(reply.tableNumber);
  table.OwnSeat = reply.seat;
  table.Watching = false;
  // After a reconnection the own seat may differ from the last one; a stale
  // own mark would hide the player now sitting there.
  for (TSeatInfo& info : table.Seats) {
    info.IsSelf = 0;
    info.Current = nullptr;
  }
  TSeatInfo& own = SeatAt(table, reply.seat);
  own.IsSelf = 1;
  own.Current = &table.Me;
  own.Player = nullptr;
  own.TableNumber = table.TableNumber;
  own.SeatNo = reply.seat;
  table.ArrangeSeats();
  table.SetGameState(TGameState::Seated);
  return 0;
}

int WatchReply(TClientTable& table, const Packet& packet) {
  // Only the answer to the request this client sent, while it holds no seat.
  if (!InState(table, {TGameState::Offline}) || table.WatchAsked == 0) return 1;
  WatchReplyRecord reply;
  if (DecodeWatchReply(reply, packet) != 0 || reply.tableNumber != table.WatchAsked) return 1;
  table.WatchAsked = 0;
  if (reply.result == WatchResult::Watching) {
    table.StartWatching(reply.tableNumber);
    table.WatcherMayChat = reply.mayChat;
  }
  table.Display().WatchAnswered(reply.result);
  return 0;
}

int SeatList(TClientTable& table, const Packet& packet) {
  if (!InState(table, {TGameState::Seated})) return 1;
  LoginRecord list;
  if (DecodeSeatList(list, packet) != 0 || !OwnTable(table, list.tableNumber)) return 1;
  int count = 0;
  for (int seat = 0; seat < kSeatCount; ++seat) {
    const auto slot = static_cast<std::size_t>(seat);
    if (SeatAt(table, seat).IsSelf == 1) {
      ++count;
    } else if (!list.name[slot].empty() && list.nameLength[slot] != 0) {
      FillSeat(table, seat, list);
      ++count;
    } else {
      EmptySeat(table, seat);
    }
  }
  table.PlayerCount = count;
  table.SetGameState(count == kSeatCount ? TGameState::AwaitDeal : TGameState::Seated);
  return 0;
}

int PlayerLeave(TClientTable& table, const Packet& packet) {
  if (InState(table, {TGameState::Offline})) return 1;
  SeatRecord leave;
  if (DecodePlayerLeave(leave, packet) != 0 || !OwnTable(table, leave.tableNumber)) return 1;
  if (table.IsOwnSeat(leave.seat)) return 1;
  TSeatInfo& info = SeatAt(table, leave.seat);
  // The status line counts the players; one fewer sits here now.
  if (info.TableNumber != 0 && table.PlayerCount > 0) --table.PlayerCount;
  info.TableNumber = 0;
  info.SeatNo = 0;
  table.ClearSeat(leave.seat);
  table.SetGameState(TGameState::Seated);
  return 0;
}

int ChatNotice(TClientTable& table, const Packet& packet) {
  if (InState(table, {TGameState::Offline})) return 1;
  ChatRecord chat;
  if (DecodeChatNotice(chat, packet) != 0 || !OwnTable(table, chat.tableNumber)) return 1;
  // A watcher's line names its speaker in the text: no seat said it.
  const std::optional<WatcherLine> watcher = SplitWatcherChat(chat.text);
  table.Display().AddTalk(
      chat.seat, watcher ? WatcherTalkLine(GbkToUtf8(watcher->name), GbkToUtf8(watcher->text))
                         : TalkLine(table, chat.seat, GbkToUtf8(chat.text)));
  return 0;
}

int IconNotice(TClientTable& table, const Packet& packet, MessageType type) {
  if (InState(table, {TGameState::Offline})) return 1;
  IconRecord icons;
  const int decoded = type == MessageType::IconNoticeAlt ? DecodeIconNoticeAlt(icons, packet)
                                                         : DecodeIconNotice(icons, packet);
  if (decoded != 0 || !OwnTable(table, icons.tableNumber)) return 1;
  TClientPlayer* player = table.PlayerAt(icons.seat);
  if (player == nullptr) return 1;
  player->SetService(static_cast<std::uint8_t>(icons.serviceIcon));
  player->SetIcon(icons.headIcon);
  return 0;
}

}  // namespace quarn::client::handlers
