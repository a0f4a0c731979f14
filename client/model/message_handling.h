// The client's handling of server messages: one whole packet in, the table
// state changed and shown through the table's display.
//
// Every handler refuses silently (nothing changes) a packet that arrives in a
// state that does not accept it, that fails to decode, or that names another
// table than the one confirmed at login.
#pragma once

#include <cstdint>
#include <span>

#include "client/model/table_state.h"
#include "protocol/pcpheadtail.h"
#include "protocol/stream_assembler.h"

namespace quarn::client {

// Checks the header of one whole packet and hands it to its message's
// handler. 0 when a handler was called (whatever it did), 1 when the header
// failed its check or the packet is shorter than its type's length. Codes the
// client has no handler for are dropped (and count as dispatched).
int ReadPacket(TClientTable& table, std::span<const std::uint8_t> packet);
int ReadPacket(TClientTable& table, const Packet& packet);

// Bytes as one read of the connection gave them: fed to the connection's
// assembler, and every whole packet it yields to ReadPacket. Returns the
// number of packets dispatched.
int FeedBytes(TClientTable& table, StreamAssembler& assembler, std::span<const std::uint8_t> bytes);

}  // namespace quarn::client
