#include "server/console_log.h"

#include <utility>

#include "server/clock_text.h"

namespace quarn::server {

namespace {

// While a board cannot be saved it keeps at most this many lines.
constexpr std::size_t kUnsavedLimit = 4 * TextBoard::kSaveAt;

}  // namespace

ConsoleLog::ConsoleLog(IServerHost& host, IConsoleView& view, std::filesystem::path fileDir)
    : host_(host), view_(view), fileDir_(std::move(fileDir)) {}

void ConsoleLog::TakeStamp() {
  std::tm now = host_.LocalTime();
  now.tm_isdst = -1;
  std::time_t at = std::mktime(&now);
  // Always later than the last stamp, even within the same second.
  if (lastStampAt_ && at <= *lastStampAt_) {
    at = *lastStampAt_ + 1;
    localtime_r(&at, &now);
  }
  lastStampAt_ = at;
  stamp_ = FileStampText(now);
}

std::string ConsoleLog::TimeNow() const {
  return LongTimeText(host_.LocalTime());
}

void ConsoleLog::Line(std::string_view text) {
  std::string line = TimeNow();
  line += text;
  log_.Append(line);
  view_.LogLineAdded(line);
  Rotate(log_, "Log", true);
}

void ConsoleLog::Tagged(std::string_view tag, std::string_view text) {
  std::string line = "[";
  line += tag;
  line += "]";
  line += text;
  Line(line);
}

void ConsoleLog::HeroBlock(std::span<const std::string> lines) {
  for (const std::string& line : lines) {
    hero_.Append(line);
    view_.HeroLineAdded(line);
  }
  Rotate(hero_, "Hero", false);
}

bool ConsoleLog::SaveBoth() {
  const bool logSaved = log_.Save(FileFor("Log"));
  const bool heroSaved = hero_.Save(FileFor("Hero"));
  return logSaved && heroSaved;
}

void ConsoleLog::Rotate(TextBoard& board, std::string_view prefix, bool isLog) {
  if (!board.Full()) return;
  if (!board.Save(FileFor(prefix))) {
    // Kept for the next attempt; never lost silently, never unbounded.
    board.KeepNewest(kUnsavedLimit);
    return;
  }
  TakeStamp();
  board.Clear();
  if (isLog) {
    view_.LogCleared();
  } else {
    view_.HeroCleared();
  }
}

std::filesystem::path ConsoleLog::FileFor(std::string_view prefix) const {
  std::string name(prefix);
  name += stamp_;
  return fileDir_ / name;
}

}  // namespace quarn::server
