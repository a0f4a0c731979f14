// quarnd's event loop (which every case of this program runs on): what the
// socket layer's cases do not reach, and its turns driven by hand.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>
#include <QAbstractEventDispatcher>
#include <QSocketNotifier>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>
#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace quarn::server {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Keeps the ids of its timers in the order they fired.
class TimerLog final : public QObject {
 public:
  std::vector<int> fired;

 protected:
  void timerEvent(QTimerEvent* event) override { fired.push_back(event->timerId()); }
};

// The blocking turns the loop takes until `done()` (100 at most).
template <typename Done>
int TurnsUntil(Done done) {
  int turns = 0;
  for (; !done() && turns < 100; ++turns) {
    QAbstractEventDispatcher::instance()->processEvents(QEventLoop::WaitForMoreEvents);
  }
  return turns;
}

TEST(EpollDispatcherTest, ABlockingTurnEndsWhenTheFirstTimerIsDueNotBefore) {
  TimerLog log;
  const auto start = Clock::now();
  const std::vector<int> ids = {log.startTimer(60), log.startTimer(30), log.startTimer(30)};
  EXPECT_LE(TurnsUntil([&] { return log.fired.size() >= 2; }), 3);  // it blocked, not spun
  EXPECT_GE(Clock::now() - start, 30ms);
  TurnsUntil([&] { return log.fired.size() >= 3; });
  EXPECT_GE(Clock::now() - start, 60ms);
  // Due together: in the order they were started.
  EXPECT_EQ(std::vector<int>(log.fired.begin(), log.fired.begin() + 3),
            (std::vector<int>{ids[1], ids[2], ids[0]}));
  auto* loop = QAbstractEventDispatcher::instance();
  EXPECT_TRUE(loop->unregisterTimers(&log));
  EXPECT_EQ(loop->remainingTime(ids[0]), -1);
}

// A guard timer ends a turn that nothing else wakes, and fails the case.
TEST(EpollDispatcherTest, APostAWakeUpOrAnInterruptFromAnotherThreadEndsABlockingTurn) {
  auto* loop = QAbstractEventDispatcher::instance();
  TimerLog guard;
  guard.startTimer(5000);
  bool posted = false;
  const std::array<std::function<void()>, 3> pokes = {
      [&] {
        QMetaObject::invokeMethod(
            &guard, [&] { posted = true; }, Qt::QueuedConnection);
      },
      [&] { loop->wakeUp(); }, [&] { loop->interrupt(); }};
  for (const auto& poke : pokes) {
    std::jthread other([&] {
      std::this_thread::sleep_for(20ms);
      poke();
    });
    loop->processEvents(QEventLoop::WaitForMoreEvents);
  }
  EXPECT_TRUE(posted);
  TimerLog log;  // after the interrupt, a turn blocks until its timer again
  log.startTimer(20);
  EXPECT_LE(TurnsUntil([&] { return !log.fired.empty(); }), 3);
  EXPECT_TRUE(guard.fired.empty());
}

TEST(EpollDispatcherTest, RepeatsStopsAndStrikesOutWhatAHandlerRemoves) {
  QTimer repeat;
  int ticks = 0;
  QObject::connect(&repeat, &QTimer::timeout, [&] {
    if (++ticks == 3) repeat.stop();
  });
  repeat.start(2);
  ASSERT_TRUE(QTest::qWaitFor([&] { return ticks == 3; }));
  QTest::qWait(20);
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
  QTest::qWait(30);
  EXPECT_EQ(activations, 1);

  // A plain file, which epoll refuses, is always ready, as poll(2) says.
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::tmpfile(), &std::fclose);
  QSocketNotifier onFile(fileno(file.get()), QSocketNotifier::Read);
  bool fileReady = false;
  QObject::connect(&onFile, &QSocketNotifier::activated, [&] {
    fileReady = true;
    onFile.setEnabled(false);
  });
  EXPECT_TRUE(QTest::qWaitFor([&] { return fileReady; }, 1000));
  close(pair[0]);
  close(pair[1]);
}

}  // namespace
}  // namespace quarn::server
