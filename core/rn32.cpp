#include "core/rn32.h"

#include <array>
#include <limits>
#include <numeric>

namespace quarn {
namespace {

std::mt19937_64 FreshGenerator() {
  std::random_device device;
  std::seed_seq seeds{device(), device(), device(), device(), device(), device()};
  return std::mt19937_64(seeds);
}

std::mt19937_64& Generator() {
  static std::mt19937_64 gen = FreshGenerator();
  return gen;
}

}  // namespace

void Seed() {
  Generator() = FreshGenerator();
}

void SeedWith(std::uint64_t seed) {
  Generator().seed(seed);
}

std::uint64_t UniformBelow(std::mt19937_64& gen, std::uint64_t n) {
  if (n <= 1) return 0;
  // Drop the top partial block of the 64-bit range so every residue is equally likely.
  const std::uint64_t limit =
      std::numeric_limits<std::uint64_t>::max() - std::numeric_limits<std::uint64_t>::max() % n;
  std::uint64_t x = gen();
  while (x >= limit) x = gen();
  return x % n;
}

int Random(int n) {
  if (n <= 0) return 0;
  return static_cast<int>(UniformBelow(Generator(), static_cast<std::uint64_t>(n)));
}

int Shuffle(int n, std::span<std::uint8_t> out, std::mt19937_64& gen) {
  if (n != 54 && n != 108) return 0;
  if (out.size() < static_cast<std::size_t>(n)) return 0;
  std::array<std::uint8_t, 108> deck{};
  std::iota(deck.begin(), deck.begin() + n, std::uint8_t{1});
  // Fisher-Yates: every order of the n cards is equally likely.
  for (int i = n - 1; i > 0; --i) {
    const auto j = UniformBelow(gen, static_cast<std::uint64_t>(i) + 1);
    std::swap(deck[i], deck[j]);
  }
  std::copy(deck.begin(), deck.begin() + n, out.begin());
  return n;
}

int Shuffle(int n, std::span<std::uint8_t> out) {
  return Shuffle(n, out, Generator());
}

}  // namespace quarn
