#include "server/text_board.h"

#include <fstream>

#include "core/gbk.h"

namespace quarn::server {

void TextBoard::KeepNewest(std::size_t keep) {
  if (lines_.size() <= keep) return;
  lines_.erase(lines_.begin(), lines_.end() - static_cast<std::ptrdiff_t>(keep));
}

bool TextBoard::Save(const std::filesystem::path& file) const {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  // One conversion and one write for the whole board: a board is saved every
  // thousand lines, and line by line the conversion cost more than the lines.
  std::string text;
  for (const std::string& line : lines_) {
    text += line;
    text += "\r\n";
  }
  out << Utf8ToGbk(text);
  out.flush();
  return static_cast<bool>(out);
}

}  // namespace quarn::server
