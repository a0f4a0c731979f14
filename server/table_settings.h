// The six console settings as the table uses them, parsed from the texts of
// the console's controls.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "server/server_app.h"

namespace quarn::server {

struct TableSettings {
  bool allowBid = false;
  std::uint32_t defaultPoints = 10;
  bool randEachGame = false;
  bool allowDelay = true;
  std::uint32_t delaySyncMs = 200;
  std::uint32_t delayDealMs = 500;
  std::uint32_t tables = 1;  // how many tables the server runs
  bool keepSeats = false;
  std::uint32_t turnTimeS = 0;  // 0: no limit
};

// Upper bounds: a larger pause would freeze the server for minutes, larger
// points would overflow the 32-bit scores within a few games.
inline constexpr std::uint32_t kMaxDelayMs = 60'000;
inline constexpr std::uint32_t kMaxDefaultPoints = 1'000'000;
inline constexpr std::uint32_t kMaxTables = 1000;
inline constexpr std::uint32_t kMaxTurnTimeS = 3600;

// A decimal integer with an optional sign and surrounding blanks; nothing else.
std::optional<long long> ParseInteger(std::string_view text);

// The settings, or nothing when an edit's text is not an integer in its range.
std::optional<TableSettings> ParseSettings(const ConsoleSettings& console);

}  // namespace quarn::server
