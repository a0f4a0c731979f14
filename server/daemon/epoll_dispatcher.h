// quarnd's event loop on Linux epoll. Qt's own Unix loop hands every socket
// to poll(2) on every turn, so with a thousand players each request costs a
// walk over a thousand sockets (three quarters of the server's time when the
// players think between moves); here a turn costs the sockets that are ready.
// Level-triggered, so a notifier sees what poll(2) would show it; timers and
// posted events behave as in Qt's loops. For the main thread of quarnd only.
#pragma once

#include <QAbstractEventDispatcher>
#include <QSocketNotifier>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace quarn::server {

class EpollDispatcher final : public QAbstractEventDispatcher {
 public:
  EpollDispatcher();
  ~EpollDispatcher() override;
  EpollDispatcher(const EpollDispatcher&) = delete;
  EpollDispatcher& operator=(const EpollDispatcher&) = delete;

  // False when the kernel gave no epoll or eventfd descriptor: use Qt's loop.
  bool Valid() const { return epoll_ >= 0 && wake_ >= 0; }

  bool processEvents(QEventLoop::ProcessEventsFlags flags) override;
  void registerSocketNotifier(QSocketNotifier* notifier) override;
  void unregisterSocketNotifier(QSocketNotifier* notifier) override;
  void registerTimer(int timerId, qint64 interval, Qt::TimerType timerType,
                     QObject* object) override;
  bool unregisterTimer(int timerId) override;
  bool unregisterTimers(QObject* object) override;
  QList<TimerInfo> registeredTimers(QObject* object) const override;
  int remainingTime(int timerId) override;
  void wakeUp() override;
  void interrupt() override;

 private:
  using Clock = std::chrono::steady_clock;

  // The notifiers of one descriptor, by QSocketNotifier::Type (Read, Write, Exception).
  struct Watched {
    std::array<QSocketNotifier*, 3> notifiers{};
    bool inEpoll = false;
    bool alwaysReady = false;  // a file epoll refuses: ready on every turn, as poll(2) says
  };
  struct Timer {
    int id;
    qint64 interval;  // ms
    Qt::TimerType type;
    QObject* object;
    Clock::time_point due;
  };

  void Update(int fd, Watched& watched);
  int WaitMs(bool mayWait, bool timersToo) const;
  void Collect(int fd, std::uint32_t events, std::vector<QSocketNotifier*>& batch);
  int Activate(std::vector<QSocketNotifier*>& batch);
  int ActivateTimers();

  int epoll_ = -1;
  int wake_ = -1;  // an eventfd: wakeUp() from any thread
  std::atomic<bool> interrupted_{false};
  std::unordered_map<int, Watched> watched_;
  int alwaysReady_ = 0;  // how many of watched_ are
  // The batches of ready notifiers being activated (a handler may run a loop of
  // its own); one unregistered meanwhile becomes nullptr in each.
  std::vector<std::vector<QSocketNotifier*>*> activating_;
  std::vector<Timer> timers_;
};

}  // namespace quarn::server
