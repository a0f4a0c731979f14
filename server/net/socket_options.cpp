#include "server/net/socket_options.h"

#include <sys/socket.h>

namespace quarn::server {

void SetSocketBuffers(qintptr descriptor) {
  if (descriptor < 0) return;
  const int size = kSocketBufferSize;
  const auto fd = static_cast<int>(descriptor);
  (void)::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
  (void)::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &size, sizeof size);
}

}  // namespace quarn::server
