// Slows password guessing from one address without ever sleeping: after a few
// failed logins, each further login from that address waits its turn, spaced
// by a delay that doubles with every failure up to a cap. An address that
// stays quiet long enough is forgotten, and the table of addresses is bounded.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <unordered_map>

namespace quarn::server {

class LoginThrottle {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr int kFreeFailures = 3;
  static constexpr std::chrono::milliseconds kFirstDelay{1000};
  static constexpr std::chrono::milliseconds kLongestDelay{16000};
  static constexpr std::chrono::minutes kForgetAfter{10};
  static constexpr std::size_t kMaxAddresses = 4096;

  // How long a login from `address` must wait before it is looked at (zero:
  // now). A login that has to wait takes the next turn of its address.
  std::chrono::milliseconds TurnOf(const std::string& address, Clock::time_point now);
  // A login from `address` gave a wrong password.
  void Failed(const std::string& address, Clock::time_point now);

  std::size_t Size() const { return addresses_.size(); }
  // The pause between two logins after `failures` failures.
  static std::chrono::milliseconds DelayAfter(int failures);

 private:
  struct Record {
    int failures = 0;
    Clock::time_point lastFailure;
    Clock::time_point nextTurn;  // the earliest moment the next login is looked at
  };
  // Drops the forgotten addresses and, when still full, the one quiet longest.
  void MakeRoom(Clock::time_point now);

  std::unordered_map<std::string, Record> addresses_;
};

}  // namespace quarn::server
