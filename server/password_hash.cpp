#include "server/password_hash.h"

#include <sodium.h>

#include <array>

namespace quarn::server {

namespace {

// libsodium picks its fastest code paths once; after that it is safe to call.
bool Ready() {
  static const bool ready = sodium_init() >= 0;
  return ready;
}

}  // namespace

PasswordCost CheapCost() {
  return {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};
}

std::optional<std::string> HashPassword(std::string_view password, PasswordCost cost) {
  std::array<char, crypto_pwhash_STRBYTES> text{};
  if (!Ready() || crypto_pwhash_str_alg(text.data(), password.data(), password.size(), cost.passes,
                                        cost.bytes, crypto_pwhash_ALG_ARGON2ID13) != 0) {
    return std::nullopt;
  }
  return std::string(text.data());
}

bool PasswordMatches(std::string_view hash, std::string_view password) {
  // The library reads the hash as a C string within its fixed size.
  std::array<char, crypto_pwhash_STRBYTES> text{};
  if (!Ready() || hash.empty() || hash.size() >= text.size() ||
      hash.find('\0') != std::string_view::npos) {
    return false;
  }
  hash.copy(text.data(), hash.size());
  return crypto_pwhash_str_verify(text.data(), password.data(), password.size()) == 0;
}

}  // namespace quarn::server
