#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace quarn::test {

std::filesystem::path ProgramFolder() {
  if (const char* bin = std::getenv("QUARN_BIN"); bin != nullptr && *bin != '\0') return bin;
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path(".") : self.parent_path();
}

std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quarn-test.XXXXXX").string();
  if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  if (!path_.empty() && !::testing::Test::HasFailure()) std::filesystem::remove_all(path_, ignored);
}

}  // namespace quarn::test
