// A game record's bytes cut into ReplayGamePart packets, and joined again.
// The parts travel in order over one connection; the joiner takes them one
// by one and checks each against the first (same game, count, length and
// sum), then the whole against its length and sum, so a record that does not
// arrive whole is known as such rather than read wrong.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "protocol/pcpreplay.h"

namespace quarn {

// FNV-1a over the bytes, 32 bits.
std::uint32_t RecordCheckSum(std::span<const std::uint8_t> bytes);

// The parts of a record of 1 .. 32 x 136 bytes, in order; none for a record
// that is empty or too long to send.
std::vector<ReplayGamePartRecord> SplitRecord(std::int32_t table, std::int64_t gameId,
                                              std::span<const std::uint8_t> bytes);

class RecordJoiner {
 public:
  enum class Step : std::uint8_t { Waiting, Whole, Broken };

  // Takes the next part. Part 0 starts a new record whatever came before.
  // After Whole, Bytes() holds the record; after Broken, parts are refused
  // until a new part 0.
  Step Take(const ReplayGamePartRecord& part);
  std::int64_t GameId() const { return first_.gameId; }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  Step Fail();

  ReplayGamePartRecord first_;
  std::size_t next_ = 0;
  bool open_ = false;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace quarn
