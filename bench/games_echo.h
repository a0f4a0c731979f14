// The floor of the round-trip benchmark: the same packet sizes bounced off a
// minimal echo thread over a plain loopback socket.
#pragma once

#include <chrono>
#include <cstddef>
#include <vector>

namespace quarn::bench {

using Samples = std::vector<std::chrono::nanoseconds>;

// `count` round trips of a `packetSize`-byte packet, one at a time; empty when
// the loopback socket could not be set up.
Samples EchoRoundTrips(std::size_t packetSize, int count);

// The p-th percentile (0..100) of the samples, in microseconds; 0 when empty.
double PercentileMicros(Samples samples, double p);

}  // namespace quarn::bench
