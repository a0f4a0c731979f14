// What the table window shows for a game state: which controls are enabled,
// the status panel texts, and the fixed texts of its messages. Pure functions
// of the table, so the window only applies them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "client/model/game_state.h"
#include "client/model/shown_text.h"
#include "protocol/pcplobby.h"

namespace quarn::client {

class TClientTable;

// The translation context of the model's texts; a front end shows the
// constants below through it.
inline constexpr const char* kTextContext = "Quarn";

// Our support address, shown in the status bar.
inline constexpr std::string_view kSupportMail = "quarn-support@example.org";
// Status panel 0 before the table is set up.
inline constexpr std::string_view kInitialStatus =
    Marked("Quarn", "“某某”是地主，我们斗呀斗呀Vardel！");
inline constexpr std::string_view kAppTitle = "LumoVardel";

// Message box texts and captions.
inline constexpr std::string_view kCaptionInfo = Marked("Quarn", "提示");
inline constexpr std::string_view kCaptionWarning = Marked("Quarn", "警告");
inline constexpr std::string_view kCaptionError = Marked("Quarn", "错误");
inline constexpr std::string_view kMsgNotInitialized = Marked("Quarn", "系统初始化尚未完成！");
inline constexpr std::string_view kMsgConnectionLost = Marked("Quarn", "对不起，网络断线啦！");
inline constexpr std::string_view kMsgSocketError = Marked("Quarn", "通信模块发现错误！");
inline constexpr std::string_view kMsgNoSelfPass = Marked("Quarn", "你不可以PASS自己耶，宝贝。");
inline constexpr std::string_view kMsgLoginFirst = Marked("Quarn", "嘿！先登录到服务器上再说啊。");
inline constexpr std::string_view kMsgLoginRefused =
    Marked("Quarn", "服务器拒绝了登录：这一桌的座位已满，或这个名字的密码不对。");
// Status panel 0 when the hint finds nothing that beats the table.
inline constexpr std::string_view kHintNothingBeats =
    Marked("Quarn", "没有大过上家的牌，不要吧（P）");

struct ButtonStates {
  bool send = false;    ///< BtnSend
  bool bid = false;     ///< BtnBid
  bool pass = false;    ///< BtnPass
  bool cancel = false;  ///< BtnCancel
  bool login = false;   ///< BtnLogin
  bool speak = false;   ///< SBtnSpeak; when false the talk window is hidden too
  bool waiter = false;  ///< SBtnWaiter
  bool quit = true;     ///< BtnQuit, SBtnShutup and SBtnHero are always enabled
  bool shutup = true;
  bool hero = true;
  bool hint = false;      ///< the hint button: enabled as BtnSend is
  bool autoPlay = false;  ///< 托管 on and off: while seated at a table

  friend bool operator==(const ButtonStates&, const ButtonStates&) = default;
};

ButtonStates ButtonsFor(const TClientTable& table);

// Panel 0 (wide, left) and panel 1 (middle); panel 1 stays as it is when empty.
struct StatusTexts {
  std::string panel0;
  std::optional<std::string> panel1;
};

StatusTexts StatusFor(const TClientTable& table);

// The seat letter is hidden while offline or logging in.
bool SeatLabelVisible(TGameState state);

// "%sVardel": title and caption once the login was sent.
std::string WindowTitle(std::string_view ownName);
// The title while watching: the table watched.
std::string WatchTitle(const TClientTable& table);
// Why the server would not let us watch.
std::string WatchRefusal(WatchResult result);

// Panel 1 for the cards on the table: "<leader>出的一手"<combination>"";
// empty while no cards lie on the table.
std::string TableCardsCaption(const TClientTable& table);

// Panel 1 for the end of a game, from the own or the winner's view.
std::string WinnerText(const TClientTable& table, int winnerSeat);

// One chat memo line: "<name>：<text>".
std::string TalkLine(const TClientTable& table, int seat, std::string_view text);
// A watcher's chat line: "<name>（观众）：<text>".
std::string WatcherTalkLine(std::string_view name, std::string_view text);

}  // namespace quarn::client
