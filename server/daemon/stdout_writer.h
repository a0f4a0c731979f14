// Writes to standard output without ever blocking: a pipe or terminal gets a
// non-blocking open file description of its own (the shell that shares ours
// is left alone), a socket (the journal) is written with MSG_DONTWAIT, and a
// regular file, which never makes a writer wait for a reader, is written as is.
#pragma once

#include <span>

namespace quarn::server {

class StdoutWriter {
 public:
  explicit StdoutWriter(int fd);
  ~StdoutWriter();
  StdoutWriter(const StdoutWriter&) = delete;
  StdoutWriter& operator=(const StdoutWriter&) = delete;

  // Bytes written now; 0 when the reader has no room yet; -1 when it is gone.
  long Write(std::span<const char> bytes);
  // The descriptor to watch for room (for a QSocketNotifier).
  int Descriptor() const { return fd_; }
  // Waits at most `milliseconds` for room; false when none came.
  bool WaitForRoom(int milliseconds) const;

 private:
  enum class Way { Plain, NonBlocking, Socket, GuardedByPoll };

  int fd_;
  int ownFd_ = -1;
  Way way_ = Way::Plain;
};

}  // namespace quarn::server
