// The command line of quarnd, the server without a window.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "server/server_app.h"

namespace quarn::server {

struct DaemonOptions {
  std::uint16_t port = kDefaultPort;  // 0: any free port, announced on standard output
  std::string bind = "0.0.0.0";       // the address to listen on
  ServerSettings settings;            // the console's start values unless changed
  std::filesystem::path dir = ".";    // where the "Log" and "Hero" files go
  // The game's lines by default; Log files rotate with numbered stamps.
  RunLogOptions log{.level = LogLevel::Game, .numberedFiles = true, .keepLogs = 0};
  // The web port (page and WebSocket players), off unless set; 0: any free port.
  std::optional<std::uint16_t> webPort;
  std::filesystem::path webRoot;  // the page's files; empty: found beside the binary
  // Where finished games are kept (SQLite); empty: nowhere.
  std::filesystem::path db;
  // Behind a load balancer: connections open with a PROXY header naming the
  // player's address (and the web port trusts X-Forwarded-For).
  bool proxyProtocol = false;
  bool help = false;
};

struct ParsedOptions {
  DaemonOptions options;
  std::string error;  // empty when the command line was understood
};

// Parses the arguments after the program name.
ParsedOptions ParseDaemonOptions(std::span<const std::string_view> args);

// The text of --help.
std::string DaemonUsage();

}  // namespace quarn::server
