// A plain blocking TCP client for tests: writes bytes as told, reads with a
// deadline and assembles whole packets with the protocol's stream assembler.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "protocol/pcpheadtail.h"
#include "protocol/stream_assembler.h"

namespace quarn::test {

class WireClient {
 public:
  WireClient() = default;
  ~WireClient();
  WireClient(const WireClient&) = delete;
  WireClient& operator=(const WireClient&) = delete;

  // Connects to 127.0.0.1:port with TCP_NODELAY, so separate writes stay separate.
  bool Connect(std::uint16_t port);
  void Disconnect();
  bool Connected() const { return fd_ >= 0; }

  // One write() of all the bytes (retried on a short write).
  bool Write(std::span<const std::uint8_t> bytes);

  // Waits up to `ms` for bytes and returns the whole packets they complete.
  // A closed connection yields no packets and Connected() turns false.
  std::vector<Packet> Read(int ms);
  // The size of every read so far: shows how the server's writes came apart.
  const std::vector<std::size_t>& ReadSizes() const { return readSizes_; }

 private:
  int fd_ = -1;
  StreamAssembler assembler_;
  std::vector<std::size_t> readSizes_;
};

}  // namespace quarn::test
