// Arbitrary bytes as a settings file. Reading must never fail; once written
// back, the text must read the same again, and a written key must read back.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "client/model/inifile.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using quarn::client::TIniFile;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TIniFile ini;
  ini.Parse(text);
  const std::string once = ini.Text();
  TIniFile again;
  again.Parse(once);
  Require(again.Text() == once);
  for (std::string_view section : {"POKER_PLAYERS", "PLAYER_ICON", "POKER_SERVERS"}) {
    Require(again.ReadSection(section) == ini.ReadSection(section));
  }
  // The first bytes name a key; a writable key must read back what was written.
  const std::string key(text.substr(0, std::min<std::size_t>(size, 6)));
  if (ini.WriteString("POKER_PLAYERS", key, "value")) {
    TIniFile written;
    written.Parse(ini.Text());
    Require(written.ReadString("POKER_PLAYERS", key) == "value");
  }
  return 0;
}
