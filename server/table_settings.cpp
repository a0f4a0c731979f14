#include "server/table_settings.h"

#include <charconv>

namespace quarn::server {

namespace {

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<std::uint32_t> InRange(std::string_view text, std::uint32_t max,
                                     std::uint32_t min = 0) {
  const std::optional<long long> value = ParseInteger(text);
  if (!value || *value < min || *value > static_cast<long long>(max)) return std::nullopt;
  return static_cast<std::uint32_t>(*value);
}

}  // namespace

std::optional<long long> ParseInteger(std::string_view text) {
  text = Trim(text);
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<TableSettings> ParseSettings(const ConsoleSettings& console) {
  const auto points = InRange(console.defaultPoints, kMaxDefaultPoints);
  const auto sync = InRange(console.delaySync, kMaxDelayMs);
  const auto deal = InRange(console.delayDeal, kMaxDelayMs);
  const auto tables = InRange(console.tables, kMaxTables, 1);
  const auto turnTime = InRange(console.turnTime, kMaxTurnTimeS);
  if (!points || !sync || !deal || !tables || !turnTime) return std::nullopt;
  TableSettings settings;
  settings.allowBid = console.allowBid;
  settings.defaultPoints = *points;
  settings.randEachGame = console.randEachGame;
  settings.allowDelay = console.allowDelay;
  settings.delaySyncMs = *sync;
  settings.delayDealMs = *deal;
  settings.tables = *tables;
  settings.keepSeats = console.keepSeats;
  settings.turnTimeS = *turnTime;
  return settings;
}

}  // namespace quarn::server
