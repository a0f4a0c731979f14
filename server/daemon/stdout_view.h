// The daemon's view: run log lines to a stream, one per line, flushed at once so
// that a pipe or a log collector sees them as they happen.
#pragma once

#include <cstdio>

#include "server/host.h"

namespace quarn::server {

class StdoutView final : public IConsoleView {
 public:
  explicit StdoutView(std::FILE* out) : out_(out) {}
  void LogLineAdded(std::string_view line) override;
  void HeroLineAdded(std::string_view) override {}
  void LogCleared() override {}
  void HeroCleared() override {}
  void StatusChanged(std::string_view, bool) override {}

 private:
  std::FILE* out_;
};

}  // namespace quarn::server
