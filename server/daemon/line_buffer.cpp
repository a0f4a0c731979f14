#include "server/daemon/line_buffer.h"

namespace quarn::server {

void LineBuffer::Add(std::string_view line) {
  if (readerGone_) return;
  TellDropped();
  if (dropped_ > 0 || Queued() + line.size() + 1 > capacity_) {
    ++dropped_;  // never out of order: once dropping, until the count is told
    return;
  }
  text_ += line;
  text_ += '\n';
}

void LineBuffer::TellDropped() {
  if (dropped_ == 0) return;
  const std::string note = "quarnd: " + std::to_string(dropped_) +
                           " log lines dropped: standard output was not read fast enough\n";
  // Room for the note and some lines after it, so that it is not dropped at once.
  if (Queued() + note.size() > capacity_ / 2) return;
  text_ += note;
  dropped_ = 0;
}

bool LineBuffer::Flush(const Writer& write) {
  TellDropped();
  while (!Empty() && !readerGone_) {
    const long taken = write({text_.data() + start_, Queued()});
    if (taken < 0) readerGone_ = true;
    if (taken <= 0) break;
    start_ += static_cast<std::size_t>(taken);
    TellDropped();
  }
  if (readerGone_) start_ = text_.size();
  // The written part goes when it is most of the text: each byte moves at most once more.
  if (start_ > text_.size() / 2) {
    text_.erase(0, start_);
    start_ = 0;
  }
  return Empty();
}

}  // namespace quarn::server
