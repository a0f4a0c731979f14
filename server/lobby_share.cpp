#include "server/lobby_share.h"

#include <string>

namespace quarn::server {

void LobbyShare::Step(store::TableRange range, const std::vector<store::LobbyEntry>& inUse,
                      Clock::time_point now) {
  if (lastStep_ != Clock::time_point{} && now - lastStep_ < kEvery) return;
  lastStep_ = now;
  Publish(range, inUse, now);
  if (auto read = board_.ReadLobby(range, kMaxAge)) others_ = std::move(*read);
}

void LobbyShare::Publish(store::TableRange range, const std::vector<store::LobbyEntry>& inUse,
                         Clock::time_point now) {
  store::LobbyChange change{range, !known_ || range != range_, {}, {}};
  std::map<std::int32_t, store::LobbyEntry> current;
  for (const store::LobbyEntry& entry : inUse) {
    current.emplace(entry.table, entry);
    const auto before = published_.find(entry.table);
    if (change.whole || before == published_.end() || before->second != entry) {
      change.changed.push_back(entry);
    }
  }
  if (!change.whole) {
    for (const auto& [table, entry] : published_) {
      if (!current.contains(table)) change.gone.push_back(table);
    }
  }
  const bool quiet = change.changed.empty() && change.gone.empty() && !change.whole;
  if (quiet && now - lastPublished_ < kAlive) return;
  if (!board_.PublishLobby(change)) {
    known_ = false;
    if (!failing_) {
      log_("[错误]大厅共享写入失败：数据库没有应答，其他服务器暂时列不出本服务器的桌子");
    }
    failing_ = true;
    return;
  }
  if (failing_) log_("大厅共享写入已恢复");
  failing_ = false;
  known_ = true;
  range_ = range;
  published_ = std::move(current);
  lastPublished_ = now;
}

}  // namespace quarn::server
