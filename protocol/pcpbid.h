// Bidding: BidStart, BidTurn, BidResult (server) and BidPass, BidOffer
// (client) share one 48-byte body.
//
//   32 I32   TableNumber
//   36 1     seat
//   37 1     points, 0..255 (a larger value goes out as its low byte)
//   38 2     spare, 0
//   40 8     tail
#pragma once

#include <cstdint>

#include "protocol/pcpheadtail.h"

namespace quarn {

struct BidRecord {
  std::int32_t tableNumber = 0;
  std::uint8_t seat = 0;
  std::int32_t points = 0;
  bool operator==(const BidRecord&) const = default;
};

// Each encoder writes table, seat and points, then fails when the seat is 4 or more.
int EncodeBidStart(const BidRecord& record, Packet& packet);
int EncodeBidTurn(const BidRecord& record, Packet& packet);
int EncodeBidResult(const BidRecord& record, Packet& packet);
int EncodeBidPass(const BidRecord& record, Packet& packet);
int EncodeBidOffer(const BidRecord& record, Packet& packet);

// Each decoder fails when the seat is 4 or more.
int DecodeBidStart(BidRecord& record, const Packet& packet);
int DecodeBidTurn(BidRecord& record, const Packet& packet);
int DecodeBidResult(BidRecord& record, const Packet& packet);
int DecodeBidPass(BidRecord& record, const Packet& packet);
int DecodeBidOffer(BidRecord& record, const Packet& packet);

}  // namespace quarn
