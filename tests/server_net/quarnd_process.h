// quarnd run as a child process on a port of the system's choosing.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace quarn::test {

// The quarnd binary: $QUARN_BIN/quarnd, else beside the test program.
QString QuarndPath();

class QuarndProcess {
 public:
  ~QuarndProcess();
  // Starts quarnd with `--port 0 --bind 127.0.0.1` plus `args` and waits (bounded)
  // for its "listening on port N" line; false when it did not come.
  bool Start(const QStringList& args);
  std::uint16_t Port() const { return port_; }
  // Sends SIGTERM and waits (bounded) for the exit; the exit code, or -1.
  int Terminate();
  // Everything printed so far, UTF-8.
  QString Output();

 private:
  QProcess process_;
  QByteArray output_;
  std::uint16_t port_ = 0;
};

// Runs quarnd to its end with `args` (bounded); the exit code, or -1 when it
// did not end within `ms`. Standard error goes to `error`.
int RunQuarnd(const QStringList& args, QString* out, QString* error, int ms = 10000);

}  // namespace quarn::test
