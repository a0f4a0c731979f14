#include "protocol/stream_assembler.h"

#include <algorithm>

namespace quarn {
namespace {

constexpr std::array<std::uint8_t, 8> kMagic{0xCE, 0xF1, 0xCE, 0xF1, 0xCE, 0xF1, 0xCE, 0xF1};
// An unknown code with a length word in this range is taken for a packet of
// a newer peer and skipped whole; the shortest packet of the table is 48.
constexpr std::uint32_t kMinPlausibleLength = 48;

// Length of the longest tail of `bytes` that could begin the magic.
std::size_t PartialMagicAtEnd(std::span<const std::uint8_t> bytes) {
  for (std::size_t n = std::min(bytes.size(), kMagic.size() - 1); n > 0; --n) {
    if (std::equal(bytes.end() - static_cast<std::ptrdiff_t>(n), bytes.end(), kMagic.begin())) {
      return n;
    }
  }
  return 0;
}

}  // namespace

void StreamAssembler::Feed(std::span<const std::uint8_t> bytes) {
  std::size_t skipped = std::min(skipOwed_, bytes.size());
  skipOwed_ -= skipped;
  discarded_ += skipped;
  bytes = bytes.subspan(skipped);
  Compact();
  buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

std::optional<Packet> StreamAssembler::Next() {
  while (SkipToMagic()) {
    std::span<const std::uint8_t> view = View();
    if (view.size() < HeaderSize) return std::nullopt;
    PacketHeader header;
    if (DecodeHeader(header, view) != 0) {
      Discard(1);  // not a header after all: look for the next magic
      continue;
    }
    std::uint32_t length = PacketLength(header.messageType);
    if (length == 0) {
      if (header.packetLength < kMinPlausibleLength || header.packetLength > MaxPacketSize) {
        Discard(1);
        continue;
      }
      std::size_t now = std::min<std::size_t>(header.packetLength, view.size());
      Discard(now);
      skipOwed_ = header.packetLength - now;
      continue;
    }
    if (header.packetLength != length) {
      Discard(1);
      continue;
    }
    if (view.size() < length) return std::nullopt;
    Packet packet = PacketFromBytes(view.first(length));
    start_ += length;
    return packet;
  }
  return std::nullopt;
}

void StreamAssembler::Reset() {
  buffer_.clear();
  start_ = 0;
  skipOwed_ = 0;
}

void StreamAssembler::Discard(std::size_t count) {
  start_ += count;
  discarded_ += count;
}

void StreamAssembler::Compact() {
  buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
  start_ = 0;
}

// Drops everything before the next magic. False when there is none yet; then
// only a tail that may still grow into the magic is kept.
bool StreamAssembler::SkipToMagic() {
  std::span<const std::uint8_t> view = View();
  auto found = std::search(view.begin(), view.end(), kMagic.begin(), kMagic.end());
  if (found != view.end()) {
    Discard(static_cast<std::size_t>(found - view.begin()));
    return true;
  }
  Discard(view.size() - PartialMagicAtEnd(view));
  return false;
}

std::span<const std::uint8_t> StreamAssembler::View() const {
  return std::span<const std::uint8_t>(buffer_).subspan(start_);
}

}  // namespace quarn
