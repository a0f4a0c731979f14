#include "server/scheduler.h"

#include <utility>

namespace quarn::server {

TimerId Scheduler::After(std::chrono::milliseconds delay, Step step) {
  const TimerId id = ++last_;
  steps_.emplace(id, std::move(step));
  host_.StartTimer(id, delay);
  return id;
}

bool Scheduler::Fire(TimerId id) {
  const auto it = steps_.find(id);
  if (it == steps_.end()) return false;
  // Out of the table first: the step may schedule the next one.
  Step step = std::move(it->second);
  steps_.erase(it);
  step();
  return true;
}

}  // namespace quarn::server
