#include "server/login_throttle.h"

#include <algorithm>
#include <cstdint>

namespace quarn::server {

using std::chrono::milliseconds;

milliseconds LoginThrottle::DelayAfter(int failures) {
  if (failures <= kFreeFailures) return milliseconds(0);
  const int doublings = std::min(failures - kFreeFailures - 1, 16);
  const milliseconds delay = kFirstDelay * (std::int64_t{1} << doublings);
  return std::min(delay, kLongestDelay);
}

milliseconds LoginThrottle::TurnOf(const std::string& address, Clock::time_point now) {
  const auto found = addresses_.find(address);
  if (found == addresses_.end()) return milliseconds(0);
  Record& record = found->second;
  if (now - record.lastFailure >= kForgetAfter) {
    addresses_.erase(found);
    return milliseconds(0);
  }
  const milliseconds delay = DelayAfter(record.failures);
  if (delay == milliseconds(0)) return delay;
  const Clock::time_point turn = std::max(now, record.nextTurn);
  record.nextTurn = turn + delay;
  return std::chrono::ceil<milliseconds>(turn - now);
}

void LoginThrottle::Failed(const std::string& address, Clock::time_point now) {
  auto found = addresses_.find(address);
  if (found == addresses_.end()) {
    MakeRoom(now);
    found = addresses_.emplace(address, Record{}).first;
  } else if (now - found->second.lastFailure >= kForgetAfter) {
    found->second = Record{};
  }
  Record& record = found->second;
  record.failures = std::min(record.failures + 1, kFreeFailures + 32);
  record.lastFailure = now;
  record.nextTurn = std::max(record.nextTurn, now + DelayAfter(record.failures));
}

void LoginThrottle::MakeRoom(Clock::time_point now) {
  if (addresses_.size() < kMaxAddresses) return;
  std::erase_if(addresses_, [now](const auto& entry) {
    return now - entry.second.lastFailure >= kForgetAfter;
  });
  if (addresses_.size() < kMaxAddresses) return;
  const auto quietest = std::min_element(
      addresses_.begin(), addresses_.end(),
      [](const auto& a, const auto& b) { return a.second.lastFailure < b.second.lastFailure; });
  addresses_.erase(quietest);
}

}  // namespace quarn::server
