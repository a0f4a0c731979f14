// Whole games over loopback for the benchmarks: a quarnd process and four
// computer players driven in this process from one poll loop, so that the
// time between a PlayCards and its PlayNotice is measured without a second
// event loop in the way.
#pragma once

#include <sys/types.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "bench/games_echo.h"
#include "bench/placement.h"

namespace quarn::bench {

// quarnd on a free loopback port with the given extra arguments, pinned to
// `cpu` (-1: not pinned); killed when this goes away. Its run log goes to
// /dev/null, its files to a temporary folder.
class ServerProcess {
 public:
  explicit ServerProcess(const std::vector<std::string>& extraArgs, int cpu = -1);
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  bool Running() const { return port_ != 0; }
  std::uint16_t Port() const { return port_; }
  // The processor time quarnd has used so far (user and system), a measure of
  // its work that the machine's load disturbs less than the round trips.
  std::chrono::nanoseconds CpuTime() const;
  pid_t Pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  std::uint16_t port_ = 0;
  std::string dir_;  // its Log and Hero files, removed afterwards
};

struct GameRun {
  int games = 0;           // games every player saw to the end
  int refusals = 0;        // plays or bids the server left unanswered
  Samples playRoundTrips;  // PlayCards written to its PlayNotice read, per play
  // The same by the seat that played: the server sends a notice to the seats
  // in order 0..3, so a seat's own notice waits behind those of lower seats.
  std::array<Samples, 4> bySeat;
  // From the driver's last read to each PlayCards written: the players'
  // deciding, while the server waits; the echo's client pauses as long.
  Samples gaps;
  std::chrono::nanoseconds elapsed{};
  std::chrono::nanoseconds serverCpu{};  // quarnd's processor time for the games
  std::string error;                     // empty when the run went to the end
};

// Four players log in and play `games` games (bids as the server runs them),
// driven from the calling thread pinned to `playersCpu` (-1: not pinned).
GameRun PlayGames(std::uint16_t port, int games, int playersCpu = -1);

// The folder of this program, where quarnd is built too.
std::string ProgramFolder();

}  // namespace quarn::bench
