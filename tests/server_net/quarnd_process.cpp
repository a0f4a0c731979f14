#include "tests/server_net/quarnd_process.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "tests/server_net/qt_wait.h"

extern char** environ;

namespace quarn::test {

std::string QuarndPath() {
  const char* bin = std::getenv("QUARN_BIN");
  const std::filesystem::path dir =
      bin != nullptr ? std::filesystem::path(bin)
                     : std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
  return (dir / "quarnd").string();
}

QuarndProcess::~QuarndProcess() {
  CloseOutput();
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
}

bool QuarndProcess::Start(const std::vector<std::string>& args) {
  std::array<int, 2> fds{};
  if (::pipe(fds.data()) != 0) return false;
  const std::string path = QuarndPath();
  std::vector<std::string> all = {path, "--port", "0", "--bind", "127.0.0.1"};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : all) argv.push_back(arg.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  const int error = posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  out_ = fds[0];
  if (error != 0) {
    pid_ = -1;
    return false;
  }
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < end && ReadFor(100)) {
    const auto at = output_.find("listening on port ");
    if (at != std::string::npos && output_.find('\n', at) != std::string::npos) {
      port_ = static_cast<std::uint16_t>(std::atoi(output_.c_str() + at + 18));
      return port_ != 0;
    }
  }
  return false;
}

bool QuarndProcess::ReadFor(int ms) {
  if (out_ < 0) return false;
  pollfd watch{out_, POLLIN, 0};
  while (::poll(&watch, 1, ms) > 0) {
    std::array<char, 4096> buffer{};
    const ssize_t got = ::read(out_, buffer.data(), buffer.size());
    if (got <= 0) return false;
    output_.append(buffer.data(), static_cast<std::size_t>(got));
    ms = 0;
  }
  return true;
}

void QuarndProcess::CloseOutput() {
  if (out_ >= 0) ::close(out_);
  out_ = -1;
}

int QuarndProcess::Terminate() {
  if (pid_ <= 0) return -1;
  ::kill(pid_, SIGTERM);
  for (int i = 0; i < 1000; ++i) {
    ReadFor(0);
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      ReadFor(0);
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return -1;
}

int RunQuarnd(const QStringList& args, QString* out, QString* error, int ms) {
  QProcess process;
  process.start(QString::fromStdString(QuarndPath()), args);
  if (!process.waitForFinished(ms)) {
    process.kill();
    process.waitForFinished(5000);
    return -1;
  }
  if (out) *out = QString::fromUtf8(process.readAllStandardOutput());
  if (error) *error = QString::fromUtf8(process.readAllStandardError());
  return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

}  // namespace quarn::test
