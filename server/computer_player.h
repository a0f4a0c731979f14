// The server's own computer player: what one seat may know, read off the
// table, and the move it makes there as the very packet its player would send,
// so that the move goes through the same handler and checks.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "ai/seat_knowledge.h"
#include "protocol/pcpheadtail.h"
#include "server/server_table.h"

namespace quarn::server {

// How long the computer may think over one play. Every table of the server
// runs on its one thread, so a decision must never hold it long. The service
// fuzzer builds with 0: the heuristic's choice, fast and repeatable.
#ifndef QUARN_COMPUTER_THINK_MS
#define QUARN_COMPUTER_THINK_MS 20
#endif
inline constexpr std::chrono::milliseconds kComputerThink{QUARN_COMPUTER_THINK_MS};
// The service fuzzer builds with 1: the searching player's own playout policy,
// which reads no history and plans no hand, so that the computer's seats cost
// the fuzzer little beside the service it tests.
#ifndef QUARN_COMPUTER_FAST
#define QUARN_COMPUTER_FAST 0
#endif

// The seat's own hand, the card counts, the plays and passes of this game,
// the table, and the bottom cards when it is the landlord in play; never
// another seat's cards.
ai::SeatKnowledge SeatKnowledgeAt(const TServerTable& table, std::uint32_t seat);

// The bid, play or pass the computer makes for `seat` now (its turn, bidding
// or playing), as a request packet; none when there is nothing to do.
std::optional<Packet> ComputerMove(const TServerTable& table, std::uint32_t seat,
                                   std::uint64_t seed);

// A move the rules always allow: a pass where one is allowed, else the
// lowest single card; a bid pass while bidding. For the case a chosen move
// was refused, which must not leave the table waiting.
std::optional<Packet> SafeMove(const TServerTable& table, std::uint32_t seat);

}  // namespace quarn::server
