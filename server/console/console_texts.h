// The console window's own words.
#pragma once

namespace quarn::server::texts {

inline constexpr const char* kApplicationTitle = "“Vardel”服务器";
inline constexpr const char* kFormCaption = "“Vardel”服务器程序";
inline constexpr const char* kBtnStart = "启动(&S)";
inline constexpr const char* kBtnStop = "停止(&T)";
inline constexpr const char* kStatusFirst = "服务器连接...";
inline constexpr const char* kTabLog = "运行日志";
inline constexpr const char* kTabHero = "英雄榜";
inline constexpr const char* kTabSettings = "系统配置";
inline constexpr const char* kTabTables = "桌子";
inline constexpr const char* kAllowBid = "允许卖地主";
inline constexpr const char* kDefaultPoints = "每局默认点数";
inline constexpr const char* kRandEachGame = "每局随机数更新";
inline constexpr const char* kAllowDelay = "允许通讯时延";
inline constexpr const char* kDelaySync = "同步时延";
inline constexpr const char* kDelayDeal = "发牌时延";
inline constexpr const char* kMilliseconds = "毫秒";
inline constexpr const char* kTableCount = "桌数";
inline constexpr const char* kColumnTable = "桌号";
inline constexpr const char* kColumnPlayers = "人数";
inline constexpr const char* kColumnState = "状态";
inline constexpr const char* kColumnNames = "玩家";
inline constexpr const char* kTableSeating = "入座";
inline constexpr const char* kTableWaiting = "等人";
inline constexpr const char* kTableDealing = "发牌";
inline constexpr const char* kTableBidding = "叫分";
inline constexpr const char* kTablePlaying = "出牌";
inline constexpr const char* kKeepSeats = "断线保留座位";
// Our own: keep every finished game in games.db beside the Log and Hero files.
inline constexpr const char* kKeepGames = "保存牌局记录";
inline constexpr const char* kGameFile = "games.db";
// Our own: names belong to their players; their password hashes go to games.db.
inline constexpr const char* kAccounts = "名字归属";
inline constexpr const char* kAccountsNeedGames =
    "名字归属需要保存牌局记录，请同时选中“保存牌局记录”。";
inline constexpr const char* kTurnTime = "出牌限时";
// Our own: the tables in use told to a client that asks, and watchers per table.
inline constexpr const char* kLobby = "大厅";
inline constexpr const char* kSpectators = "观众人数";
inline constexpr const char* kSpectatorChat = "观众聊天";
inline constexpr const char* kSeconds = "秒";
inline constexpr const char* kWebPort = "网页端口";
inline constexpr const char* kWarningCaption = "警告";
inline constexpr const char* kBadSettings = "请查看服务器系统配置项是否设置有误！";

}  // namespace quarn::server::texts
