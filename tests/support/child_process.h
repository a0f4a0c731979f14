// Programs the tests start (quarnd, quarn-bot), through QProcess: standard
// output and error read by the test, or written to a file; every wait
// bounded; a child still running when the test ends is killed.
#pragma once

#include <QProcess>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/files.h"

namespace quarn::test {

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess() { Kill(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts `program` with `args`. With an `outputFile` both streams go there
  // (nothing to read while the test waits elsewhere); else each to a pipe,
  // read only when the test asks: a full pipe stalls the child.
  bool Start(const std::filesystem::path& program, const std::vector<std::string>& args,
             const std::filesystem::path& outputFile = {});
  // Takes what the child has printed, without waiting.
  void Drain();
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
  QProcess process_;
  std::string output_;
  std::string errors_;
  std::filesystem::path outputFile_;
};

// Asks `done` every 10 ms until it holds (true) or `limit` has passed (false).
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

// Starts quarnd with `--port 0 --bind 127.0.0.1` plus `args` and waits
// (bounded) for its "listening on port N" line: N, or 0 when it did not come.
std::uint16_t StartQuarnd(ChildProcess& quarnd, const std::vector<std::string>& args,
                          const std::filesystem::path& outputFile = {});
// The N of a started quarnd's "listening on port N" line, waited for (bounded); 0 without it.
std::uint16_t ListeningPort(ChildProcess& quarnd);

// Runs `program` to its end (bounded) with its output on pipes.
struct RunResult {
  std::optional<int> code;
  std::string out;
  std::string err;
};
RunResult RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                     std::chrono::milliseconds limit = std::chrono::seconds(10));

}  // namespace quarn::test
