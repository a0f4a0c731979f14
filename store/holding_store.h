// The store the server uses: every game goes to the database at once; when a
// write fails (read-only file, full disk, a lock held elsewhere) the game is
// held in memory and written at the next moment the database takes it, in
// order. Held games are bounded: past the limit the oldest is dropped and
// counted. Failures reach the run log at most once a minute.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "store/game_store.h"

namespace quarn::store {

class HoldingStore final : public GameStore {
 public:
  using Log = std::function<void(std::string_view)>;
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  static constexpr std::size_t kHeldLimit = 10000;
  static constexpr std::chrono::minutes kLogEvery{1};

  HoldingStore(GameDatabase& database, Log log, Clock clock, std::size_t heldLimit = kHeldLimit);

  void Save(const GameRecord& game) override;
  void Retry() override;
  [[nodiscard]] bool SetPasswordHash(std::string_view name, std::string_view hash) override;
  [[nodiscard]] AccountWrite AddPasswordHash(std::string_view name, std::string_view hash) override;

  std::vector<Standing> Top(std::size_t count) override { return database_.Top(count); }
  std::optional<Standing> StandingOf(std::string_view name) override {
    return database_.StandingOf(name);
  }
  std::int64_t RankOf(const Standing& line) override { return database_.RankOf(line); }
  std::vector<GameSummary> RecentGames(std::string_view name, std::size_t count) override {
    return database_.RecentGames(name, count);
  }
  std::optional<GameRecord> Game(std::int64_t id) override { return database_.Game(id); }
  std::optional<std::string> PasswordHash(std::string_view name) override {
    return database_.PasswordHash(name);
  }

  std::size_t Held() const { return held_.size(); }
  std::uint64_t Lost() const { return lost_; }

 private:
  void Flush();
  void ReportFailure();

  GameDatabase& database_;
  Log log_;
  Clock clock_;
  std::size_t heldLimit_;
  std::deque<GameRecord> held_;
  std::uint64_t lost_ = 0;         // dropped since the failure began
  std::uint64_t writtenLate_ = 0;  // written after being held
  bool failing_ = false;
  std::optional<std::chrono::steady_clock::time_point> lastLogged_;
};

}  // namespace quarn::store
