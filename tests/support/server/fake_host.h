// A host without sockets: records sends (timers started as empty marks among
// them) and closes; its clocks move only when the test says so, and timers
// fall due as they move.
#pragma once

#include <algorithm>
#include <chrono>
#include <ctime>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "server/host.h"

namespace quarn::server::testing {

struct SentPacket {
  ConnectionId connection;  // kNoConnection marks a timer started (a pause)
  std::vector<std::uint8_t> bytes;
  std::chrono::milliseconds at{0};  // the fake clock when it was sent
};

class FakeHost : public IServerHost {
 public:
  bool Listen(std::uint16_t) override {
    ++listenCalls;
    listening = !refuseListen;
    return listening;
  }
  void StopListening() override { listening = false; }
  int Send(ConnectionId connection, std::span<const std::uint8_t> bytes) override {
    if (stalled.contains(connection)) return -1;
    if (failSends > 0) {
      --failSends;
      ++failedSends;
      return -1;
    }
    sent.push_back({connection, {bytes.begin(), bytes.end()}, elapsed});
    return static_cast<int>(bytes.size());
  }
  void Close(ConnectionId connection) override { closed.push_back(connection); }
  std::string PeerAddress(ConnectionId connection) override {
    const auto it = addresses.find(connection);
    return it == addresses.end() ? "127.0.0.1" : it->second;
  }
  std::tm LocalTime() override {  // 2026-12-20 14:40:34 plus the elapsed time
    std::tm time{};
    time.tm_year = 126;
    time.tm_mon = 11;
    time.tm_mday = 20;
    time.tm_hour = 14;
    time.tm_min = 40;
    time.tm_sec = 34;
    time.tm_isdst = -1;
    time.tm_sec += static_cast<int>(std::chrono::floor<std::chrono::seconds>(elapsed).count());
    std::mktime(&time);
    return time;
  }
  std::chrono::steady_clock::time_point Monotonic() override {
    return std::chrono::steady_clock::time_point{} + elapsed;
  }
  void StartTimer(TimerId id, std::chrono::milliseconds delay) override {
    timers.push_back({elapsed + delay, id});
    pauses.push_back(delay);
    sent.push_back({kNoConnection, {}, elapsed});
  }

  // Moves the clock by `step`; every timer due on the way goes to `due`, in order.
  void Advance(std::chrono::milliseconds step) {
    const auto until = elapsed + step;
    while (FireNext(until)) {
    }
    elapsed = until;
  }
  // Runs timers, moving the clock to each, until none is left (at most `limit`).
  void RunTimers(int limit = 10000) {
    while (limit-- > 0 && FireNext(std::chrono::milliseconds::max())) {
    }
  }

  // The sends since the last call, without the pause marks.
  std::vector<SentPacket> TakeSent() {
    std::vector<SentPacket> out;
    for (SentPacket& packet : sent) {
      if (packet.connection != kNoConnection) out.push_back(std::move(packet));
    }
    sent.clear();
    return out;
  }

  struct Timer {
    std::chrono::milliseconds at;
    TimerId id;
  };
  // The first timer due by `until` (the first started among equals) to `due`.
  bool FireNext(std::chrono::milliseconds until) {
    const auto next = std::min_element(timers.begin(), timers.end(),
                                       [](const Timer& a, const Timer& b) { return a.at < b.at; });
    if (next == timers.end() || next->at > until) return false;
    const Timer timer = *next;
    timers.erase(next);
    elapsed = std::max(elapsed, timer.at);
    if (due) due(timer.id);
    return true;
  }

  std::function<void(TimerId)> due;  // where timers go (ServerApp::TimerDue)
  std::vector<Timer> timers;         // started, not yet due
  std::chrono::milliseconds elapsed{0};
  bool listening = false, refuseListen = false;
  int listenCalls = 0, failSends = 0, failedSends = 0;
  std::vector<SentPacket> sent;
  std::vector<ConnectionId> closed;
  std::vector<std::chrono::milliseconds> pauses;
  std::map<ConnectionId, std::string> addresses;  // else every connection is 127.0.0.1
  std::set<ConnectionId> stalled;                 // their sends fail, as a full queue's do
};

class FakeView : public IConsoleView {
 public:
  void LogLineAdded(std::string_view line) override { log.emplace_back(line); }
  void HeroLineAdded(std::string_view line) override { hero.emplace_back(line); }
  void LogCleared() override {
    log.clear();
    ++logCleared;
  }
  void HeroCleared() override {
    hero.clear();
    ++heroCleared;
  }
  void StatusChanged(std::string_view text, bool) override { status = text; }

  std::vector<std::string> log, hero;
  int logCleared = 0, heroCleared = 0;
  std::string status;
};

}  // namespace quarn::server::testing
