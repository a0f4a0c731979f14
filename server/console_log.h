// The console's two running texts, the run log and the hero board, with the
// file stamp that names their files "Log<stamp>" and "Hero<stamp>".
#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "server/host.h"
#include "server/text_board.h"

namespace quarn::server {

class ConsoleLog {
 public:
  ConsoleLog(IServerHost& host, IConsoleView& view, std::filesystem::path fileDir);

  // Takes the file stamp from the clock; never the same stamp twice in a run,
  // so a second save within one second cannot overwrite the first file.
  void TakeStamp();
  const std::string& Stamp() const { return stamp_; }

  // A run log line: "HH:MM:SS" immediately followed by the text.
  void Line(std::string_view text);
  // A tagged run log line: "[tag]text".
  void Tagged(std::string_view tag, std::string_view text);
  // Lines of the hero board (one game's block); the save check follows the block.
  void HeroBlock(std::span<const std::string> lines);

  // Saves both texts under the current stamp; false when a file failed.
  bool SaveBoth();

  const TextBoard& Log() const { return log_; }
  const TextBoard& Hero() const { return hero_; }
  std::string TimeNow() const;

 private:
  // A board that has reached its size is saved, emptied and the stamp renewed.
  void Rotate(TextBoard& board, std::string_view prefix, bool isLog);
  std::filesystem::path FileFor(std::string_view prefix) const;

  IServerHost& host_;
  IConsoleView& view_;
  std::filesystem::path fileDir_;
  std::string stamp_;
  std::optional<std::time_t> lastStampAt_;
  TextBoard log_;
  TextBoard hero_;
};

}  // namespace quarn::server
