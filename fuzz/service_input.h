// The service fuzzer's input, read front to back (so that seeds can be made
// by hand), and the packets it turns into: any message of the protocol with
// fuzzed fields, and a legal move for the seat to play.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/combination.h"
#include "protocol/pcpheadtail.h"
#include "protocol/pcpplay.h"
#include "server/server_table.h"

namespace quarn::fuzz {

// Stops the fuzzer, naming the rule that `condition` broke.
void Require(bool condition, const char* rule);

class FuzzInput {
 public:
  explicit FuzzInput(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool Done() const { return at_ >= bytes_.size(); }
  // 0 once the input is used up.
  std::uint8_t Byte() { return Done() ? 0 : bytes_[at_++]; }
  std::int32_t Int();
  // Up to `count` bytes, fewer at the end of the input.
  std::vector<std::uint8_t> Bytes(std::size_t count);

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

// Who sends: the sender's table number and seat when it has one (else table 1,
// seat 0), and its table, so that fields can be right as often as wrong.
struct Sender {
  std::int32_t table = 1;
  std::uint8_t seat = 0;
  const server::TServerTable* at = nullptr;
};

// What the cards of a play are (none when they are no combination).
Combination CombinationOf(const PlayRecord& play);

// Names and passwords come from a small pool, so that players come back.
std::vector<std::uint8_t> LoginBytes(FuzzInput& in);

// A packet of any type of either message table, its fields from the input:
// table and seat mostly the sender's own, cards mostly from its hand; now and
// then a byte overwritten. Its bytes, ready to send.
std::vector<std::uint8_t> FuzzedPacket(FuzzInput& in, const Sender& sender);

// A bid or play for the seat to move (a choice among those the rules allow,
// or a pass that they may not), now and then for another seat; none when the
// table awaits no move.
struct SeatMove {
  std::uint32_t seat;
  Packet packet;
};
std::optional<SeatMove> LegalMove(FuzzInput& in, const server::TServerTable& table);

}  // namespace quarn::fuzz
