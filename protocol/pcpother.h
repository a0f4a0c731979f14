// Icons: IconChange, IconChangeAlt (client), IconNotice, IconNoticeAlt
// (server) share one 56-byte body. The server relays the client's packet in
// place, so nobody needs the encoders but tests and tools.
//
//   32 I32   TableNumber
//   36 I32   ServiceIcon
//   40 I32   HeadIcon
//   44 1     seat
//   45 3     0
//   48 8     tail
#pragma once

#include <cstdint>

#include "protocol/pcpheadtail.h"

namespace quarn {

struct IconRecord {
  std::int32_t tableNumber = 0;
  std::int32_t serviceIcon = 0;
  std::int32_t headIcon = 0;
  std::uint8_t seat = 0;
  bool operator==(const IconRecord&) const = default;
};

// Write the table, fail when the seat is 4 or more, else write icons and seat.
int EncodeIconChange(const IconRecord& record, Packet& packet);
int EncodeIconChangeAlt(const IconRecord& record, Packet& packet);
int EncodeIconNotice(const IconRecord& record, Packet& packet);
int EncodeIconNoticeAlt(const IconRecord& record, Packet& packet);
// Read the table, fail when the seat is 4 or more, then read both icons.
int DecodeIconChange(IconRecord& record, const Packet& packet);
int DecodeIconChangeAlt(IconRecord& record, const Packet& packet);
int DecodeIconNotice(IconRecord& record, const Packet& packet);
int DecodeIconNoticeAlt(IconRecord& record, const Packet& packet);

}  // namespace quarn
