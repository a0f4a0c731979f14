// Passwords of names that belong to their players: stored only as Argon2id
// hashes (libsodium), each with its own salt and its cost written inside it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quarn::server {

// What one hash costs: passes over memory and the memory itself.
struct PasswordCost {
  unsigned long long passes = 0;
  std::size_t bytes = 0;
};

// The server runs on one thread and every table waits while a hash runs: two
// passes over 8 MiB stay memory-hard and take about 15 ms on a 2-core
// machine (30 ms under load; see the README).
inline constexpr PasswordCost kServerCost{2, std::size_t{8} << 20};
// The least libsodium allows, for tests and the fuzzer only: about 0.1 ms.
PasswordCost CheapCost();

// The hash of `password` in libsodium's text form, or none when it could not
// be made (no memory).
[[nodiscard]] std::optional<std::string> HashPassword(std::string_view password, PasswordCost cost);
// Whether `password` is the one `hash` was made from; a malformed hash matches nothing.
[[nodiscard]] bool PasswordMatches(std::string_view hash, std::string_view password);

}  // namespace quarn::server
