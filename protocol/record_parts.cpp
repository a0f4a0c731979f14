#include "protocol/record_parts.h"

#include <algorithm>

namespace quarn {

std::uint32_t RecordCheckSum(std::span<const std::uint8_t> bytes) {
  std::uint32_t sum = 2166136261U;
  for (const std::uint8_t byte : bytes) {
    sum ^= byte;
    sum *= 16777619U;
  }
  return sum;
}

std::vector<ReplayGamePartRecord> SplitRecord(std::int32_t table, std::int64_t gameId,
                                              std::span<const std::uint8_t> bytes) {
  if (bytes.empty() || bytes.size() > kMaxReplayParts * kReplayPartBytes) return {};
  const std::size_t count = (bytes.size() + kReplayPartBytes - 1) / kReplayPartBytes;
  std::vector<ReplayGamePartRecord> parts;
  for (std::size_t i = 0; i < count; ++i) {
    const auto piece = bytes.subspan(
        i * kReplayPartBytes, std::min(kReplayPartBytes, bytes.size() - i * kReplayPartBytes));
    parts.push_back({.tableNumber = table,
                     .kind = ReplayKind::Found,
                     .part = static_cast<std::uint8_t>(i),
                     .parts = static_cast<std::uint8_t>(count),
                     .gameId = gameId,
                     .totalLength = static_cast<std::uint32_t>(bytes.size()),
                     .checkSum = RecordCheckSum(bytes),
                     .bytes = {piece.begin(), piece.end()}});
  }
  return parts;
}

RecordJoiner::Step RecordJoiner::Fail() {
  open_ = false;
  bytes_.clear();
  return Step::Broken;
}

RecordJoiner::Step RecordJoiner::Take(const ReplayGamePartRecord& part) {
  if (part.kind != ReplayKind::Found) return Fail();
  if (part.part == 0) {
    first_ = part;
    next_ = 0;
    open_ = true;
    bytes_.clear();
  }
  const bool sameRecord = part.gameId == first_.gameId && part.parts == first_.parts &&
                          part.totalLength == first_.totalLength &&
                          part.checkSum == first_.checkSum;
  const bool last = next_ + 1 == part.parts;
  const std::size_t expected =
      last ? part.totalLength - next_ * kReplayPartBytes : kReplayPartBytes;
  if (!open_ || !sameRecord || part.part != next_ || part.bytes.size() != expected) return Fail();
  bytes_.insert(bytes_.end(), part.bytes.begin(), part.bytes.end());
  ++next_;
  if (!last) return Step::Waiting;
  open_ = false;
  if (RecordCheckSum(bytes_) != first_.checkSum) return Fail();
  return Step::Whole;
}

}  // namespace quarn
