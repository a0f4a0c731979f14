// A record cut into parts joins back whole, through the wire, at every length
// a part boundary can fall on; a part lost, repeated, reordered or changed is
// known as broken, never joined into other bytes.
#include <gtest/gtest.h>

#include <functional>
#include <numeric>

#include "protocol/packet_builder.h"
#include "protocol/record_parts.h"

namespace quarn {
namespace {

using Parts = std::vector<ReplayGamePartRecord>;
using Step = RecordJoiner::Step;

std::vector<std::uint8_t> Record(std::size_t length) {
  std::vector<std::uint8_t> bytes(length);
  std::iota(bytes.begin(), bytes.end(), std::uint8_t{7});
  return bytes;
}

// What the joiner says after the last of `parts`, each sent and decoded.
Step JoinOverTheWire(RecordJoiner& joiner, const Parts& parts) {
  Step step = Step::Waiting;
  for (const ReplayGamePartRecord& part : parts) {
    const auto packet = BuildPacket(MessageType::ReplayGamePart, part);
    ReplayGamePartRecord read;
    if (!packet || DecodeReplayGamePart(read, *packet) != 0) return Step::Broken;
    step = joiner.Take(read);
  }
  return step;
}

TEST(RecordParts, EveryLengthJoinsBackWhole) {
  for (const std::size_t length : {1UL, 135UL, 136UL, 137UL, 700UL, 32 * 136UL}) {
    const auto bytes = Record(length);
    const Parts parts = SplitRecord(1, 42, bytes);
    ASSERT_EQ(parts.size(), (length + 135) / 136) << length;
    RecordJoiner joiner;
    EXPECT_EQ(JoinOverTheWire(joiner, parts), Step::Whole) << length;
    EXPECT_EQ(joiner.Bytes(), bytes) << length;
    EXPECT_EQ(joiner.GameId(), 42);
  }
  EXPECT_TRUE(SplitRecord(1, 42, {}).empty());
  EXPECT_TRUE(SplitRecord(1, 42, Record(32 * 136 + 1)).empty());
}

TEST(RecordParts, APartAmissIsBrokenAndANewStartJoins) {
  const std::vector<std::pair<const char*, std::function<void(Parts&)>>> faults = {
      {"lost", [](Parts& p) { p.erase(p.begin() + 1); }},
      {"last lost", [](Parts& p) { p.pop_back(); }},
      {"repeated", [](Parts& p) { p.insert(p.begin() + 1, p[1]); }},
      {"swapped", [](Parts& p) { std::swap(p[1], p[2]); }},
      {"byte changed", [](Parts& p) { p[2].bytes[5] ^= 1; }},
      {"other game", [](Parts& p) { p[1].gameId = 43; }},
      {"short part", [](Parts& p) { p[1].bytes.pop_back(); }},
      {"no such game", [](Parts& p) { p[1] = {.tableNumber = 1, .gameId = 42, .bytes = {}}; }},
  };
  const auto bytes = Record(500);
  for (const auto& [name, fault] : faults) {
    SCOPED_TRACE(name);
    Parts parts = SplitRecord(1, 42, bytes);
    fault(parts);
    RecordJoiner joiner;
    Step step = Step::Waiting;
    for (const ReplayGamePartRecord& part : parts) {
      if (step != Step::Broken) step = joiner.Take(part);
    }
    EXPECT_NE(step, Step::Whole);
    // The next record, from its part 0, joins whatever came before.
    EXPECT_EQ(JoinOverTheWire(joiner, SplitRecord(1, 42, bytes)), Step::Whole);
    EXPECT_EQ(joiner.Bytes(), bytes);
  }
}

}  // namespace
}  // namespace quarn
