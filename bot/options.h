// Command line of quarn-bot. Qt-free so that it is tested with the strategy.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "ai/decide.h"

namespace quarn::bot {

struct BotOptions {
  std::string host = "127.0.0.1";
  std::uint16_t port = 1073;
  std::string name;        // UTF-8; empty: a name made from the seat
  std::string password;    // UTF-8, sent at login; a kept seat is given back only with it
  int table = 1;           // the table wanted (a server with one table gives table 1)
  int seat = 0;            // the seat wanted, 0..3 (东 北 西 南)
  int games = 0;           // games to finish before leaving; 0: play until the server goes
  bool reconnect = false;  // log in again by itself when the connection drops
  // A decision's time: the strong player searches this long for each play;
  // the basic player pauses this long before each move, and so does the
  // strong one before a bid. 0: every move at once (the strong player then
  // plays the heuristic's choice).
  int thinkMs = 200;
  ai::Level level = ai::Level::Strong;
  bool narrate = false;  // tell the game on standard output, one line per event
  // Watch the table instead of playing (a server with --spectators): its
  // story on standard output, one line per event.
  bool watch = false;
};

struct ParseResult {
  bool ok = false;
  bool helpAsked = false;
  std::string error;  // what was wrong, for the person who typed it
  BotOptions options;
};

// Parses the arguments after the program name.
ParseResult ParseBotOptions(std::span<const std::string_view> args);

// The usage text printed for --help and after an error.
std::string_view BotUsage();

// The name sent at login, in GBK: the given name (cut to 15 bytes at a
// character boundary), or "电脑" followed by the seat number.
std::string LoginNameGbk(const BotOptions& options);

}  // namespace quarn::bot
