#include "server/daemon/options.h"

#include <limits>
#include <optional>
#include <utility>

#include "server/server_settings.h"

namespace quarn::server {
namespace {

// Walks the arguments; an option's value may follow it or be joined with '='.
class ArgReader {
 public:
  explicit ArgReader(std::span<const std::string_view> args) : args_(args) {}
  bool Done() const { return index_ >= args_.size(); }

  // The next option's name; a joined "=value" is kept for Value().
  std::string_view NextName() {
    std::string_view arg = args_[index_++];
    joined_.reset();
    if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
      joined_ = arg.substr(eq + 1);
      arg = arg.substr(0, eq);
    }
    return arg;
  }
  std::optional<std::string_view> Value() {
    if (joined_) return std::exchange(joined_, std::nullopt);
    if (Done()) return std::nullopt;
    return args_[index_++];
  }
  bool HasJoinedValue() const { return joined_.has_value(); }

 private:
  std::span<const std::string_view> args_;
  std::size_t index_ = 0;
  std::optional<std::string_view> joined_;
};

constexpr Limits kKeepLogsLimits{0, std::numeric_limits<std::int32_t>::max()};
constexpr Limits kPortLimits{0, 65535};

std::string Quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

// Reads a numeric option's value into `out`; an error text otherwise.
template <typename Number>
std::string TakeNumber(ArgReader& reader, std::string_view name, Limits limits, Number& out) {
  const auto value = reader.Value();
  if (!value) return std::string(name) + " needs a value";
  const auto number = ParseInteger(*value, limits);
  if (!number) {
    return std::string(name) + ": " + Quoted(*value) + " is not a whole number from " +
           std::to_string(limits.low) + " to " + std::to_string(limits.high);
  }
  out = static_cast<Number>(*number);
  return {};
}

std::string TakeLevel(ArgReader& reader, LogLevel& level) {
  const auto value = reader.Value();
  if (value == "packets") {
    level = LogLevel::Packets;
  } else if (value == "game") {
    level = LogLevel::Game;
  } else if (value == "quiet") {
    level = LogLevel::Quiet;
  } else {
    return value ? "--log: " + Quoted(*value) + " is not packets, game or quiet"
                 : "--log needs a value";
  }
  return {};
}

std::string TakeFlag(ArgReader& reader, std::string_view name, bool& flag, bool value) {
  if (reader.HasJoinedValue()) return std::string(name) + " takes no value";
  flag = value;
  return {};
}

std::string TakeOne(ArgReader& reader, DaemonOptions& options) {
  const std::string_view name = reader.NextName();
  ServerSettings& settings = options.settings;
  if (name == "--help" || name == "-h") return TakeFlag(reader, name, options.help, true);
  if (name == "--bid") return TakeFlag(reader, name, settings.allowBid, true);
  if (name == "--rand-each-game") return TakeFlag(reader, name, settings.randEachGame, true);
  if (name == "--no-delay") return TakeFlag(reader, name, settings.allowDelay, false);
  if (name == "--points") return TakeNumber(reader, name, kPointsLimits, settings.defaultPoints);
  if (name == "--delay-sync") return TakeNumber(reader, name, kDelayLimits, settings.delaySyncMs);
  if (name == "--delay-deal") return TakeNumber(reader, name, kDelayLimits, settings.delayDealMs);
  if (name == "--tables") return TakeNumber(reader, name, kTablesLimits, settings.tables);
  if (name == "--first-table") {
    return TakeNumber(reader, name, kFirstTableLimits, settings.firstTable);
  }
  if (name == "--keep-logs") return TakeNumber(reader, name, kKeepLogsLimits, options.log.keepLogs);
  if (name == "--log") return TakeLevel(reader, options.log.level);
  if (name == "--keep-seats") return TakeFlag(reader, name, settings.keepSeats, true);
  if (name == "--accounts") return TakeFlag(reader, name, settings.accounts, true);
  if (name == "--turn-time") return TakeNumber(reader, name, kTurnTimeLimits, settings.turnTimeS);
  if (name == "--spectators") {
    return TakeNumber(reader, name, kSpectatorsLimits, settings.spectators);
  }
  if (name == "--no-lobby") return TakeFlag(reader, name, settings.lobby, false);
  if (name == "--spectator-chat") return TakeFlag(reader, name, settings.spectatorChat, true);
  if (name == "--proxy-protocol") return TakeFlag(reader, name, options.proxyProtocol, true);
  if (name == "--port") return TakeNumber(reader, name, kPortLimits, options.port);
  if (name == "--web") {
    std::uint16_t port = 0;
    std::string error = TakeNumber(reader, name, kPortLimits, port);
    if (error.empty()) options.webPort = port;
    return error;
  }
  if (name == "--bind" || name == "--dir" || name == "--web-root" || name == "--db") {
    const auto value = reader.Value();
    if (!value || value->empty()) return std::string(name) + " needs a value";
    if (name == "--bind") {
      options.bind = std::string(*value);
    } else if (name == "--web-root") {
      options.webRoot = std::filesystem::path(std::string(*value));
    } else if (name == "--db") {
      options.db = std::filesystem::path(std::string(*value));
    } else {
      options.dir = std::filesystem::path(std::string(*value));
    }
    return {};
  }
  return "unknown option " + Quoted(name);
}

}  // namespace

