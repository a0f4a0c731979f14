// The lobby's front desk: how often one connection may ask for the tables,
// and the answer kept for a moment, so a crowd of askers costs one build.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

#include "protocol/pcpheadtail.h"
#include "server/host.h"

namespace quarn::server {

class LobbyDesk {
 public:
  using Clock = std::chrono::steady_clock;
  // An answer younger than this is sent again as it is.
  static constexpr std::chrono::milliseconds kFresh{1000};
  // A connection may ask kAsksPerWindow times in each kWindow; a window list
  // refreshing every two seconds asks five times.
  static constexpr std::chrono::seconds kWindow{10};
  static constexpr int kAsksPerWindow = 20;

  // False when the connection asked too often: the caller closes it.
  [[nodiscard]] bool Admit(ConnectionId connection, Clock::time_point now);
  void Forget(ConnectionId connection) { asks_.erase(connection); }
  // The answer listing tables from `first` on: the kept one while fresh, else `build`'s.
  const std::vector<Packet>& Answer(std::int32_t first, Clock::time_point now,
                                    const std::function<std::vector<Packet>()>& build);

 private:
  struct Asks {
    Clock::time_point since;
    int count = 0;
  };
  std::unordered_map<ConnectionId, Asks> asks_;
  std::vector<Packet> kept_;
  std::int32_t keptFirst_ = 0;  // 0: nothing kept
  Clock::time_point keptAt_{};
};

}  // namespace quarn::server
