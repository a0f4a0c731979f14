// Whole packets out of a TCP byte stream that joins and splits them freely.
//
// The assembler looks for the header magic (CE F1 CE F1 CE F1 CE F1), checks
// the 32-byte header with DecodeHeader, takes the packet's length from the
// message table (the header's length word must agree) and waits for the rest.
// A header that fails the check is dropped and the stream resynchronised at
// the next magic. A well-formed header of a code outside the table whose
// length word is 48..200 is skipped whole. Nothing is ever answered.
//
// Use, per connection: after each read, Feed the bytes, then call Next until
// it gives none. Between reads at most 199 bytes of an unfinished packet are
// held, whatever the peer sends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "protocol/pcpheadtail.h"

namespace quarn {

class StreamAssembler {
 public:
  void Feed(std::span<const std::uint8_t> bytes);
  // The next whole packet (length from the message table), or none until more bytes come.
  std::optional<Packet> Next();

  // Bytes fed but not yet given out or discarded.
  std::size_t Pending() const { return buffer_.size() - start_; }
  // Bytes discarded so far: garbage, refused headers and skipped unknown packets.
  std::size_t Discarded() const { return discarded_; }
  // Forgets everything held (a new connection).
  void Reset();

 private:
  void Discard(std::size_t count);
  void Compact();
  bool SkipToMagic();
  std::span<const std::uint8_t> View() const;

  std::vector<std::uint8_t> buffer_;
  std::size_t start_ = 0;     // first byte not yet consumed
  std::size_t skipOwed_ = 0;  // bytes of an unknown packet still to skip
  std::size_t discarded_ = 0;
};

}  // namespace quarn
