// The console's two running texts, the run log and the hero board, with the
// file stamp that names their files "Log<stamp>" and "Hero<stamp>".
#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "server/host.h"
#include "server/log_files.h"
#include "server/text_board.h"

namespace quarn::server {

// What a run log line tells.
enum class LineKind {
  Packet,  // a packet read or sent
  Event,   // the server started or stopped; the diagnostics dump
  Error,   // a card error, a socket error
  Game,    // a login, a leave, a deal, a landlord, a game's end, a refusal worth knowing
  Fault,   // trouble of the server's own, such as a file it could not save
};

// Which lines the run log keeps (in its view and its files).
enum class LogLevel {
  Packets,  // the console's run log: packets, events and errors, no other line
  Game,     // events, the game's lines, errors and faults
  Quiet,    // errors and faults
};

struct RunLogOptions {
  LogLevel level = LogLevel::Packets;
  bool numberedFiles = false;  // every file stamp carries a sequence number
  std::size_t keepLogs = 0;    // the newest Log files kept in the folder; 0: all
};

class ConsoleLog {
 public:
  ConsoleLog(IServerHost& host, IConsoleView& view, std::filesystem::path fileDir,
             RunLogOptions options = {});

  // Takes the file stamp from the clock: a stamp of its own for every save,
  // never ahead of the clock (see LogFiles).
  void TakeStamp();
  const std::string& Stamp() const { return stamp_; }

  // Whether lines of `kind` are kept: a caller may skip making a line that is not.
  bool Wants(LineKind kind) const;
  // A run log line: "HH:MM:SS" immediately followed by the text.
  void Line(LineKind kind, std::string_view text);
  // A tagged run log line: "[tag]text".
  void Tagged(LineKind kind, std::string_view tag, std::string_view text);
  // Lines of the hero board (one game's block); the save check follows the block.
  void HeroBlock(std::span<const std::string> lines);

  // Saves both texts under the current stamp; false when a file failed.
  bool SaveBoth();

  const TextBoard& Log() const { return log_; }
  const TextBoard& Hero() const { return hero_; }
  std::string TimeNow() const;

 private:
  // A board that has reached its size is saved, emptied and the stamp renewed.
  void Rotate(TextBoard& board, std::string_view prefix);
  bool Save(const TextBoard& board, std::string_view prefix);

  IServerHost& host_;
  IConsoleView& view_;
  LogLevel level_;
  LogFiles files_;
  std::string stamp_;
  bool saveFailing_ = false;
  TextBoard log_;
  TextBoard hero_;
};

}  // namespace quarn::server
