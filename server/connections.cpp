#include "server/connections.h"

#include <algorithm>

namespace quarn::server {

bool Connections::Add(ConnectionId id, std::chrono::steady_clock::time_point now) {
  if (id == kNoConnection) return false;
  const auto [it, added] = open_.try_emplace(id);
  if (added) it->second.openedAt = now;
  return added;
}

Connection* Connections::Find(ConnectionId id) {
  const auto it = open_.find(id);
  return it == open_.end() ? nullptr : &it->second;
}

std::vector<ConnectionId> Connections::Ids() const {
  std::vector<ConnectionId> ids;
  ids.reserve(open_.size());
  for (const auto& [id, connection] : open_) ids.push_back(id);
  std::sort(ids.begin(), ids.end());
  return ids;
}

}  // namespace quarn::server
