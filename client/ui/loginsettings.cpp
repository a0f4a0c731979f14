#include "client/ui/loginsettings.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>

#include "core/gbk.h"

namespace quarn::client {
namespace {

constexpr std::string_view kPlayersSection = "POKER_PLAYERS";
constexpr std::string_view kIconSection = "PLAYER_ICON";
constexpr std::string_view kServersSection = "POKER_SERVERS";

std::vector<std::string> ReadList(const TIniFile& ini, std::string_view section) {
  std::vector<std::string> list;
  for (const auto& [key, value] : ini.ReadSection(section)) {
    if (!value.empty()) list.push_back(GbkToUtf8(value));
  }
  return list;
}

void WriteList(TIniFile& ini, std::string_view section, std::string_view prefix,
               const std::vector<std::string>& list) {
  for (std::size_t i = list.size(); i-- > 0;) {
    ini.WriteString(section, std::string(prefix) + std::to_string(i), Utf8ToGbk(list[i]));
  }
  // Keys numbered beyond the list held only empty values or entries that moved
  // down when the empty ones were dropped; left alone they would come back twice.
  for (const auto& [key, value] : ini.ReadSection(section)) {
    std::string_view rest(key);
    if (rest.size() <= prefix.size() || !rest.starts_with(prefix)) continue;
    std::size_t index = 0;
    auto digits = rest.substr(prefix.size());
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    if (ec == std::errc() && end == digits.data() + digits.size() && index >= list.size()) {
      ini.DeleteKey(section, key);
    }
  }
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

template <typename Int>
std::optional<Int> ParseDecimal(std::string_view text) {
  text = Trim(text);
  if (text.starts_with('+')) text.remove_prefix(1);
  Int value{};
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool HostCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '-' || c == '_' || c == ':';
}

}  // namespace

LoginLists LoadLoginLists(const TIniFile& ini) {
  LoginLists lists{ReadList(ini, kPlayersSection), ReadList(ini, kIconSection),
                   ReadList(ini, kServersSection)};
  while (lists.icons.size() < lists.names.size()) lists.icons.emplace_back("1");
  return lists;
}

void AddTypedEntries(LoginLists& lists, std::string_view typedName, int iconNo,
                     std::string_view typedAddress) {
  if (!typedName.empty()) {
    lists.names.insert(lists.names.begin(), std::string(typedName));
    lists.icons.insert(lists.icons.begin(), std::to_string(iconNo));
  }
  if (!typedAddress.empty()) {
    lists.addresses.insert(lists.addresses.begin(), std::string(typedAddress));
  }
}

void WriteLoginLists(TIniFile& ini, const LoginLists& lists) {
  WriteList(ini, kPlayersSection, "NAME", lists.names);
  WriteList(ini, kIconSection, "ICON", lists.icons);
  WriteList(ini, kServersSection, "SERVER", lists.addresses);
}

std::optional<ServerAddress> ParseServerAddress(std::string_view text) {
  text = Trim(text);
  ServerAddress address;
  std::string_view host = text;
  std::optional<std::string_view> port;
  if (text.starts_with('[')) {  // [v6] or [v6]:port
    auto close = text.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    host = text.substr(1, close - 1);
    std::string_view rest = text.substr(close + 1);
    if (!rest.empty()) {
      if (!rest.starts_with(':')) return std::nullopt;
      port = rest.substr(1);
    }
  } else if (std::count(text.begin(), text.end(), ':') == 1) {
    auto colon = text.find(':');
    host = text.substr(0, colon);
    port = text.substr(colon + 1);
  }
  if (host.empty() || !std::all_of(host.begin(), host.end(), HostCharacter)) return std::nullopt;
  if (port) {
    const bool digits =
        !port->empty() && port->size() <= 5 &&
        std::all_of(port->begin(), port->end(), [](char c) { return c >= '0' && c <= '9'; });
    auto number = digits ? ParseDecimal<int>(*port) : std::nullopt;
    if (!number || *number < 1 || *number > std::numeric_limits<std::uint16_t>::max()) {
      return std::nullopt;
    }
    address.port = static_cast<std::uint16_t>(*number);
  }
  address.host = std::string(host);
  return address;
}

std::string TrimName(std::string_view name) {
  static constexpr std::array<std::string_view, 3> kBlanks = {" ", "\t", "\u3000"};
  for (bool trimmed = true; trimmed;) {
    trimmed = false;
    for (std::string_view blank : kBlanks) {
      if (name.starts_with(blank)) name.remove_prefix(blank.size()), trimmed = true;
      if (name.ends_with(blank)) name.remove_suffix(blank.size()), trimmed = true;
    }
  }
  return std::string(name);
}

std::int32_t ParseTableNumber(std::string_view text) {
  return ParseDecimal<std::int32_t>(text).value_or(1);
}

std::optional<int> ParseIconNumber(std::string_view text) {
  return ParseDecimal<int>(text);
}

}  // namespace quarn::client
