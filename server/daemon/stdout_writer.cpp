#include "server/daemon/stdout_writer.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <string>

namespace quarn::server {

StdoutWriter::StdoutWriter(int fd) : fd_(fd) {
  struct stat info {};
  if (::fstat(fd, &info) != 0 || S_ISREG(info.st_mode)) return;
  if (S_ISSOCK(info.st_mode)) {
    way_ = Way::Socket;
    return;
  }
  // Opening the pipe or terminal again gives flags of our own.
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  ownFd_ = ::open(self.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (ownFd_ >= 0) {
    fd_ = ownFd_;
    way_ = Way::NonBlocking;
  } else {
    way_ = Way::GuardedByPoll;  // no /proc: write only what surely fits
  }
}

StdoutWriter::~StdoutWriter() {
  if (ownFd_ >= 0) ::close(ownFd_);
}

long StdoutWriter::Write(std::span<const char> bytes) {
  std::size_t size = bytes.size();
  if (way_ == Way::GuardedByPoll) {
    if (!WaitForRoom(0)) return 0;
    size = std::min<std::size_t>(size, PIPE_BUF);  // room for PIPE_BUF bytes at least
  }
  ssize_t written = -1;
  do {
    written = way_ == Way::Socket ? ::send(fd_, bytes.data(), size, MSG_DONTWAIT | MSG_NOSIGNAL)
                                  : ::write(fd_, bytes.data(), size);
  } while (written < 0 && errno == EINTR);
  if (written >= 0) return written;
  return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
}

bool StdoutWriter::WaitForRoom(int milliseconds) const {
  pollfd watch{fd_, POLLOUT, 0};
  // A reader that is gone also ends the wait: the next write tells.
  return ::poll(&watch, 1, milliseconds) > 0 &&
         (watch.revents & (POLLOUT | POLLERR | POLLHUP)) != 0;
}

}  // namespace quarn::server
