// Small helpers for byte-exact packet tests.
#pragma once

#include <cctype>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "protocol/packet_builder.h"

namespace quarn::test {

using Bytes = std::vector<std::uint8_t>;
using Fields = std::initializer_list<std::pair<std::size_t, Bytes>>;

inline Bytes ToBytes(const Packet& packet) {
  auto data = packet.data();
  return Bytes(data.begin(), data.end());
}

inline void Put(Bytes& bytes, std::size_t at, const Bytes& values) {
  std::copy(values.begin(), values.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

// Bytes written as hex pairs ("CE F1 ..."); blanks and line breaks are ignored.
inline Bytes FromHex(std::string_view hex) {
  Bytes bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); ++i) {
    if (std::isxdigit(static_cast<unsigned char>(hex[i])) == 0) continue;
    bytes.push_back(
        static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    ++i;
  }
  return bytes;
}

// Every packet of `length` bytes and `type`: the header, zeros, the tail;
// then `fields` placed at their offsets.
inline Bytes Frame(std::uint32_t type, std::uint32_t length, Fields fields = {}) {
  Bytes bytes(length, 0);
  Put(bytes, 0, {0xCE, 0xF1, 0xCE, 0xF1, 0xCE, 0xF1, 0xCE, 0xF1, 0x51, 0x4E, 0x12, 0x03, 1});
  for (int i = 0; i < 4; ++i) {
    bytes[16 + i] = static_cast<std::uint8_t>(type >> (24 - 8 * i));
    bytes[20 + i] = static_cast<std::uint8_t>(length >> (24 - 8 * i));
  }
  for (std::uint32_t i = length - 8; i < length; i += 2) Put(bytes, i, {0xF1, 0xCE});
  for (const auto& [at, values] : fields) Put(bytes, at, values);
  return bytes;
}

// The bytes BuildPacket makes of `record`, or none when it refuses.
template <typename Record>
Bytes Built(MessageType type, const Record& record) {
  const auto packet = BuildPacket(type, record);
  return packet ? ToBytes(*packet) : Bytes{};
}

// A copy of `packet` with one byte changed.
inline Packet With(Packet packet, std::size_t at, std::uint8_t value) {
  packet.bytes[at] = value;
  return packet;
}

// Whether the decoder of `type` refuses `packet` with one byte changed.
template <typename Record>
bool Refuses(MessageType type, const Packet& packet, std::size_t at, std::uint8_t value) {
  Record record;
  return DecodeBody(type, record, With(packet, at, value)) == 1;
}

// Four seats of a finished game, names of every length up to the full field.
inline GameEndRecord FourPlayers() {
  return {.tableNumber = 1,
          .nameLength = {3, 2, 1, 15},
          .name = {"ann", "bo", "c", "fifteen-letters"},
          .rounds = {1, 2, 3, 4},
          .score = {-30, 90, -30, -30},
          .serviceIcon = {1, 2, 3, 4},
          .headIcon = {5, 6, 7, 8},
          .winner = 1};
}

}  // namespace quarn::test
