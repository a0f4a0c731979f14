// A PostgreSQL instance of the test's own, in a scratch folder, through
// tools/scratch_postgres.sh (the path comes in QUARN_SCRATCH_POSTGRES).
// Stopped and removed when the object goes.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace quarn::store::testing {

class ScratchPostgres {
 public:
  explicit ScratchPostgres(const std::string& name)
      : dir_(std::filesystem::temp_directory_path() /
             ("quarn-pg-" + name + "-" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(dir_);
    uri_ = Start();
  }
  ~ScratchPostgres() {
    Stop();
    std::filesystem::remove_all(dir_);
  }
  ScratchPostgres(const ScratchPostgres&) = delete;
  ScratchPostgres& operator=(const ScratchPostgres&) = delete;

  // The URI of database "quarn", or empty when the instance could not start.
  const std::string& Uri() const { return uri_; }
  // Why it could not start: the programs are missing (a skip), or a failure.
  bool Missing() const { return missing_; }

  // Starts the instance (again); the URI, or empty when it could not.
  std::string Start() {
    const std::string command =
        std::string("bash ") + QUARN_SCRATCH_POSTGRES + " start " + dir_.string();
    FILE* out = ::popen(command.c_str(), "r");
    if (out == nullptr) return {};
    std::string line(512, '\0');
    const bool read = std::fgets(line.data(), static_cast<int>(line.size()), out) != nullptr;
    const int status = ::pclose(out);
    missing_ = WIFEXITED(status) && WEXITSTATUS(status) == 2;
    if (!read || status != 0) return {};
    line.resize(line.find('\n'));
    return line;
  }
  void Stop() {
    const std::string command =
        std::string("bash ") + QUARN_SCRATCH_POSTGRES + " stop " + dir_.string();
    (void)std::system(command.c_str());
  }

 private:
  std::filesystem::path dir_;
  std::string uri_;
  bool missing_ = false;
};

}  // namespace quarn::store::testing
