// A running text of the console (the run log or the hero board): UTF-8 lines
// in memory, saved as GBK text with CR LF line ends.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quarn::server {

class TextBoard {
 public:
  // A board that has reached this many lines is saved (and then emptied).
  static constexpr std::size_t kSaveAt = 1000;

  void Append(std::string line) { lines_.push_back(std::move(line)); }
  bool Full() const { return lines_.size() >= kSaveAt; }
  void Clear() { lines_.clear(); }
  // Drops the oldest lines beyond `keep`: memory stays bounded when saving fails.
  void KeepNewest(std::size_t keep);
  const std::vector<std::string>& Lines() const { return lines_; }

  // Writes every line, GBK, each followed by CR LF. False when the file cannot be written.
  bool Save(const std::filesystem::path& file) const;

 private:
  std::vector<std::string> lines_;
};

}  // namespace quarn::server
