// quarnd run as a child process on a port of the system's choosing, its
// standard output on a pipe that the test drains (a full pipe would stall the
// server) or closes (to see how it copes with a reader that went away).
#pragma once

#include <sys/types.h>

#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>
#include <vector>

namespace quarn::test {

// The quarnd binary: $QUARN_BIN/quarnd, else beside the test program.
std::string QuarndPath();

class QuarndProcess {
 public:
  QuarndProcess() = default;
  ~QuarndProcess();
  QuarndProcess(const QuarndProcess&) = delete;
  QuarndProcess& operator=(const QuarndProcess&) = delete;

  // Starts quarnd with `--port 0 --bind 127.0.0.1` plus `args` and waits (bounded)
  // for its "listening on port N" line; false when it did not come.
  bool Start(const std::vector<std::string>& args);
  std::uint16_t Port() const { return port_; }
  // Takes whatever quarnd has printed, without waiting.
  void Drain() { ReadFor(0); }
  // Stops reading: quarnd's next line meets a broken pipe.
  void CloseOutput();
  // Sends SIGTERM and waits (bounded) for the exit: the exit code, or -1 for
  // a death by a signal or no exit in time.
  int Terminate();
  // Everything printed so far (UTF-8).
  const std::string& Output() const { return output_; }

 private:
  // Reads what comes within `ms`; false at the end of the output.
  bool ReadFor(int ms);

  pid_t pid_ = -1;
  int out_ = -1;
  std::string output_;
  std::uint16_t port_ = 0;
};

// Runs quarnd to its end with `args` (bounded); the exit code, or -1 when it
// did not end within `ms`.
int RunQuarnd(const QStringList& args, QString* out, QString* error, int ms = 10000);

}  // namespace quarn::test
