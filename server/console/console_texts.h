// The console window's own words.
#pragma once

namespace quarn::server::texts {

inline constexpr char kApplicationTitle[] = "“Vardel”服务器";
inline constexpr char kFormCaption[] = "“Vardel”服务器程序";
inline constexpr char kBtnStart[] = "启动(&S)";
inline constexpr char kBtnStop[] = "停止(&T)";
inline constexpr char kStatusFirst[] = "服务器连接...";
inline constexpr char kTabLog[] = "运行日志";
inline constexpr char kTabHero[] = "英雄榜";
inline constexpr char kTabSettings[] = "系统配置";
inline constexpr char kTabTables[] = "桌子";
inline constexpr char kAllowBid[] = "允许卖地主";
inline constexpr char kDefaultPoints[] = "每局默认点数";
inline constexpr char kRandEachGame[] = "每局随机数更新";
inline constexpr char kAllowDelay[] = "允许通讯时延";
inline constexpr char kDelaySync[] = "同步时延";
inline constexpr char kDelayDeal[] = "发牌时延";
inline constexpr char kMilliseconds[] = "毫秒";
inline constexpr char kTableCount[] = "桌数";
inline constexpr char kColumnTable[] = "桌号";
inline constexpr char kColumnPlayers[] = "人数";
inline constexpr char kColumnState[] = "状态";
inline constexpr char kColumnNames[] = "玩家";
inline constexpr char kTableSeating[] = "入座";
inline constexpr char kTableWaiting[] = "等人";
inline constexpr char kTableDealing[] = "发牌";
inline constexpr char kTableBidding[] = "叫分";
inline constexpr char kTablePlaying[] = "出牌";
inline constexpr char kKeepSeats[] = "断线保留座位";
// Our own: keep every finished game in games.db beside the Log and Hero files.
inline constexpr char kKeepGames[] = "保存牌局记录";
inline constexpr char kGameFile[] = "games.db";
inline constexpr char kTurnTime[] = "出牌限时";
inline constexpr char kSeconds[] = "秒";
inline constexpr char kWebPort[] = "网页端口";
inline constexpr char kWarningCaption[] = "警告";
inline constexpr char kBadSettings[] = "请查看服务器系统配置项是否设置有误！";

}  // namespace quarn::server::texts
