#include "protocol/proxy_header.h"

#include <arpa/inet.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>
#include <vector>

namespace quarn {
namespace {

constexpr std::string_view kV1Start = "PROXY ";
constexpr std::array<std::uint8_t, 12> kV2Signature = {0x0D, 0x0A, 0x0D, 0x0A, 0x00, 0x0D,
                                                       0x0A, 0x51, 0x55, 0x49, 0x54, 0x0A};
constexpr std::size_t kV2Fixed = 16;

// Whether the bytes so far agree with the start of `pattern`.
template <typename Pattern>
bool Begins(std::span<const std::uint8_t> bytes, const Pattern& pattern) {
  const std::size_t n = std::min(bytes.size(), std::size(pattern));
  return std::equal(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n),
                    std::begin(pattern),
                    [](std::uint8_t a, auto b) { return a == static_cast<std::uint8_t>(b); });
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  while (!line.empty()) {
    const std::size_t space = line.find(' ');
    words.push_back(line.substr(0, space));
    if (space == std::string_view::npos) break;
    line.remove_prefix(space + 1);
  }
  return words;
}

// A decimal port 0..65535 without a sign or a leading zero.
bool Port(std::string_view text) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value <= 65535 &&
         (text.size() == 1 || text[0] != '0');
}

// The address in the canonical text of its family, or empty when it is not one.
std::string Address(int family, std::string_view text) {
  std::array<std::uint8_t, 16> binary{};
  const std::string copy(text);
  if (inet_pton(family, copy.c_str(), binary.data()) != 1) return {};
  std::array<char, INET6_ADDRSTRLEN> out{};
  return inet_ntop(family, binary.data(), out.data(), out.size()) ? out.data() : std::string();
}

ProxyParse ParseV1(std::span<const std::uint8_t> bytes, ProxyHeader& header) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()),
                              std::min(bytes.size(), kMaxProxyV1));
  const std::size_t end = text.find("\r\n");
  // The line holds printable characters only; a lone '\r' may end what came so far.
  std::string_view line = text.substr(0, end);
  if (end == std::string_view::npos && line.ends_with('\r')) line.remove_suffix(1);
  if (!std::all_of(line.begin(), line.end(), [](char c) { return c >= 0x20 && c < 0x7f; })) {
    return ProxyParse::Bad;
  }
  if (end == std::string_view::npos) {
    return bytes.size() < kMaxProxyV1 ? ProxyParse::NeedMore : ProxyParse::Bad;
  }
  const std::vector<std::string_view> words = Words(line);
  header = {end + 2, {}};
  if (words.size() >= 2 && words[1] == "UNKNOWN") return ProxyParse::Done;
  if (words.size() != 6 || (words[1] != "TCP4" && words[1] != "TCP6")) return ProxyParse::Bad;
  const int family = words[1] == "TCP4" ? AF_INET : AF_INET6;
  header.address = Address(family, words[2]);
  const bool ok = !header.address.empty() && !Address(family, words[3]).empty() && Port(words[4]) &&
                  Port(words[5]);
  return ok ? ProxyParse::Done : ProxyParse::Bad;
}

ProxyParse ParseV2(std::span<const std::uint8_t> bytes, ProxyHeader& header) {
  if (bytes.size() < kV2Fixed) return ProxyParse::NeedMore;
  const std::uint8_t version = bytes[12] >> 4;
  const std::uint8_t command = bytes[12] & 0x0F;  // 0 LOCAL, 1 PROXY
  const std::uint8_t family = bytes[13];
  const std::size_t length = (std::size_t{bytes[14]} << 8) | bytes[15];
  if (version != 2 || command > 1 || kV2Fixed + length > kMaxProxyV2) return ProxyParse::Bad;
  if (bytes.size() < kV2Fixed + length) return ProxyParse::NeedMore;
  header = {kV2Fixed + length, {}};
  // A balancer's own connection (LOCAL), or no address given: ours stands.
  if (command == 0 || family == 0x00) return ProxyParse::Done;
  const bool tcp4 = family == 0x11;
  const bool tcp6 = family == 0x21;
  if ((!tcp4 && !tcp6) || length < (tcp4 ? 12u : 36u)) return ProxyParse::Bad;
  std::array<char, INET6_ADDRSTRLEN> out{};
  if (!inet_ntop(tcp4 ? AF_INET : AF_INET6, bytes.data() + kV2Fixed, out.data(), out.size())) {
    return ProxyParse::Bad;
  }
  header.address = out.data();
  return ProxyParse::Done;
}

}  // namespace

ProxyParse ParseProxyHeader(std::span<const std::uint8_t> bytes, ProxyHeader& header) {
  header = {};
  if (bytes.empty()) return ProxyParse::NeedMore;
  if (Begins(bytes, kV2Signature)) {
    return bytes.size() < kV2Signature.size() ? ProxyParse::NeedMore : ParseV2(bytes, header);
  }
  if (Begins(bytes, kV1Start)) {
    return bytes.size() < kV1Start.size() ? ProxyParse::NeedMore : ParseV1(bytes, header);
  }
  return ProxyParse::Bad;
}

}  // namespace quarn
