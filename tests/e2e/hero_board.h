// The hero board file as the end-to-end tests read it back: one block per
// finished game, a header line and one line per seat.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quarn::e2e {

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

// Parses UTF-8 text (CR LF or LF line ends). Lines that fit neither form are
// returned in `stray`.
std::vector<HeroBlock> ParseHeroBoard(std::string_view utf8, std::vector<std::string>* stray);

}  // namespace quarn::e2e
