#include "tests/support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

extern char** environ;

namespace quarn::test {
namespace {

using std::chrono::milliseconds;

// Appends what `fd` holds now; false at its end.
bool ReadAvailable(int fd, std::string& text) {
  pollfd watch{fd, POLLIN, 0};
  while (::poll(&watch, 1, 0) > 0) {
    std::array<char, 4096> buffer{};
    const ssize_t got = ::read(fd, buffer.data(), buffer.size());
    if (got <= 0) return false;
    text.append(buffer.data(), static_cast<std::size_t>(got));
  }
  return true;
}

}  // namespace

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

ChildProcess::~ChildProcess() {
  CloseOutput();
  Kill();
}

bool ChildProcess::Start(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::filesystem::path& outputFile) {
  if (pid_ > 0) return false;
  std::vector<std::string> all = {program.string()};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : all) argv.push_back(arg.data());
  argv.push_back(nullptr);

  outputFile_ = outputFile;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  std::array<std::array<int, 2>, 2> fds{{{-1, -1}, {-1, -1}}};
  if (outputFile.empty()) {
    for (int stream = 0; stream < 2; ++stream) {
      // A stream whose pipe could not be made stays the test program's own.
      if (::pipe2(fds[stream].data(), O_CLOEXEC) != 0) continue;
      posix_spawn_file_actions_adddup2(&actions, fds[stream][1], STDOUT_FILENO + stream);
    }
  } else {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  }
  const int error = posix_spawn(&pid_, all[0].c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  for (int stream = 0; stream < 2; ++stream) {
    if (fds[stream][1] >= 0) ::close(fds[stream][1]);
    pipes_[stream] = fds[stream][0];
  }
  if (error != 0) pid_ = -1;
  return error == 0;
}

void ChildProcess::Drain() {
  for (int stream = 0; stream < 2; ++stream) {
    if (pipes_[stream] >= 0) ReadAvailable(pipes_[stream], texts_[stream]);
  }
}

void ChildProcess::CloseOutput() {
  for (int& fd : pipes_) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
}

const std::string& ChildProcess::Output() {
  if (!outputFile_.empty()) texts_[0] = ReadFile(outputFile_);
  Drain();
  return texts_[0];
}

const std::string& ChildProcess::Errors() {
  Drain();
  return texts_[1];
}

std::optional<int> ChildProcess::Wait(milliseconds limit) {
  if (pid_ <= 0) return std::nullopt;
  const auto end = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (::waitpid(pid_, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > end) {
      Kill();
      return std::nullopt;
    }
    Drain();
    std::this_thread::sleep_for(milliseconds(10));
  }
  pid_ = -1;
  Drain();
  if (!WIFEXITED(status)) return std::nullopt;
  return WEXITSTATUS(status);
}

std::optional<int> ChildProcess::Terminate(milliseconds limit) {
  if (pid_ > 0) ::kill(pid_, SIGTERM);
  return Wait(limit);
}

void ChildProcess::Kill() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

std::uint16_t StartQuarnd(ChildProcess& quarnd, const std::vector<std::string>& args,
                          const std::filesystem::path& outputFile) {
  std::vector<std::string> all = {"--port", "0", "--bind", "127.0.0.1"};
  all.insert(all.end(), args.begin(), args.end());
  if (!quarnd.Start(ProgramFolder() / "quarnd", all, outputFile)) return 0;
  static const std::regex kListening(R"(listening on port (\d+)\r?\n)");
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < end) {
    std::smatch match;
    const std::string& text = quarnd.Output();
    if (std::regex_search(text, match, kListening)) {
      return static_cast<std::uint16_t>(std::stoi(match[1]));
    }
    std::this_thread::sleep_for(milliseconds(10));
  }
  return 0;
}

RunResult RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                     milliseconds limit) {
  ChildProcess child;
  RunResult result;
  if (!child.Start(program, args)) return result;
  result.code = child.Wait(limit);
  result.out = child.Output();
  result.err = child.Errors();
  return result;
}

}  // namespace quarn::test
