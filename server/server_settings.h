// The server's settings as numbers: the console window parses its edits into
// them, quarnd its command line; the tables take them as they are.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace quarn::server {

struct ServerSettings {
  bool allowBid = false;             // "允许卖地主"
  std::uint32_t defaultPoints = 10;  // "每局默认点数"
  bool randEachGame = false;         // "每局随机数更新"
  bool allowDelay = true;            // "允许通讯时延"
  std::uint32_t delaySyncMs = 200;   // "同步时延"
  std::uint32_t delayDealMs = 500;   // "发牌时延"
  std::uint32_t tables = 1;          // how many tables the server runs
  // Our own, off by default (see the README).
  bool keepSeats = false;  // "断线保留座位": a lost player's seat is played by the computer
  std::uint32_t turnTimeS = 0;  // "出牌限时"; 0: no limit
  // "名字归属": a name belongs to whoever first logged in under it, and needs
  // its password from then on. Needs the game store.
  bool accounts = false;
  // The first of this server's table numbers, when several servers share the
  // table numbers out (quarnd --first-table): it holds firstTable ..
  // firstTable + tables - 1 and refuses a login that names another table.
  // 0: tables from 1, and a login naming another table gets any free one.
  std::uint32_t firstTable = 0;
  // "大厅": our own lobby request is answered (the specified client never sends it).
  bool lobby = true;
  // "观众人数": watchers a table may have; 0: none, as specified.
  std::uint32_t spectators = 0;
  // "观众聊天": a watcher's chat goes to the table as a player's does; off: refused.
  bool spectatorChat = false;
};

// The number of the table at list position 0.
inline std::int32_t FirstTableNumber(const ServerSettings& settings) {
  return settings.firstTable == 0 ? 1 : static_cast<std::int32_t>(settings.firstTable);
}

// The values a number may take, both ends included.
struct Limits {
  long long low = std::numeric_limits<long long>::min();
  long long high = std::numeric_limits<long long>::max();
};

// A larger pause would freeze the server for minutes, larger points would
// overflow the 32-bit scores within a few games.
inline constexpr Limits kPointsLimits{0, 1'000'000};
inline constexpr Limits kDelayLimits{0, 60'000};
inline constexpr Limits kTablesLimits{1, 1000};
inline constexpr Limits kTurnTimeLimits{0, 3600};
inline constexpr Limits kFirstTableLimits{1, 1'000'000};
inline constexpr Limits kSpectatorsLimits{0, 200};

// A decimal integer within `limits`, with an optional sign and surrounding
// blanks; nothing else.
[[nodiscard]] std::optional<long long> ParseInteger(std::string_view text, Limits limits = {});
// The same for a setting, which is never negative.
[[nodiscard]] std::optional<std::uint32_t> ParseSetting(std::string_view text, Limits limits);

// Every number within its limits.
[[nodiscard]] bool InLimits(const ServerSettings& settings);

}  // namespace quarn::server
