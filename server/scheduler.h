// Steps the server runs later instead of waiting: each is a callback that comes
// back through the host's timer (IServerHost::StartTimer, ServerApp::TimerDue).
#pragma once

#include <chrono>
#include <functional>
#include <unordered_map>

#include "server/host.h"

namespace quarn::server {

class Scheduler {
 public:
  using Step = std::function<void()>;

  explicit Scheduler(IServerHost& host) : host_(host) {}
  Scheduler(const Scheduler&) = delete;
  Scheduler& operator=(const Scheduler&) = delete;

  // Runs `step` once, `delay` from now; never before this call has returned.
  TimerId After(std::chrono::milliseconds delay, Step step);
  // Forgets a step that has not run; its timer will find nothing. Unknown ids are ignored.
  void Cancel(TimerId id) { steps_.erase(id); }
  // The timer of `id` is due: runs its step, once. False when nothing waited on it.
  bool Fire(TimerId id);
  std::size_t Pending() const { return steps_.size(); }
  // The host's monotonic clock.
  std::chrono::steady_clock::time_point Now() const { return host_.Monotonic(); }

 private:
  IServerHost& host_;
  TimerId last_ = kNoTimer;
  std::unordered_map<TimerId, Step> steps_;
};

}  // namespace quarn::server
