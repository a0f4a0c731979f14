#include "server/daemon/stdout_view.h"

#include <QDeadlineTimer>

namespace quarn::server {

StdoutView::StdoutView(int fd, std::size_t capacity)
    : writer_(fd),
      buffer_(capacity),
      write_([this](std::span<const char> bytes) { return writer_.Write(bytes); }) {
  // A zero timer fires once the loop has handled the events pending now.
  idle_.setSingleShot(true);
  idle_.setInterval(0);
  connect(&idle_, &QTimer::timeout, this, &StdoutView::Flush);
  retry_.setInterval(kRetryMs);
  connect(&retry_, &QTimer::timeout, this, &StdoutView::Flush);
}

void StdoutView::LogLineAdded(std::string_view line) {
  buffer_.Add(line);
  if (!idle_.isActive() && !retry_.isActive()) idle_.start();
}

void StdoutView::Flush() {
  if (buffer_.Flush(write_)) {
    retry_.stop();
    if (room_) room_->setEnabled(false);
    return;
  }
  if (!retry_.isActive()) retry_.start();
  if (!room_) {
    room_ = std::make_unique<QSocketNotifier>(writer_.Descriptor(), QSocketNotifier::Write);
    connect(room_.get(), &QSocketNotifier::activated, this, &StdoutView::Flush);
  }
  room_->setEnabled(true);
}

void StdoutView::FlushWithin(int milliseconds) {
  const QDeadlineTimer deadline(milliseconds);
  while (!buffer_.Flush(write_)) {
    const auto left = static_cast<int>(deadline.remainingTime());
    if (left <= 0 || !writer_.WaitForRoom(left)) return;
  }
}

}  // namespace quarn::server
