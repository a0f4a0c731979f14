// The files of the tests: the built programs' folder, a whole file read, and a
// scratch folder for one test.
#pragma once

#include <filesystem>
#include <string>

namespace quarn::test {

// The folder of the built programs: $QUARN_BIN, else the test program's own.
std::filesystem::path ProgramFolder();

// The whole of a file; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& file);

// A fresh folder for one test's files, removed afterwards unless the test failed.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  operator const std::filesystem::path&() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace quarn::test
