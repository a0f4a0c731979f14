#include "server/daemon/reset_password.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "core/gbk.h"
#include "server/daemon/open_database.h"
#include "server/password_hash.h"
#include "store/postgres/postgres_database.h"

namespace quarn::server {

namespace {

// Names and passwords travel as GBK, at most 15 bytes (the NUL ends the field).
constexpr std::size_t kLongestText = 15;

struct ResetArgs {
  std::filesystem::path db;
  std::string name;  // as typed (UTF-8)
  bool remove = false;
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "quarnd reset-password: %s\n", message.c_str());
  return 1;
}

// The arguments, or an error text.
std::string Parse(std::span<const std::string_view> args, ResetArgs& out) {
  bool named = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--remove") {
      out.remove = true;
    } else if (arg == "--db" && i + 1 < args.size()) {
      out.db = std::string(args[++i]);
    } else if (arg.starts_with("--db=")) {
      out.db = std::string(arg.substr(5));
    } else if (arg.starts_with("-") || named) {
      return "unexpected '" + std::string(arg) + "'";
    } else {
      out.name = std::string(arg);
      named = true;
    }
  }
  if (out.db.empty()) return "--db FILE is needed";
  if (!named) return "the NAME is needed";
  return {};
}

// The GBK bytes a client sends for `utf8`, or none when GBK cannot hold it
// or it is too long to send.
std::optional<std::string> WireText(const std::string& utf8) {
  std::string gbk = Utf8ToGbk(utf8);
  if (GbkToUtf8(gbk) != utf8 || gbk.size() > kLongestText) return std::nullopt;
  return gbk;
}

// One line of `in` without its line end; none at a read error.
std::optional<std::string> ReadLine(std::FILE* in) {
  std::string line;
  std::array<char, 256> chunk{};
  while (std::fgets(chunk.data(), chunk.size(), in) != nullptr) {
    line += chunk.data();
    if (line.ends_with('\n')) break;
  }
  if (std::ferror(in) != 0) return std::nullopt;
  while (line.ends_with('\n') || line.ends_with('\r')) line.pop_back();
  return line;
}

int Change(store::GameDatabase& database, const ResetArgs& args, const std::string& name,
           std::FILE* in) {
  if (args.remove) {
    switch (database.RemovePasswordHash(name)) {
      case store::AccountWrite::Done:
        std::fprintf(stderr, "quarnd reset-password: '%s' is free\n", args.name.c_str());
        return 0;
      case store::AccountWrite::Refused:
        return Fail("'" + args.name + "' has no password in " + args.db.string());
      case store::AccountWrite::Failed:
        break;
    }
    return Fail("cannot write " + args.db.string() + ": " + database.LastError());
  }
  const auto line = ReadLine(in);
  if (!line) return Fail("cannot read the new password from standard input");
  const auto password = WireText(*line);
  if (!password) return Fail("the password must fit in 15 bytes of GBK, as a client sends it");
  const auto hash = HashPassword(*password, kServerCost);
  if (!hash) return Fail("cannot hash the password (out of memory)");
  if (!database.SetPasswordHash(name, *hash)) {
    return Fail("cannot write " + args.db.string() + ": " + database.LastError());
  }
  std::fprintf(stderr, "quarnd reset-password: '%s' has its new password\n", args.name.c_str());
  return 0;
}

}  // namespace

int RunResetPassword(std::span<const std::string_view> args, std::FILE* in) {
  ResetArgs parsed;
  if (const std::string error = Parse(args, parsed); !error.empty()) {
    return Fail(error + " (usage: quarnd reset-password --db FILE [--remove] NAME)");
  }
  const auto name = WireText(parsed.name);
  if (!name || name->empty()) return Fail("the name must be 1 to 15 bytes of GBK");
  std::error_code error;
  const bool shared = store::IsPostgresUri(parsed.db.string());
  if (!shared && !std::filesystem::is_regular_file(parsed.db, error)) {
    return Fail("no game file " + parsed.db.string());
  }
  auto opened = OpenDatabase(parsed.db.string());
  if (!opened.database) return Fail(opened.error + "; nothing was changed");
  return Change(*opened.database, parsed, *name, in);
}

}  // namespace quarn::server
