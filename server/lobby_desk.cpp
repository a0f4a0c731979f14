#include "server/lobby_desk.h"

namespace quarn::server {

bool LobbyDesk::Admit(ConnectionId connection, Clock::time_point now) {
  Asks& asks = asks_[connection];
  if (asks.count == 0 || now - asks.since >= kWindow) asks = {now, 0};
  return ++asks.count <= kAsksPerWindow;
}

const std::vector<Packet>& LobbyDesk::Answer(std::int32_t first, Clock::time_point now,
                                             const std::function<std::vector<Packet>()>& build) {
  if (keptFirst_ != first || now - keptAt_ >= kFresh) {
    kept_ = build();
    keptFirst_ = first;
    keptAt_ = now;
  }
  return kept_;
}

}  // namespace quarn::server
