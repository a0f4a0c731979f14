// Programs started by the end-to-end tests: output to a file, a bounded wait,
// and a kill when the test ends early.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quarn::e2e {

class ChildProcess {
 public:
  // Starts `program` with `args`; standard output and error go to `output`.
  ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
               const std::filesystem::path& output);
  ~ChildProcess();  // kills a child that still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  // The exit code, or none when the child did not end within `limit` (it is
  // then killed) or died of a signal.
  std::optional<int> Wait(std::chrono::milliseconds limit);
  // Sends SIGTERM and waits for the end.
  std::optional<int> Terminate(std::chrono::milliseconds limit);

 private:
  pid_t pid_ = -1;
};

// The folder of the built programs: QUARN_BIN, else the test's own folder.
std::filesystem::path ProgramFolder();

// The whole of a text file; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& file);

}  // namespace quarn::e2e
