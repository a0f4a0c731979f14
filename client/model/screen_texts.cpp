#include "client/model/screen_texts.h"

#include "client/model/card_texts.h"
#include "client/model/table_state.h"

namespace quarn::client {

namespace {

std::string SeatedText(int playerCount) {
  switch (playerCount) {
    case 1:
      return Shown("Quarn", "呵呵，一缺三，喂——有人玩吗？（回音...）");
    case 2:
      return Shown("Quarn", "一桌哥俩好嘞，哥们，二缺二，怎么样？");
    case 3:
      return Shown("Quarn", "三缺一啦，三缺一啦...");
    default:
      return Shown("Quarn", "Vardel吧，来来来——就两把！");
  }
}

std::string BidText(const TClientTable& table) {
  return Filled(Shown("Quarn", "竞价：%1"), {std::to_string(table.BidPoints)});
}

// A watcher is told which table it watches and who is to move.
StatusTexts WatchStatus(const TClientTable& table) {
  const std::string number = std::to_string(table.TableNumber);
  const std::string mover = table.SeatPlayerName(table.CurrentSeat);
  switch (table.GameState) {
    case TGameState::MyBid:
    case TGameState::OtherBid:
      return {Filled(Shown("Quarn", "观看第%1桌：%2正在叫牌"), {number, mover}), BidText(table)};
    case TGameState::InPlay:
    case TGameState::PlaySent:
      return {Filled(Shown("Quarn", "观看第%1桌：等待%2出牌"), {number, mover}), std::nullopt};
    case TGameState::AwaitDeal:
      return {Filled(Shown("Quarn", "观看第%1桌：等待发牌"), {number}), std::string{kSupportMail}};
    default:
      return {Filled(Shown("Quarn", "观看第%1桌：%2人入座，等待开局"),
                     {number, std::to_string(table.PlayerCount)}),
              std::string{kSupportMail}};
  }
}

}  // namespace

ButtonStates ButtonsFor(const TClientTable& table) {
  const TGameState state = table.GameState;
  const bool ownTurn = table.OwnTurn();
  const bool chatting = state != TGameState::Offline && state != TGameState::AwaitDeal;
  ButtonStates buttons;
  if (table.Watching) {
    // A watcher moves nothing; it may only talk, when the server lets it.
    buttons.speak = chatting && table.WatcherMayChat;
    buttons.waiter = chatting && table.WatcherMayChat;
    return buttons;
  }
  buttons.send = state == TGameState::InPlay && ownTurn;
  buttons.hint = buttons.send;
  buttons.bid = state == TGameState::MyBid && ownTurn;
  buttons.pass = (state == TGameState::MyBid || state == TGameState::InPlay) && ownTurn;
  buttons.cancel = state == TGameState::InPlay || state == TGameState::PlaySent;
  buttons.login = state == TGameState::Offline;
  buttons.speak = chatting;
  buttons.waiter = chatting;
  buttons.autoPlay = state != TGameState::Offline && state != TGameState::LoggingIn;
  return buttons;
}

StatusTexts StatusFor(const TClientTable& table) {
  const std::string mail{kSupportMail};
  if (table.Watching) return WatchStatus(table);
  const std::string own = table.Me.Name();
  switch (table.GameState) {
    case TGameState::Offline:
      return {Shown("Quarn", "我是小Lumo，让我们斗呀斗呀Vardel..."), mail};
    case TGameState::LoggingIn:
      return {Shown("Quarn", "已经向服务器注册，等待应答..."), "mailto:" + mail};
    case TGameState::Seated:
      return {SeatedText(table.PlayerCount), mail};
    case TGameState::AwaitDeal:
      return {Shown("Quarn", "等待发牌，您歇会儿先..."), mail};
    case TGameState::MyBid:
      return {Shown("Quarn", "别烦，轮到咱家了..."), BidText(table)};
    case TGameState::OtherBid:
      if (table.OwnTurn())
        return {Shown("Quarn", "叫牌，叫牌，叫牌，烦什么烦？！"), BidText(table)};
      return {Filled(Shown("Quarn", "嘘——，%1正在叫牌呢..."),
                     {table.SeatPlayerName(table.CurrentSeat)}),
              BidText(table)};
    case TGameState::InPlay:
    case TGameState::PlaySent:
      if (table.OwnTurn())
        return {Filled(Shown("Quarn", "嘿嘿，%1，请出牌吧..."), {own}), std::nullopt};
      return {Filled(Shown("Quarn", "等待%1出牌..."), {table.SeatPlayerName(table.CurrentSeat)}),
              std::nullopt};
  }
  return {Filled(Shown("Quarn", "程序状态出错了，请写信告诉我们：%1"), {mail}), std::nullopt};
}

bool SeatLabelVisible(TGameState state) {
  return state != TGameState::Offline && state != TGameState::LoggingIn;
}

std::string WindowTitle(std::string_view ownName) {
  return std::string{ownName} + "Vardel";
}

std::string WatchTitle(const TClientTable& table) {
  return Filled(Shown("Quarn", "观看第%1桌 - Vardel"), {std::to_string(table.TableNumber)});
}

std::string WatchRefusal(WatchResult result) {
  switch (result) {
    case WatchResult::Full:
      return Shown("Quarn", "这张桌子的观众已经满了，请换一张桌子。");
    case WatchResult::NoTable:
      return Shown("Quarn", "服务器上没有这张桌子。");
    default:
      return Shown("Quarn", "这个服务器不让观看。");
  }
}

std::string TableCardsCaption(const TClientTable& table) {
  // An emptied table keeps the last combination's name; it must not be shown.
  if (table.TableCards.Count() == 0) return {};
  return Filled(Shown("Quarn", "%1出的一手\"%2\""),
                {table.SeatPlayerName(table.LeadSeat), ShownCombination(table.TableCards.Name())});
}

std::string WinnerText(const TClientTable& table, int winnerSeat) {
  if (table.IsOwnSeat(winnerSeat))
    return Filled(Shown("Quarn", "赢家就是我%1，发啦，发啦！"), {table.Me.Name()});
  return Filled(Shown("Quarn", "赢家是%1，哎，让这个臭皮蛋赚了..."),
                {table.SeatPlayerName(winnerSeat)});
}

std::string TalkLine(const TClientTable& table, int seat, std::string_view text) {
  return Filled(Shown("Quarn", "%1：%2"), {table.SeatPlayerName(seat), text});
}

std::string WatcherTalkLine(std::string_view name, std::string_view text) {
  return Filled(Shown("Quarn", "%1（观众）：%2"), {name, text});
}

}  // namespace quarn::client
