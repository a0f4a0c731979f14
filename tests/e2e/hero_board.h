// The hero board files quarnd leaves, read back block by block.
#pragma once

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/gbk.h"
#include "tests/support/child_process.h"

namespace quarn::e2e {

// One hero board block per finished game: a header line, then a line per seat.
struct HeroSeat {
  std::string name;
  std::string seatName;  // 东 北 西 南
  int rounds = 0;
  int score = 0;
};

struct HeroBlock {
  int table = 0;
  std::vector<HeroSeat> seats;
};

// Lines of neither form are returned in `stray`.
inline std::vector<HeroBlock> ParseHeroBoard(const std::string& utf8,
                                             std::vector<std::string>& stray) {
  static const std::regex kHeader(R"(^\*\*\*\*\[Table=(-?\d+)\].*\*\*\*\*$)");
  static const std::regex kSeat(R"(^\[(.*)\]\[坐(.+)\]\[总轮次=(-?\d+)\]\[得分=(-?\d+)\]$)");
  std::vector<HeroBlock> blocks;
  std::istringstream in(utf8);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::smatch match;
    if (line.empty()) continue;
    if (std::regex_match(line, match, kHeader)) {
      blocks.push_back({std::stoi(match[1]), {}});
    } else if (!blocks.empty() && std::regex_match(line, match, kSeat)) {
      blocks.back().seats.push_back({match[1], match[2], std::stoi(match[3]), std::stoi(match[4])});
    } else {
      stray.push_back(line);
    }
  }
  return blocks;
}

// The files of `dir` whose names begin with `prefix`, in name order.
inline std::vector<std::filesystem::path> FilesStartingWith(const std::filesystem::path& dir,
                                                            const std::string& prefix) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().filename().string().starts_with(prefix)) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

inline std::vector<HeroBlock> ReadHeroBoards(const std::filesystem::path& dir) {
  const std::vector<std::filesystem::path> files = FilesStartingWith(dir, "Hero");
  std::vector<HeroBlock> blocks;
  for (const std::filesystem::path& file : files) {
    std::vector<std::string> stray;
    auto more = ParseHeroBoard(GbkToUtf8(test::ReadFile(file)), stray);
    EXPECT_TRUE(stray.empty()) << file << ": " << stray.front();
    blocks.insert(blocks.end(), more.begin(), more.end());
  }
  return blocks;
}

}  // namespace quarn::e2e
