// quarnd's event loop (which every case of this program runs on): what the
// socket layer's cases do not reach.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>
#include <QAbstractEventDispatcher>
#include <QSocketNotifier>
#include <QTimer>
#include <array>
#include <cstdio>
#include <memory>

#include "tests/support/qt/qt_wait.h"

namespace quarn::server {
namespace {

using test::Spin;
using test::WaitFor;

TEST(EpollDispatcherTest, RepeatsStopsAndStrikesOutWhatAHandlerRemoves) {
  QTimer repeat;
  int ticks = 0;
  QObject::connect(&repeat, &QTimer::timeout, [&] {
    if (++ticks == 3) repeat.stop();
  });
  repeat.start(2);
  ASSERT_TRUE(WaitFor([&] { return ticks == 3; }));
  Spin(20);
  EXPECT_EQ(ticks, 3);
  EXPECT_TRUE(QAbstractEventDispatcher::instance()->registeredTimers(&repeat).isEmpty());

  // Two sockets ready in the same turn, whose handlers each delete the other's notifier.
  std::array<int, 2> pair{};
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair.data()), 0);
  ASSERT_EQ(write(pair[0], "ab", 2), 2);
  ASSERT_EQ(write(pair[1], "ab", 2), 2);
  std::array<std::unique_ptr<QSocketNotifier>, 2> notifiers;
  int activations = 0;
  for (std::size_t i = 0; i < 2; ++i) {
    notifiers[i] = std::make_unique<QSocketNotifier>(pair[i], QSocketNotifier::Read);
    QObject::connect(notifiers[i].get(), &QSocketNotifier::activated, [&, i] {
      ++activations;
      std::array<char, 2> bytes{};
      ASSERT_EQ(read(pair[i], bytes.data(), 2), 2);
      notifiers[1 - i].reset();
    });
  }
  Spin(30);
  EXPECT_EQ(activations, 1);

  // A plain file, which epoll refuses, is always ready, as poll(2) says.
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::tmpfile(), &std::fclose);
  QSocketNotifier onFile(fileno(file.get()), QSocketNotifier::Read);
  bool fileReady = false;
  QObject::connect(&onFile, &QSocketNotifier::activated, [&] {
    fileReady = true;
    onFile.setEnabled(false);
  });
  EXPECT_TRUE(WaitFor([&] { return fileReady; }, 1000));
  close(pair[0]);
  close(pair[1]);
}

}  // namespace
}  // namespace quarn::server
