// A plain blocking TCP client for tests, on QTcpSocket's waiting calls (no
// event loop needed): writes bytes as told, reads with a deadline and
// assembles whole packets with the protocol's stream assembler.
#pragma once

#include <QTcpSocket>
#include <cstdint>
#include <span>
#include <vector>

#include "protocol/pcpheadtail.h"
#include "protocol/stream_assembler.h"

namespace quarn::test {

class WireClient {
 public:
  // Connects to 127.0.0.1:port with TCP_NODELAY, so separate writes stay separate.
  bool Connect(std::uint16_t port);
  // One write of all the bytes, waited out.
  bool Write(std::span<const std::uint8_t> bytes);
  // Waits up to `ms` for bytes and returns the whole packets they complete;
  // none once the connection is closed.
  std::vector<Packet> Read(int ms);
  // The size of every read so far: shows how the server's writes came apart.
  const std::vector<std::size_t>& ReadSizes() const { return readSizes_; }

 private:
  QTcpSocket socket_;
  StreamAssembler assembler_;
  std::vector<std::size_t> readSizes_;
};

}  // namespace quarn::test
