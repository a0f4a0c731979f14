// A host without sockets: records sends (pauses as empty marks among them) and
// closes; its clocks move only when the test says so.
#pragma once

#include <chrono>
#include <ctime>
#include <string>
#include <vector>

#include "server/host.h"

namespace quarn::server::testing {

struct SentPacket {
  ConnectionId connection;  // kNoConnection marks a pause
  std::vector<std::uint8_t> bytes;
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
    if (failSends > 0) {
      --failSends;
      ++failedSends;
      return -1;
    }
    sent.push_back({connection, {bytes.begin(), bytes.end()}});
    return static_cast<int>(bytes.size());
  }
  void Close(ConnectionId connection) override { closed.push_back(connection); }
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
  void Pause(std::chrono::milliseconds duration) override {
    pauses.push_back(duration);
    sent.push_back({kNoConnection, {}});
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

  std::chrono::milliseconds elapsed{0};
  bool listening = false, refuseListen = false;
  int listenCalls = 0, failSends = 0, failedSends = 0;
  std::vector<SentPacket> sent;
  std::vector<ConnectionId> closed;
  std::vector<std::chrono::milliseconds> pauses;
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
