#include "bench/placement.h"

#include <sched.h>

#include <fstream>

namespace quarn::bench {

Placement Apart() {
  return {1, 0, "server on cpu 1, players on cpu 0"};
}
Placement Together() {
  return {0, 0, "server and players on cpu 0"};
}

bool CanPlaceApart() {
  cpu_set_t mine;
  CPU_ZERO(&mine);
  return sched_getaffinity(0, sizeof mine, &mine) == 0 && CPU_ISSET(0, &mine) &&
         CPU_ISSET(1, &mine);
}

std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one, five, fifteen;
  in >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

std::string MachineName() {
  cpu_set_t mine;
  CPU_ZERO(&mine);
  const int count = sched_getaffinity(0, sizeof mine, &mine) == 0 ? CPU_COUNT(&mine) : 0;
  std::ifstream in("/proc/cpuinfo");
  std::string model = "unknown model";
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("model name")) {
      model = line.substr(line.find(':') + 2);
      break;
    }
  }
  return std::to_string(count) + " x " + model;
}

void PinTo(pid_t pid, int cpu) {
  if (cpu < 0) return;
  cpu_set_t one;
  CPU_ZERO(&one);
  CPU_SET(cpu, &one);
  sched_setaffinity(pid, sizeof one, &one);
}

PinnedThread::PinnedThread(int cpu) {
  if (cpu < 0 || sched_getaffinity(0, sizeof before_, &before_) != 0) return;
  PinTo(0, cpu);
  pinned_ = true;
}

PinnedThread::~PinnedThread() {
  if (pinned_) sched_setaffinity(0, sizeof before_, &before_);
}

}  // namespace quarn::bench
