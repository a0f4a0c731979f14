// Small helpers for byte-exact packet tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

#include "protocol/pcpheadtail.h"

namespace quarn::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ToBytes(const Packet& packet) {
  auto data = packet.data();
  return Bytes(data.begin(), data.end());
}

// The header and tail every packet of `length` bytes and `type` starts and ends with.
inline Bytes Frame(std::uint32_t type, std::uint32_t length) {
  Bytes bytes(length, 0);
  Bytes head{0xCE, 0xF1, 0xCE, 0xF1, 0xCE, 0xF1, 0xCE, 0xF1,
             0x51, 0x4E, 0x12, 0x03, 0x01, 0x00, 0x00, 0x00};
  std::copy(head.begin(), head.end(), bytes.begin());
  for (int i = 0; i < 4; ++i) {
    bytes[16 + i] = static_cast<std::uint8_t>(type >> (24 - 8 * i));
    bytes[20 + i] = static_cast<std::uint8_t>(length >> (24 - 8 * i));
  }
  for (std::uint32_t i = length - 8; i < length; i += 2) {
    bytes[i] = 0xF1;
    bytes[i + 1] = 0xCE;
  }
  return bytes;
}

inline void Put(Bytes& bytes, std::size_t at, std::initializer_list<std::uint8_t> values) {
  for (std::uint8_t v : values) bytes[at++] = v;
}

inline Packet PacketOf(const Bytes& bytes) {
  return PacketFromBytes(bytes);
}

}  // namespace quarn::test
