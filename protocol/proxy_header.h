// The PROXY protocol header that a load balancer (HAProxy's send-proxy and
// send-proxy-v2) writes at the start of each connection it passes on: the
// address the player really connects from. Version 1 is one text line,
// version 2 a binary block; both are read strictly, and a header that fits
// neither is refused rather than guessed at.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace quarn {

// Version 1's longest line, and the longest version 2 block we take (its
// addresses and a few TLVs; HAProxy's own are far shorter).
inline constexpr std::size_t kMaxProxyV1 = 107;
inline constexpr std::size_t kMaxProxyV2 = 16 + 512;

enum class ProxyParse : std::uint8_t {
  NeedMore,  // the bytes so far begin a header: wait for the rest
  Done,      // a whole header, described in ProxyHeader
  Bad,       // no header, or a malformed one: close the connection
};

struct ProxyHeader {
  std::size_t length = 0;  // bytes the header takes; the connection's own follow
  // The player's address ("203.0.113.7", "2001:db8::1"); empty when the
  // header names none (a balancer's own check, or an unknown family): the
  // connection's address stands.
  std::string address;
};

// Reads the header at the start of `bytes`.
[[nodiscard]] ProxyParse ParseProxyHeader(std::span<const std::uint8_t> bytes, ProxyHeader& header);

}  // namespace quarn
