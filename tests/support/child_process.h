// Programs the tests start (quarnd, quarn-bot): standard output and error on
// pipes the test drains, or in a file; every wait bounded; a child still
// running when the test ends is killed.
#pragma once

#include <sys/types.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quarn::test {

// The folder of the built programs: $QUARN_BIN, else the test program's own.
std::filesystem::path ProgramFolder();

// The whole of a file; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& file);

// A fresh folder for one test's files, removed afterwards unless the test failed.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  operator const std::filesystem::path&() const { return path_; }

 private:
  std::filesystem::path path_;
};

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts `program` with `args`. With an `outputFile` both streams go there
  // (nothing to drain while the test waits elsewhere); else each to a pipe.
  bool Start(const std::filesystem::path& program, const std::vector<std::string>& args,
             const std::filesystem::path& outputFile = {});

  // Takes what the child has printed, without waiting: a full pipe stalls it.
  void Drain();
  // Stops reading: the child's next line meets a broken pipe.
  void CloseOutput();
  // Standard output so far (with an output file: the file, both streams).
  const std::string& Output();
  const std::string& Errors();

  // The exit code, or none when the child died of a signal or did not end
  // within `limit` (it is then killed).
  std::optional<int> Wait(std::chrono::milliseconds limit);
  // SIGTERM, then Wait.
  std::optional<int> Terminate(std::chrono::milliseconds limit = std::chrono::seconds(10));
  // SIGKILL, and the child reaped.
  void Kill();

 private:
  pid_t pid_ = -1;
  std::array<int, 2> pipes_{-1, -1};  // stdout, stderr
  std::array<std::string, 2> texts_;
  std::filesystem::path outputFile_;
};

// Starts quarnd with `--port 0 --bind 127.0.0.1` plus `args` and waits
// (bounded) for its "listening on port N" line: N, or 0 when it did not come.
std::uint16_t StartQuarnd(ChildProcess& quarnd, const std::vector<std::string>& args,
                          const std::filesystem::path& outputFile = {});

// Runs `program` to its end (bounded) with its output on pipes.
struct RunResult {
  std::optional<int> code;
  std::string out;
  std::string err;
};
RunResult RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                     std::chrono::milliseconds limit = std::chrono::seconds(10));

}  // namespace quarn::test
