#include "server/daemon/stdout_view.h"

namespace quarn::server {

void StdoutView::LogLineAdded(std::string_view line) {
  std::fwrite(line.data(), 1, line.size(), out_);
  std::fputc('\n', out_);
  std::fflush(out_);
}

}  // namespace quarn::server
