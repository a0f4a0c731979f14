// SIGINT and SIGTERM turned into a Qt signal on the main thread. The handler
// only writes one byte into a socket pair (async-signal-safe); the event loop
// picks it up through a QSocketNotifier.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <array>
#include <memory>

namespace quarn::server {

class ShutdownSignals final : public QObject {
  Q_OBJECT

 public:
  explicit ShutdownSignals(QObject* parent = nullptr);
  ~ShutdownSignals() override;
  // Installs the handlers; false (with nothing installed) when the pipe cannot be made.
  bool Install();

 signals:
  void Requested(int signal);

 private:
  void Drain();

  std::array<int, 2> pipe_{-1, -1};
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace quarn::server
