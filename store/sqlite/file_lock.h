// One server per database file: an exclusive lock on "<file>.lock" held for
// the server's life. The kernel drops it when the process ends, however it ends.
#pragma once

#include <filesystem>
#include <string>

namespace quarn::store {

class FileLock {
 public:
  FileLock() = default;
  ~FileLock();
  FileLock(FileLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  FileLock& operator=(FileLock&& other) noexcept;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Takes the lock beside `file`; the error, or empty.
  std::string Take(const std::filesystem::path& file);

 private:
  int fd_ = -1;
};

}  // namespace quarn::store
