// A game database in memory for the service fuzzer: it keeps names and their
// password hashes (games are only counted), and can be told to fail every
// write, as a read-only file or a full disk would.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/game_store.h"

namespace quarn::fuzz {

class MemoryDatabase final : public store::GameDatabase {
 public:
  explicit MemoryDatabase(bool failing = false) : failing_(failing) {}

  [[nodiscard]] bool Write(const store::GameRecord& /*game*/) override {
    games_ += failing_ ? 0 : 1;
    return !failing_;
  }
  [[nodiscard]] bool SetPasswordHash(std::string_view name, std::string_view hash) override {
    if (!failing_) hashes_[std::string(name)] = std::string(hash);
    return !failing_;
  }
  [[nodiscard]] store::AccountWrite AddPasswordHash(std::string_view name,
                                                    std::string_view hash) override {
    if (failing_) return store::AccountWrite::Failed;
    return hashes_.emplace(name, hash).second ? store::AccountWrite::Done
                                              : store::AccountWrite::Refused;
  }
  [[nodiscard]] store::AccountWrite RemovePasswordHash(std::string_view name) override {
    if (failing_) return store::AccountWrite::Failed;
    return hashes_.erase(std::string(name)) > 0 ? store::AccountWrite::Done
                                                : store::AccountWrite::Refused;
  }
  std::string LastError() const override { return failing_ ? "disk full" : ""; }

  std::vector<store::Standing> Top(std::size_t /*count*/) override { return {}; }
  std::optional<store::Standing> StandingOf(std::string_view /*name*/) override {
    return std::nullopt;
  }
  std::int64_t RankOf(const store::Standing& /*line*/) override { return 0; }
  std::vector<store::GameSummary> RecentGames(std::string_view /*name*/,
                                              std::size_t /*count*/) override {
    return {};
  }
  std::optional<store::GameRecord> Game(std::int64_t /*id*/) override { return std::nullopt; }
  std::optional<std::string> PasswordHash(std::string_view name) override {
    const auto found = hashes_.find(std::string(name));
    if (found == hashes_.end()) return std::nullopt;
    return found->second;
  }

 private:
  bool failing_;
  std::int64_t games_ = 0;
  std::map<std::string, std::string, std::less<>> hashes_;
};

}  // namespace quarn::fuzz