ParsedOptions ParseDaemonOptions(std::span<const std::string_view> args) {
  ParsedOptions parsed;
  ArgReader reader(args);
  while (!reader.Done() && parsed.error.empty()) parsed.error = TakeOne(reader, parsed.options);
  if (parsed.error.empty() && parsed.options.settings.accounts && parsed.options.db.empty()) {
    parsed.error = "--accounts needs --db FILE: the names and their password hashes are kept there";
  }
  return parsed;
}

std::string DaemonUsage() {
  return "Usage: quarnd [options]\n"
         "       quarnd reset-password --db FILE [--remove] NAME\n"
         "The Quarn game server without a window: it listens at once, prints its run log\n"
         "to standard output and saves the Log and Hero files on SIGINT or SIGTERM.\n"
         "\n"
         "  --port N           TCP port to listen on (default 1073). With 0 the system picks\n"
         "                     a free port; either way, once listening, a line\n"
         "                     'listening on port N' is printed to standard output.\n"
         "  --bind ADDR        address to listen on (default 0.0.0.0, every address)\n"
         "  --web PORT         also serve the browser page on PORT: its files over HTTP\n"
         "                     and players over WebSocket at /ws (default: off). With 0\n"
         "                     the system picks a port; a line 'web port N' tells it\n"
         "  --web-root DIR     the page's files (default: web/ beside quarnd, else the\n"
         "                     installed share/quarn/web)\n"
         "  --bid              let the players bid for the landlord (default off)\n"
         "  --points N         points of a game without bidding (default 10)\n"
         "  --rand-each-game   reseed the random generator before every deal\n"
         "  --no-delay         no pacing pauses between packets\n"
         "  --delay-sync MS    pause before a seat list, 0..60000 ms (default 200)\n"
         "  --delay-deal MS    pause after each dealing step, 0..60000 ms (default 500)\n"
         "  --tables N         tables of four, 1..1000 (default 1); a login gets the table it\n"
         "                     asks for while it has a free seat, else the lowest free one\n"
         "  --first-table N    number the tables N .. N+tables-1, 1..1000000, and refuse a\n"
         "                     login that names any other table (for several servers\n"
         "                     behind one router, each with its own range; default: tables\n"
         "                     from 1, and a login naming another table gets a free one)\n"
         "  --keep-seats       a player whose connection is lost keeps the seat until the\n"
         "                     game ends: the computer plays it, and the player may log in\n"
         "                     again (same name and password) and play on (default off)\n"
         "  --turn-time S      seconds for each bid or play, 0..3600; when they run out the\n"
         "                     computer makes that move, and after two in a row it plays the\n"
         "                     seat until its player acts again (default 0: no limit)\n"
         "  --spectators N     watchers each table may have, 0..200: they see what every\n"
         "                     seat sees in public, never a hand, and cannot play or chat\n"
         "                     (default 0: nobody watches)\n"
         "  --spectator-chat   watchers may chat: a watcher's line reaches the table's\n"
         "                     players and watchers, marked with its name (default off)\n"
         "  --no-lobby         do not answer a client's request for the tables in use\n"
         "                     (default: answered, at most once a second per answer)\n"
         "  --proxy-protocol   behind a load balancer such as HAProxy (send-proxy or\n"
         "                     send-proxy-v2): every connection must open with a PROXY\n"
         "                     protocol header, version 1 or 2, and the player's address\n"
         "                     in it counts for the limits by address and kept seats; one\n"
         "                     without a valid header within the login time is closed\n"
         "                     and logged. The web port then takes the player's address\n"
         "                     from X-Forwarded-For (default off: the peer's address)\n"
         "  --dir DIR          folder of the Log and Hero files (default: current folder;\n"
         "                     made when missing); a Log file holds 1000 lines\n"
         "  --db FILE|URI      keep every finished game in this SQLite file (made when\n"
         "                     missing), written before the next deal: standings and\n"
         "                     replays come from it. A file of a newer version, a damaged\n"
         "                     file or one another server holds stops quarnd with status 1\n"
         "                     (default: games are not kept). A postgresql://... URI\n"
         "                     names a PostgreSQL database instead, which several\n"
         "                     servers may share (standings and accounts one for all);\n"
         "                     while it is away, finished games are held in memory\n"
         "                     and written when it is back\n"
         "  --accounts         names belong to their players (needs --db): the first login\n"
         "                     under a name registers it with its password (kept only as\n"
         "                     an Argon2id hash); later logins under it need the same\n"
         "                     password, else they are refused, and repeated failures\n"
         "                     from one address are slowed (default off: names are not\n"
         "                     unique and passwords are never compared)\n"
         "  --log LEVEL        what the run log holds (default game):\n"
         "                       packets  every packet read and sent, as QuarnServer logs\n"
         "                       game     logins, leaves, deals, landlords, game ends,\n"
         "                                refusals worth knowing, errors\n"
         "                       quiet    errors only\n"
         "  --keep-logs N      keep the newest N Log files in the folder (default 0: all)\n"
         "  --version          the version of quarnd\n"
         "  --help             this text\n"
         "\n"
         "\n"
         "reset-password: with the server stopped (with PostgreSQL, servers may run: they\n"
         "read the password at each login), gives NAME in the --db FILE the\n"
         "password read from standard input (one line), or with --remove frees the name\n"
         "for whoever logs in under it next. A running server holding the file is told\n"
         "of, and nothing changes.\n"
         "\n"
         "Exit status: 0 after a signal, 1 for a bad option, a port that cannot be opened\n"
         "or a game file that cannot be used.\n";
}

}  // namespace quarn::server
