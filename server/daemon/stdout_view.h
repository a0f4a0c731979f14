// The daemon's view: run log lines to standard output through a bounded
// buffer that is written when the event loop is idle, and at least every
// 100 ms while the reader has no room. A reader that does not keep up (a
// paused pager, a full pipe) costs lines, told of later, and never the game.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <cstddef>
#include <memory>

#include "server/daemon/line_buffer.h"
#include "server/daemon/stdout_writer.h"
#include "server/host.h"

namespace quarn::server {

class StdoutView final : public QObject, public IConsoleView {
  Q_OBJECT

 public:
  static constexpr std::size_t kBufferBytes = 1 << 20;
  static constexpr int kRetryMs = 100;

  explicit StdoutView(int fd, std::size_t capacity = kBufferBytes);

  void LogLineAdded(std::string_view line) override;
  void HeroLineAdded(std::string_view) override {}
  void LogCleared() override {}
  void HeroCleared() override {}
  void StatusChanged(std::string_view, bool) override {}

  // Writes what is queued now, waiting at most `milliseconds` for a slow reader.
  void FlushWithin(int milliseconds);

 private:
  void Flush();

  StdoutWriter writer_;
  LineBuffer buffer_;
  LineBuffer::Writer write_;
  QTimer idle_;
  QTimer retry_;
  std::unique_ptr<QSocketNotifier> room_;
};

}  // namespace quarn::server
