#include "server/console_log.h"

#include <utility>

#include "server/clock_text.h"

namespace quarn::server {

namespace {

// While a board cannot be saved it keeps at most this many lines.
constexpr std::size_t kUnsavedLimit = 4 * TextBoard::kSaveAt;

constexpr std::string_view kLogPrefix = "Log";
constexpr std::string_view kHeroPrefix = "Hero";

}  // namespace

ConsoleLog::ConsoleLog(IServerHost& host, IConsoleView& view, std::filesystem::path fileDir,
                       RunLogOptions options)
    : host_(host),
      view_(view),
      level_(options.level),
      files_(std::move(fileDir), options.numberedFiles, options.keepLogs) {}

void ConsoleLog::TakeStamp() {
  stamp_ = files_.NextStamp(host_.LocalTime());
}

std::string ConsoleLog::TimeNow() const {
  return LongTimeText(host_.LocalTime());
}

bool ConsoleLog::Wants(LineKind kind) const {
  switch (level_) {
    case LogLevel::Packets:
      return kind == LineKind::Packet || kind == LineKind::Event || kind == LineKind::Error;
    case LogLevel::Game:
      return kind != LineKind::Packet;
    case LogLevel::Quiet:
      return kind == LineKind::Error || kind == LineKind::Fault;
  }
  return true;
}

void ConsoleLog::Line(LineKind kind, std::string_view text) {
  if (!Wants(kind)) return;
  std::string line = TimeNow();
  line += text;
  view_.LogLineAdded(line);
  log_.Append(std::move(line));
  Rotate(log_, kLogPrefix);
}

void ConsoleLog::Tagged(LineKind kind, std::string_view tag, std::string_view text) {
  if (!Wants(kind)) return;
  std::string line = "[";
  line += tag;
  line += "]";
  line += text;
  Line(kind, line);
}

void ConsoleLog::HeroBlock(std::span<const std::string> lines) {
  for (const std::string& line : lines) {
    view_.HeroLineAdded(line);
    hero_.Append(line);
  }
  Rotate(hero_, kHeroPrefix);
}

bool ConsoleLog::SaveBoth() {
  const bool logSaved = Save(log_, kLogPrefix);
  const bool heroSaved = Save(hero_, kHeroPrefix);
  return logSaved && heroSaved;
}

bool ConsoleLog::Save(const TextBoard& board, std::string_view prefix) {
  const std::filesystem::path file = files_.PathOf(prefix, stamp_);
  if (!board.Save(file)) {
    // Told once until a save succeeds again: every later line retries the save.
    if (!saveFailing_) {
      saveFailing_ = true;
      Line(LineKind::Fault, "无法保存文件" + file.string());
    }
    return false;
  }
  saveFailing_ = false;
  if (prefix == kLogPrefix) files_.LogSaved(file);
  return true;
}

void ConsoleLog::Rotate(TextBoard& board, std::string_view prefix) {
  if (!board.Full()) return;
  if (!Save(board, prefix)) {
    // Kept for the next attempt; never lost silently, never unbounded.
    board.KeepNewest(kUnsavedLimit);
    return;
  }
  TakeStamp();
  board.Clear();
  if (prefix == kLogPrefix) {
    view_.LogCleared();
  } else {
    view_.HeroCleared();
  }
}

}  // namespace quarn::server
