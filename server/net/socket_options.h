// Options set on every accepted connection.
#pragma once

#include <QtGlobal>

namespace quarn::server {

inline constexpr int kSocketBufferSize = 65536;

// Sets SO_RCVBUF and then SO_SNDBUF to kSocketBufferSize on a native socket.
// A refused option is ignored: the defaults still work, only less smoothly.
void SetSocketBuffers(qintptr descriptor);

}  // namespace quarn::server
