// Lines on their way to a reader that may not keep up: a bounded buffer that
// drops whole lines when it is full and later says how many it dropped.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace quarn::server {

class LineBuffer {
 public:
  // Takes the bytes it can of `bytes` now: how many, 0 when the reader cannot
  // take more yet, -1 when it is gone for good.
  using Writer = std::function<long(std::span<const char> bytes)>;

  explicit LineBuffer(std::size_t capacity) : capacity_(capacity) {}

  // Queues `line` and a line end; a line that does not fit is dropped and counted.
  void Add(std::string_view line);
  // Writes what `write` takes; true when everything queued went out.
  bool Flush(const Writer& write);
  bool Empty() const { return start_ == text_.size(); }
  // Lines dropped and not yet told of.
  std::size_t Dropped() const { return dropped_; }

 private:
  std::size_t Queued() const { return text_.size() - start_; }
  // Queues the line that tells of the dropped lines, when it fits.
  void TellDropped();

  std::size_t capacity_;
  std::string text_;
  std::size_t start_ = 0;  // text_ before start_ has been written
  std::size_t dropped_ = 0;
  bool readerGone_ = false;
};

}  // namespace quarn::server
