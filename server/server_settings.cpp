#include "server/server_settings.h"

#include <charconv>

namespace quarn::server {

namespace {

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool Within(long long value, Limits limits) {
  return value >= limits.low && value <= limits.high;
}

}  // namespace

std::optional<long long> ParseInteger(std::string_view text, Limits limits) {
  text = Trim(text);
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (!Within(value, limits)) return std::nullopt;
  return value;
}

std::optional<std::uint32_t> ParseSetting(std::string_view text, Limits limits) {
  const std::optional<long long> value = ParseInteger(text, limits);
  if (!value || *value < 0 || *value > std::numeric_limits<std::uint32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::uint32_t>(*value);
}

bool InLimits(const ServerSettings& settings) {
  return Within(settings.defaultPoints, kPointsLimits) &&
         Within(settings.delaySyncMs, kDelayLimits) && Within(settings.delayDealMs, kDelayLimits) &&
         Within(settings.tables, kTablesLimits) && Within(settings.turnTimeS, kTurnTimeLimits) &&
         (settings.firstTable == 0 || Within(settings.firstTable, kFirstTableLimits)) &&
         Within(settings.spectators, kSpectatorsLimits);
}

}  // namespace quarn::server
