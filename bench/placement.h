// Which processor each side of a benchmark runs on. A loopback round trip on a
// virtual machine costs a few microseconds when both ends share a processor
// and tens when the other one must be woken, so a floor only compares with a
// game when both pay the same wake-up: quarnd and the echo's server are pinned
// alike, and so are the players and the echo's client.
#pragma once

#include <sched.h>
#include <sys/types.h>

#include <string>

namespace quarn::bench {

struct Placement {
  int serverCpu = -1;   // quarnd, the echo's server; -1: wherever the scheduler likes
  int playersCpu = -1;  // the players' poll loops, the echo's client
  std::string name;     // as the summaries print it
};

// Server and players on different processors, as on different machines.
Placement Apart();
// Both on processor 0: every wake-up is a switch on one processor.
Placement Together();
// True when processors 0 and 1 are both ours to pin to.
bool CanPlaceApart();

// The load average over 1, 5 and 15 minutes, as /proc/loadavg has it.
std::string LoadAverage();
// The processors this program may use and their model, for the summaries.
std::string MachineName();

// Pins a process (0: the calling thread) to `cpu`; nothing for -1.
void PinTo(pid_t pid, int cpu);

// Pins the calling thread for its life, then gives it back its processors.
class PinnedThread {
 public:
  explicit PinnedThread(int cpu);
  ~PinnedThread();
  PinnedThread(const PinnedThread&) = delete;
  PinnedThread& operator=(const PinnedThread&) = delete;

 private:
  cpu_set_t before_{};
  bool pinned_ = false;
};

}  // namespace quarn::bench
