#include "tools/dump_games.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "core/gbk.h"
#include "store/sqlite/sqlite_database.h"
#include "store/transcript.h"

namespace quarn::tools {

namespace {

struct Request {
  std::string db;
  std::optional<std::int64_t> game;
  std::optional<std::string> name;  // UTF-8 as typed
  std::int64_t recent = 10;
};

std::optional<std::int64_t> Number(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// An empty error when the arguments make a request.
std::string Parse(int argc, char** argv, Request& request) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view flag = argv[i];
    if (i + 1 >= argc) return std::string(flag) + " needs a value";
    const std::string_view value = argv[++i];
    if (flag == "--db") {
      request.db = value;
    } else if (flag == "--game") {
      request.game = Number(value);
      if (!request.game || *request.game < 1) return "--game needs a game number, 1 or more";
    } else if (flag == "--name") {
      request.name = std::string(value);
    } else if (flag == "--recent") {
      const auto count = Number(value);
      if (!count || *count < 1 || *count > 1000) return "--recent needs a count of 1..1000";
      request.recent = *count;
    } else {
      return "unknown option " + std::string(flag);
    }
  }
  if (request.db.empty()) return "--db needs a file";
  if (request.game.has_value() == request.name.has_value()) return "give --game or --name";
  return {};
}

std::string UtcText(std::int64_t seconds) {
  const auto time = static_cast<std::time_t>(seconds);
  std::tm parts{};
  gmtime_r(&time, &parts);
  std::array<char, 32> text{};
  std::strftime(text.data(), text.size(), "%Y-%m-%d %H:%M:%S", &parts);
  return text.data();
}

std::string NameText(const std::string& gbk) {
  std::string name = GbkToUtf8(gbk);
  for (char& c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || c == ' ') c = '_';
  }
  return name;
}

void PrintRecent(store::SqliteDatabase& db, const std::string& utf8Name, std::int64_t count) {
  const std::string name = Utf8ToGbk(utf8Name);
  std::printf("game  finished (UTC)       table  东 北 西 南 (landlord *)  change\n");
  for (const store::GameSummary& game : db.RecentGames(name, static_cast<std::size_t>(count))) {
    std::string names;
    std::int64_t change = 0;
    for (int seat = 0; seat < store::kSeats; ++seat) {
      names += (seat == game.landlord ? "*" : "") + NameText(game.names[seat]) + " ";
      if (game.names[seat] == name) change = game.scoreChange[seat];
    }
    std::printf("%-5lld %s  %-5d  %s %+lld\n", static_cast<long long>(game.id),
                UtcText(game.finishedAt).c_str(), game.table, names.c_str(),
                static_cast<long long>(change));
  }
}

}  // namespace

bool AsksForGames(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--db") return true;
  }
  return false;
}

int DumpGames(int argc, char** argv) {
  Request request;
  if (const std::string error = Parse(argc, argv, request); !error.empty()) {
    std::fprintf(stderr, "quarn-dump: %s (see --help)\n", error.c_str());
    return 2;
  }
  auto opened = store::SqliteDatabase::Open(request.db, store::SqliteDatabase::Mode::ReadOnly);
  if (!opened.database) {
    std::fprintf(stderr, "quarn-dump: %s\n", opened.error.c_str());
    return 1;
  }
  if (request.name) {
    PrintRecent(*opened.database, *request.name, request.recent);
    return 0;
  }
  const auto game = opened.database->Game(*request.game);
  if (!game) {
    std::fprintf(stderr, "quarn-dump: no game %lld in %s\n", static_cast<long long>(*request.game),
                 request.db.c_str());
    return 1;
  }
  std::fputs(store::Transcript(*game, *request.game).c_str(), stdout);
  return 0;
}

}  // namespace quarn::tools
