// The story of a watched table, one line per event, from what a watcher is
// sent alone: no seat and no hand, so it keeps the names, the card counts and
// the scores itself. quarn-bot --watch prints it.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "client/assist/narrator.h"
#include "protocol/pcpheadtail.h"

namespace quarn::client {

class WatchNarrator {
 public:
  // The lines `packet` adds to the story.
  std::vector<std::string> Lines(const Packet& packet);
  // The cards each seat holds, as far as the public messages tell.
  const std::array<int, 4>& Counts() const { return counts_; }

 private:
  std::string Who(int seat) const;
  std::string CountsText() const;

  SeatNames names_;
  std::array<int, 4> counts_{};
  std::array<int, 4> scores_{};
  int landlord_ = -1;
};

}  // namespace quarn::client
