#include "server/daemon/shutdown_signals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace quarn::server {
namespace {

// The write end for the handler; one process, one set of handlers.
volatile std::sig_atomic_t g_writeEnd = -1;

extern "C" void OnShutdownSignal(int signal) {
  const int savedErrno = errno;
  const auto byte = static_cast<unsigned char>(signal);
  if (g_writeEnd >= 0) (void)!::write(g_writeEnd, &byte, 1);
  errno = savedErrno;
}

}  // namespace

ShutdownSignals::ShutdownSignals(QObject* parent) : QObject(parent) {}

ShutdownSignals::~ShutdownSignals() {
  if (pipe_[1] >= 0) {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    g_writeEnd = -1;
  }
  notifier_.reset();
  for (int fd : pipe_) {
    if (fd >= 0) ::close(fd);
  }
}

bool ShutdownSignals::Install() {
  if (pipe_[0] >= 0) return true;
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pipe_.data()) != 0) return false;
  ::fcntl(pipe_[1], F_SETFL, O_NONBLOCK);
  ::fcntl(pipe_[0], F_SETFL, O_NONBLOCK);
  g_writeEnd = pipe_[1];

  notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { Drain(); });

  struct sigaction action {};
  action.sa_handler = OnShutdownSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
  return true;
}

void ShutdownSignals::Drain() {
  unsigned char byte = 0;
  int last = 0;
  while (::read(pipe_[0], &byte, 1) == 1) last = byte;
  if (last != 0) emit Requested(last);
}

}  // namespace quarn::server
