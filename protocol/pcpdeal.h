// Dealing: DealCards, StartCardNotice and ExtraCards share one 76-byte body.
//
//   32 I32   TableNumber
//   36 1     seat (0..3)
//   37 1     card count
//   38 3     spare, 0
//   41 27    card numbers 1..108 in deck order, then zeros
//   68 8     tail
#pragma once

#include <array>
#include <cstdint>

#include "protocol/pcpheadtail.h"

namespace quarn {

inline constexpr std::size_t DealHandSize = 25;
inline constexpr std::size_t ExtraCardCount = 8;

struct DealRecord {
  std::int32_t tableNumber = 0;
  std::uint8_t seat = 0;
  std::uint8_t count = 0;
  std::array<std::uint8_t, DealHandSize> cards{};  // the first `count` are cards
  bool operator==(const DealRecord&) const = default;
};

// Server encoders. Fields are written as each passes its check:
// DealCards: seat below 4, count at most 25, each card 1..108.
int EncodeDealCards(const DealRecord& record, Packet& packet);
// ExtraCards: seat below 4, count exactly 8, each card 1..108.
int EncodeExtraCards(const DealRecord& record, Packet& packet);
// StartCardNotice: writes count 1 whatever the record says; seat below 4, card 1..108.
int EncodeStartCardNotice(const DealRecord& record, Packet& packet);

// Client decoders, with the same checks (StartCardNotice: count exactly 1).
// Card places of the record beyond the count are set to 0.
int DecodeDealCards(DealRecord& record, const Packet& packet);
int DecodeExtraCards(DealRecord& record, const Packet& packet);
int DecodeStartCardNotice(DealRecord& record, const Packet& packet);

}  // namespace quarn
