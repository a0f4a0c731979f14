// The PROXY header, both versions, as HAProxy writes them and mangled; cut
// anywhere, a whole one waits for its rest and is never taken for a bad one.
#include <gtest/gtest.h>

#include <string>

#include "protocol/proxy_header.h"

namespace quarn {
namespace {

using namespace std::string_literals;

const std::string kV2 = "\r\n\r\n\0\r\nQUIT\n"s;

struct Case {  // bad unless it has a length: a whole header of that many bytes
  const char* what;
  std::string bytes;
  std::string address{};
  std::size_t length = 0;
};

std::span<const std::uint8_t> Span(const std::string& bytes) {
  return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

TEST(ProxyHeader, ReadsBothVersionsStrictly) {
  const std::string v1 = "PROXY TCP4 203.0.113.7 127.0.0.1 51000 1073\r\n";
  const std::string tcp4 =
      kV2 + "\x21\x11\x00\x0C"s + "\xCB\x00\x71\x07\x7F\x00\x00\x01"s + "\xC7\x38\x04\x31"s;
  const std::string tcp6 = kV2 + "\x21\x21\x00\x24"s + "\x20\x01\x0d\xb8"s + std::string(11, 0) +
                           "\x01"s + std::string(16, 0) + "\x00\x01\x04\x31"s;
  const std::vector<Case> cases = {
      {"v1 TCP4, then the login", v1 + "\xCE\xF1", "203.0.113.7", v1.size()},
      {"v1 TCP6", "PROXY TCP6 2001:db8::1 ::1 1 65535\r\n", "2001:db8::1", 36},
      {"v1 UNKNOWN", "PROXY UNKNOWN\r\n", "", 15},
      {"v2 TCP4 with a TLV", tcp4.substr(0, 15) + "\x0F"s + tcp4.substr(16) + "\x04\x00\x00"s,
       "203.0.113.7", 31},
      {"v2 TCP6", tcp6, "2001:db8::1", tcp6.size()},
      {"v2 LOCAL (a health check)", kV2 + "\x20\x00\x00\x00"s, "", 16},
      {"a login without a header", "\xCE\xF1\xCE\xF1"s},
      {"v1 address of the other family", "PROXY TCP4 ::1 ::1 1 2\r\n"},
      {"v1 port over 65535", "PROXY TCP4 1.2.3.4 1.2.3.4 65536 2\r\n"},
      {"v1 port with a leading zero", "PROXY TCP4 1.2.3.4 1.2.3.4 01 2\r\n"},
      {"v1 two spaces", "PROXY TCP4  1.2.3.4 1.2.3.4 1 2\r\n"},
      {"v1 bare newline", "PROXY TCP4 1.2.3.4 1.2.3.4 1 2\n"},
      {"v1 control byte", "PROXY UNKNOWN \x01\r\n"},
      {"v1 longer than 107", "PROXY UNKNOWN " + std::string(100, 'x')},
      {"v2 version 1", kV2 + "\x11\x11\x00\x0C"s + tcp4.substr(16)},
      {"v2 UDP", kV2 + "\x21\x12\x00\x0C"s + tcp4.substr(16)},
      {"v2 TCP6 too short", kV2 + "\x21\x21\x00\x0C"s + tcp4.substr(16)},
      {"v2 longer than we take", kV2 + "\x21\x11\x02\x01"s},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProxyHeader header;
    ASSERT_EQ(ParseProxyHeader(Span(c.bytes), header),
              c.length ? ProxyParse::Done : ProxyParse::Bad);
    if (c.length == 0) continue;
    EXPECT_EQ(header.address, c.address);
    EXPECT_EQ(header.length, c.length);
    // Cut anywhere before its end, a whole header waits for the rest.
    for (std::size_t cut = 0; cut < header.length; ++cut) {
      ProxyHeader part;
      EXPECT_EQ(ParseProxyHeader(Span(c.bytes.substr(0, cut)), part), ProxyParse::NeedMore) << cut;
    }
  }
}

}  // namespace
}  // namespace quarn
