// The names of the saved run log and hero board files, and how many Log files
// a folder keeps.
//
// A stamp is the clock's "yymmdd_hhnnss" and ".txt". A stamp that was used
// already in the same second, or whose Log or Hero file exists, gets a
// sequence number instead: "yymmdd_hhnnss_001.txt", "_002", ... So two saves
// in one second never overwrite each other and no stamp runs ahead of the
// clock. Numbered stamps (the daemon's rotation) carry a number always, so
// that every name of a run has one form and sorts by time.
#pragma once

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace quarn::server {

class LogFiles {
 public:
  // `keepLogs` 0 keeps every Log file.
  LogFiles(std::filesystem::path dir, bool numbered, std::size_t keepLogs);

  // A stamp for the local time `now` that names no file of this run or of the folder.
  std::string NextStamp(const std::tm& now);
  std::filesystem::path PathOf(std::string_view prefix, std::string_view stamp) const;
  // A Log file was saved: beyond `keepLogs` of them in the folder, the oldest are removed.
  void LogSaved(const std::filesystem::path& file);

 private:
  bool Taken(std::string_view stamp) const;
  void ScanFolder();

  std::filesystem::path dir_;
  bool numbered_;
  std::size_t keepLogs_;
  std::optional<std::time_t> lastAt_;
  int lastSequence_ = 0;
  std::optional<std::set<std::string>> logs_;  // Log file names in the folder, oldest first
};

}  // namespace quarn::server
