// What the service fuzzer's inputs reach: the messages sent to the server,
// the settings they run under and the phases their tables pass through. With
// QUARN_FUZZ_REACH set, every input tells its items on standard error
// ("reach <item>"), and the process tells once every item there is ("want
// <item>"), read off the message tables and the settings' fields, so that
// fuzz/check_reach.sh finds what none of the kept seeds reaches.
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <span>
#include <string>

#include "server/server_app.h"

namespace quarn::fuzz {

// One setting of the input's first three bytes: (byte >> shift) % modulo,
// the values from `values` up counted as the last.
struct SettingField {
  const char* name;
  int byte;
  int shift;
  int modulo;
  int values;
};

// In the order of kSettingFields.
enum class Setting {
  Bidding,
  Pacing,
  Keep,
  Level,
  Tables,
  Turn,
  Points,
  Accounts,
  Failing,
  Sync,
  Deal,
  Watchers,
  WatcherChat
};

inline constexpr std::array<SettingField, 13> kSettingFields{{
    {"bidding", 0, 0, 2, 2},
    {"pacing", 0, 1, 2, 2},
    {"keep", 0, 2, 2, 2},
    {"level", 0, 3, 4, 3},  // packets, game, quiet (twice)
    {"tables", 0, 5, 3, 3},
    {"turn", 1, 0, 4, 4},
    {"points", 1, 2, 4, 4},
    {"accounts", 1, 4, 2, 2},
    {"failing", 1, 5, 2, 2},
    {"sync", 2, 0, 4, 4},
    {"deal", 2, 2, 4, 4},
    {"watchers", 1, 6, 4, 4},  // 0, 2, 50, 1 with the lobby off
    {"watcher chat", 2, 4, 2, 2},
}};

// The value of `field` in the input's first bytes (0 where they are missing).
int SettingValue(std::span<const std::uint8_t> head, const SettingField& field);
inline int SettingValue(std::span<const std::uint8_t> head, Setting setting) {
  return SettingValue(head, kSettingFields[static_cast<std::size_t>(setting)]);
}

class Reach {
 public:
  // Whether items are told at all: QUARN_FUZZ_REACH is set.
  static bool On();

  void Settings(std::span<const std::uint8_t> head);
  // Bytes given to the server: a whole message counts as its type sent.
  void Delivered(std::span<const std::uint8_t> bytes);
  // The tables' phases, kept seats and the computer's seats, after an event.
  void Tables(const server::ServerApp& app, int games);
  void Add(std::string item) { reached_.insert(std::move(item)); }
  // The input's items, and the first time every item there is.
  void Tell() const;

 private:
  std::set<std::string> reached_;
};

}  // namespace quarn::fuzz
