#include "server/log_files.h"

#include <cctype>
#include <utility>

#include "server/clock_text.h"

namespace quarn::server {
namespace {

constexpr std::string_view kLogPrefix = "Log";

bool AllDigits(std::string_view text) {
  for (char c : text) {
    if (std::isdigit(static_cast<unsigned char>(c)) == 0) return false;
  }
  return !text.empty();
}

// "Log" and a stamp of either form: the files this server writes, and no other.
bool IsLogFileName(std::string_view name) {
  if (!name.starts_with(kLogPrefix) || !name.ends_with(".txt")) return false;
  name = name.substr(kLogPrefix.size(), name.size() - kLogPrefix.size() - 4);
  if (name.size() < 13 || name[6] != '_') return false;
  if (!AllDigits(name.substr(0, 6)) || !AllDigits(name.substr(7, 6))) return false;
  const std::string_view sequence = name.substr(13);
  return sequence.empty() || (sequence[0] == '_' && AllDigits(sequence.substr(1)));
}

}  // namespace

LogFiles::LogFiles(std::filesystem::path dir, bool numbered, std::size_t keepLogs)
    : dir_(std::move(dir)), numbered_(numbered), keepLogs_(keepLogs) {}

std::string LogFiles::NextStamp(const std::tm& now) {
  std::tm local = now;
  local.tm_isdst = -1;
  const std::time_t at = std::mktime(&local);
  int sequence = numbered_ ? 1 : 0;
  if (lastAt_ == at) sequence = lastSequence_ + 1;
  std::string stamp = FileStampText(now, sequence);
  while (Taken(stamp)) stamp = FileStampText(now, ++sequence);
  lastAt_ = at;
  lastSequence_ = sequence;
  return stamp;
}

std::filesystem::path LogFiles::PathOf(std::string_view prefix, std::string_view stamp) const {
  std::string name(prefix);
  name += stamp;
  return dir_ / name;
}

bool LogFiles::Taken(std::string_view stamp) const {
  std::error_code error;
  return std::filesystem::exists(PathOf(kLogPrefix, stamp), error) ||
         std::filesystem::exists(PathOf("Hero", stamp), error);
}

void LogFiles::ScanFolder() {
  logs_.emplace();
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dir_, error)) {
    const std::string name = entry.path().filename().string();
    if (IsLogFileName(name)) logs_->insert(name);
  }
}

void LogFiles::LogSaved(const std::filesystem::path& file) {
  if (keepLogs_ == 0) return;
  if (!logs_) ScanFolder();
  logs_->insert(file.filename().string());
  while (logs_->size() > keepLogs_) {
    std::error_code ignored;  // a file someone else removed is gone all the same
    std::filesystem::remove(dir_ / *logs_->begin(), ignored);
    logs_->erase(logs_->begin());
  }
}

}  // namespace quarn::server
