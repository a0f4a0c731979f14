#include "store/sqlite/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quarn::store {

FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

std::string FileLock::Take(const std::filesystem::path& file) {
  const std::string lockPath = file.string() + ".lock";
  const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return "cannot open " + lockPath + ": " + std::strerror(errno);
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) {
      return file.string() + " is in use by another server (" + lockPath + " is locked)";
    }
    return "cannot lock " + lockPath + ": " + std::strerror(error);
  }
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
  return {};
}

}  // namespace quarn::store
