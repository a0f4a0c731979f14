#include "tests/e2e/hero_board.h"

#include <regex>
#include <sstream>

namespace quarn::e2e {

std::vector<HeroBlock> ParseHeroBoard(std::string_view utf8, std::vector<std::string>* stray) {
  static const std::regex kHeader(R"(^\*\*\*\*\[Table=(-?\d+)\].*\*\*\*\*$)");
  static const std::regex kSeat(R"(^\[(.*)\]\[坐(.+)\]\[总轮次=(-?\d+)\]\[得分=(-?\d+)\]$)");
  std::vector<HeroBlock> blocks;
  std::istringstream in{std::string(utf8)};
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    std::smatch match;
    if (std::regex_match(line, match, kHeader)) {
      blocks.push_back({std::stoi(match[1]), {}});
    } else if (!blocks.empty() && std::regex_match(line, match, kSeat)) {
      blocks.back().seats.push_back({match[1], match[2], std::stoi(match[3]), std::stoi(match[4])});
    } else if (stray) {
      stray->push_back(line);
    }
  }
  return blocks;
}

}  // namespace quarn::e2e
