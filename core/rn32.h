// Random numbers and the shuffle for the server's deals.
//
// One process-wide generator (64-bit Mersenne Twister) seeded from the
// operating system's entropy source: a deal cannot be predicted from the
// clock. Every draw is unbiased.
#pragma once

#include <cstdint>
#include <random>
#include <span>

namespace quarn {

// Reseeds the process-wide generator from std::random_device.
void Seed();

// Reseeds the process-wide generator with a fixed value, for repeatable
// deals in tests and replays.
void SeedWith(std::uint64_t seed);

// A uniform integer in 0..n-1 from the process-wide generator; 0 when n <= 0.
int Random(int n);

// A uniform integer in 0..n-1 drawn from `gen` (n >= 1) by rejection, so the
// result does not depend on the standard library's distributions.
std::uint64_t UniformBelow(std::mt19937_64& gen, std::uint64_t n);

// Writes a uniform random order of the card numbers 1..n into out[0..n-1]
// and returns n. Only n = 54 and n = 108 are decks: for any other n, or when
// `out` is shorter than n, returns 0 and writes nothing.
int Shuffle(int n, std::span<std::uint8_t> out);

// The same, drawing from `gen` instead of the process-wide generator.
int Shuffle(int n, std::span<std::uint8_t> out, std::mt19937_64& gen);

}  // namespace quarn
