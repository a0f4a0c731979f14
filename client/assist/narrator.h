// A readable account of a game for a terminal, one line per event: the deal,
// each bid, the landlord and the points, every play and pass by seat and
// name with its cards written as ranks, the winner and the scores. It reads
// what one seat receives, so any player at the table can tell the story.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "client/model/table_state.h"
#include "protocol/pcpgame.h"
#include "protocol/pcpheadtail.h"

namespace quarn::client {

// The names a narrator keeps (UTF-8): a seat that left is already cleared in the table.
using SeatNames = std::array<std::string, 4>;

class Narrator {
 public:
  // The lines `packet` adds; `table` has already taken the packet in.
  std::vector<std::string> Lines(const TClientTable& table, const Packet& packet);

 private:
  std::string Who(int seat) const;
  void NoteBid(std::vector<std::string>& lines, int points);

  SeatNames names_;
  std::array<int, 4> scores_{};
  int bidder_ = -1;  // the seat asked to bid last; -1 outside the bidding
  int highBid_ = 0;
};

// "3 3 4 4 小王": card numbers written as ranks, in the order given.
std::string RanksText(const std::vector<std::uint8_t>& cards);

// The pieces both narrators tell alike.
// "东 名字", the seat alone when nobody is named there, "?" for no seat.
std::string SeatWho(const SeatNames& names, int seat);
// A game's end ("赢家：…", "得分：东 名字 +30（共 30），…"; `scores` move on to the
// new totals) or a leave ("东 名字 离开"; the name is forgotten) added to `lines`.
void TellEndOrLeave(const Packet& packet, SeatNames& names, std::array<int, 4>& scores,
                    std::vector<std::string>& lines);

}  // namespace quarn::client
