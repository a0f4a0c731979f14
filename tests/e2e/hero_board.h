// The hero board files quarnd leaves, read back block by block.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "core/gbk.h"
#include "tests/support/files.h"

namespace quarn::e2e {

struct HeroSeat {
  std::string name;
  std::string seatName;  // 东 北 西 南
  int rounds = 0;
  int score = 0;
};

// One block per finished game: a header line, then a line per seat.
struct HeroBlock {
  int table = 0;
  std::vector<HeroSeat> seats;
};

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

// Every block of every Hero file; a line of neither form fails the test.
inline std::vector<HeroBlock> ReadHeroBoards(const std::filesystem::path& dir) {
  static const std::regex kHeader(R"(^\*\*\*\*\[Table=(-?\d+)\].*\*\*\*\*\r?$)");
  static const std::regex kSeat(R"(^\[(.*)\]\[坐(.+)\]\[总轮次=(-?\d+)\]\[得分=(-?\d+)\]\r?$)");
  std::vector<HeroBlock> blocks;
  for (const std::filesystem::path& file : FilesStartingWith(dir, "Hero")) {
    std::istringstream in(GbkToUtf8(test::ReadFile(file)));
    for (std::string line; std::getline(in, line);) {
      std::smatch match;
      if (line.empty() || line == "\r") continue;
      if (std::regex_match(line, match, kHeader)) {
        blocks.push_back({std::stoi(match[1]), {}});
      } else if (!blocks.empty() && std::regex_match(line, match, kSeat)) {
        blocks.back().seats.push_back(
            {match[1], match[2], std::stoi(match[3]), std::stoi(match[4])});
      } else {
        ADD_FAILURE() << file << ": " << line;
      }
    }
  }
  return blocks;
}

}  // namespace quarn::e2e
