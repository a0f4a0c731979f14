// The floor of the round-trip benchmarks: packets of the same size bounced off
// a minimal echo over a plain loopback socket, its server a process of its own
// pinned where quarnd is, its client pinned where the players are, pausing
// between trips as the players pause between a notice and their next play.
#pragma once

#include <chrono>
#include <cstddef>
#include <vector>

#include "bench/placement.h"

namespace quarn::bench {

using Samples = std::vector<std::chrono::nanoseconds>;

struct EchoPlan {
  Placement placement;
  // The pause before each trip, drawn at random from these; none when empty.
  Samples gaps;
  // Sleeping through a pause (a player waiting out its thinking time) or
  // computing through it (a player deciding at once): the two wake the other
  // processor differently on a virtual machine.
  bool sleepThroughGaps = false;
};

struct EchoTrips {
  Samples read;     // from the send to the echo read back
  Samples arrived;  // from the send to the kernel's stamp of the echo's arrival
};

// `count` round trips of a `packetSize`-byte packet, one at a time; empty when
// the loopback socket or the echo process could not be set up.
EchoTrips EchoRoundTrips(std::size_t packetSize, int count, const EchoPlan& plan);

// The p-th percentile (0..100) of the samples, in microseconds; 0 when empty.
double PercentileMicros(Samples samples, double p);

// The mean of the samples, in microseconds; 0 when empty.
double MeanMicros(const Samples& samples);

}  // namespace quarn::bench
