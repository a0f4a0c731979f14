#include "bot/options.h"

#include <array>
#include <charconv>
#include <limits>

#include "core/gbk.h"

namespace quarn::bot {
namespace {

// The highest table a cluster of servers may run: the last of 1000 tables
// numbered from quarnd's highest --first-table.
constexpr int kHighestTable = 1000999;

bool ParseInt(std::string_view text, long long low, long long high, long long& out) {
  long long value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || text.empty()) return false;
  if (value < low || value > high) return false;
  out = value;
  return true;
}

struct NumberFlag {
  std::string_view flag;
  long long low;
  long long high;
};

// Applies one "--flag value" pair; false with `error` set when it is wrong.
bool ApplyFlag(std::string_view flag, std::string_view value, BotOptions& options,
               std::string& error) {
  if (flag == "--host") {
    if (value.empty()) {
      error = "--host needs a host name or address";
      return false;
    }
    options.host = std::string(value);
    return true;
  }
  if (flag == "--level") {
    if (value != "basic" && value != "strong") {
      error = "--level needs basic or strong, not '" + std::string(value) + "'";
      return false;
    }
    options.level = value == "basic" ? ai::Level::Basic : ai::Level::Strong;
    return true;
  }
  if (flag == "--name") {
    options.name = std::string(value);
    return true;
  }
  if (flag == "--password") {
    options.password = std::string(value);
    return true;
  }
  static constexpr auto kNumbers = std::to_array<NumberFlag>({
      {"--port", 1, 65535},
      {"--seat", 0, 3},
      {"--table", 1, kHighestTable},
      {"--games", 0, std::numeric_limits<int>::max()},
      {"--think", 0, 600000},
  });
  for (const NumberFlag& number : kNumbers) {
    if (flag != number.flag) continue;
    long long parsed = 0;
    if (!ParseInt(value, number.low, number.high, parsed)) {
      error = std::string(flag) + " needs a whole number from " + std::to_string(number.low) +
              " to " + std::to_string(number.high) + ", not '" + std::string(value) + "'";
      return false;
    }
    if (flag == "--port") options.port = static_cast<std::uint16_t>(parsed);
    if (flag == "--seat") options.seat = static_cast<int>(parsed);
    if (flag == "--table") options.table = static_cast<int>(parsed);
    if (flag == "--games") options.games = static_cast<int>(parsed);
    if (flag == "--think") options.thinkMs = static_cast<int>(parsed);
    return true;
  }
  error = "unknown option '" + std::string(flag) + "'";
  return false;
}

}  // namespace

ParseResult ParseBotOptions(std::span<const std::string_view> args) {
  ParseResult result;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view flag = args[i];
    if (flag == "--help" || flag == "-h") {
      result.helpAsked = true;
      return result;
    }
    if (flag == "--narrate") {
      result.options.narrate = true;
      continue;
    }
    if (flag == "--watch") {
      result.options.watch = true;
      continue;
    }
    if (flag == "--reconnect") {
      result.options.reconnect = true;
      continue;
    }
    std::string_view value;
    bool hasValue = false;
    if (const auto eq = flag.find('='); flag.starts_with("--") && eq != std::string_view::npos) {
      value = flag.substr(eq + 1);
      flag = flag.substr(0, eq);
      hasValue = true;
    } else if (i + 1 < args.size()) {
      value = args[++i];
      hasValue = true;
    }
    if (!hasValue) {
      result.error = std::string(flag) + " needs a value";
      return result;
    }
    if (!ApplyFlag(flag, value, result.options, result.error)) return result;
  }
  result.ok = true;
  return result;
}

std::string_view BotUsage() {
  return "usage: quarn-bot [--host H] [--port N] [--name NAME] [--password P] [--table T] "
         "[--seat S] [--games N] [--level L] [--think MS] [--reconnect] [--narrate] [--watch]\n"
         "  --host H       server address (default 127.0.0.1)\n"
         "  --port N       server port (default 1073)\n"
         "  --name NAME    player name, at most 15 bytes in GBK (default 电脑 and the seat)\n"
         "  --password P   password sent at login, at most 15 bytes in GBK (default none)\n"
         "  --table T      table wanted, 1..1000999 (default 1); a server with several tables\n"
         "                 seats the bot at the next free one when T is full\n"
         "  --seat S       seat wanted: 0 东, 1 北, 2 西, 3 南 (default 0)\n"
         "  --games N      leave after N finished games (default 0: keep playing)\n"
         "  --level L      basic (the heuristic player) or strong (searches the unseen\n"
         "                 cards; default)\n"
         "  --think MS     time of each decision in milliseconds: the strong player searches\n"
         "                 so long for a play, the basic one pauses; 0: at once (default 200)\n"
         "  --reconnect    when the connection drops, connect and log in again with the\n"
         "                 same name and password (a server that kept the seat gives it back)\n"
         "  --narrate      tell the game on standard output, one line per event (the\n"
         "                 player's own log goes to standard error)\n"
         "  --watch        watch table T without a seat and tell its games on standard\n"
         "                 output (the server must allow watchers: quarnd --spectators N);\n"
         "                 with --games N it leaves after N games\n"
         "  --version      the version of quarn-bot\n";
}

std::string LoginNameGbk(const BotOptions& options) {
  std::string name =
      options.name.empty() ? "电脑" + std::to_string(options.seat + 1) : options.name;
  std::string gbk = GbkCut(Utf8ToGbk(name), 15);
  // A name of blanks or of nothing the code page knows is still a name; only an
  // empty one is refused by the server, so fall back to the seat's default.
  if (gbk.empty()) gbk = Utf8ToGbk("电脑" + std::to_string(options.seat + 1));
  return gbk;
}

}  // namespace quarn::bot
