// A host without sockets: records what the server sends and closes, and keeps
// a clock that only the test moves.
#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <set>
#include <string>
#include <vector>

#include "server/host.h"

namespace quarn::server::testing {

struct SentPacket {
  ConnectionId connection;
  std::vector<std::uint8_t> bytes;
};

class FakeHost : public IServerHost {
 public:
  bool Listen(std::uint16_t port) override {
    ++listenCalls;
    if (refuseListen) return false;
    listening = true;
    lastPort = port;
    return true;
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
  std::tm LocalTime() override {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
    std::tm time = start;
    time.tm_sec += static_cast<int>(seconds);
    time.tm_isdst = -1;
    std::mktime(&time);
    return time;
  }
  std::chrono::steady_clock::time_point Monotonic() override {
    return std::chrono::steady_clock::time_point{} + elapsed;
  }
  void Pause(std::chrono::milliseconds duration) override {
    pauses.push_back(duration);
    sent.push_back({kNoConnection, {}});  // marks where the pause fell among the sends
  }

  void Advance(std::chrono::milliseconds step) { elapsed += step; }
  // The sends since the last call, pause marks dropped.
  std::vector<SentPacket> TakeSent() {
    std::vector<SentPacket> out;
    for (SentPacket& packet : sent) {
      if (packet.connection != kNoConnection) out.push_back(std::move(packet));
    }
    sent.clear();
    return out;
  }

  std::tm start = [] {
    std::tm time{};
    time.tm_year = 126;  // 2026-12-20 14:40:34
    time.tm_mon = 11;
    time.tm_mday = 20;
    time.tm_hour = 14;
    time.tm_min = 40;
    time.tm_sec = 34;
    time.tm_isdst = -1;
    std::mktime(&time);
    return time;
  }();
  std::chrono::milliseconds elapsed{0};
  bool listening = false;
  bool refuseListen = false;
  int listenCalls = 0;
  std::uint16_t lastPort = 0;
  int failSends = 0;
  int failedSends = 0;
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
  void StatusChanged(std::string_view text, bool isListening) override {
    status = text;
    listening = isListening;
  }

  std::vector<std::string> log;
  std::vector<std::string> hero;
  int logCleared = 0;
  int heroCleared = 0;
  std::string status;
  bool listening = false;
};

}  // namespace quarn::server::testing
