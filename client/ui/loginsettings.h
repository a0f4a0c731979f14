// The login window's rules without the window: the remembered lists of the
// settings file, the server address and the table number as typed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "client/model/inifile.h"

namespace quarn::client {

inline constexpr std::uint16_t kServerPort = 1073;
inline constexpr std::string_view kSettingsFile = "quarn.ini";

// The three lists of the settings file, UTF-8, newest first. icons[i] is the
// head icon (decimal text) of names[i].
struct LoginLists {
  std::vector<std::string> names;
  std::vector<std::string> icons;
  std::vector<std::string> addresses;
};

// Reads POKER_PLAYERS, PLAYER_ICON and POKER_SERVERS in key order, drops empty
// values, and gives every name an icon ("1" where the icon list is short).
LoginLists LoadLoginLists(const TIniFile& ini);

// A typed (not chosen) name goes to the front with `iconNo`; a typed address likewise.
// Empty texts add nothing.
void AddTypedEntries(LoginLists& lists, std::string_view typedName, int iconNo,
                     std::string_view typedAddress);

// Writes the lists as NAME<i>, ICON<i> and SERVER<i>, last entry first, in GBK.
void WriteLoginLists(TIniFile& ini, const LoginLists& lists);

struct ServerAddress {
  std::string host;  // a numeric address or a host name
  std::uint16_t port = kServerPort;
};

// "host", "host:port" or "[v6]:port"; spaces around are ignored. None for an
// empty host, a host with characters no address has, or a bad port.
std::optional<ServerAddress> ParseServerAddress(std::string_view text);

// The name as it is sent, remembered and shown: without the blanks around it
// (spaces, tabs, full-width spaces), which the settings file would drop anyway.
std::string TrimName(std::string_view utf8Name);

// The table entry as a decimal number; 1 when it is not one.
std::int32_t ParseTableNumber(std::string_view text);

// A head icon number from the icon list's text; none when it is not a decimal number.
std::optional<int> ParseIconNumber(std::string_view text);

}  // namespace quarn::client
