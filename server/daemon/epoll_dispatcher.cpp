#include "server/daemon/epoll_dispatcher.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QTimerEvent>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <utility>

namespace quarn::server {
namespace {

constexpr int kEventsPerTurn = 512;  // more ready ones stay ready for the next turn

// What poll(2) would report for each kind of notifier, as Qt's Unix loop reads it.
constexpr std::array<std::uint32_t, 3> kWakesNotifier = {
    EPOLLIN | EPOLLHUP | EPOLLERR,   // QSocketNotifier::Read
    EPOLLOUT | EPOLLHUP | EPOLLERR,  // QSocketNotifier::Write
    EPOLLPRI | EPOLLHUP | EPOLLERR,  // QSocketNotifier::Exception
};
constexpr std::array<std::uint32_t, 3> kWatchFor = {EPOLLIN, EPOLLOUT, EPOLLPRI};

std::size_t Slot(const QSocketNotifier* notifier) {
  return static_cast<std::size_t>(notifier->type());
}

}  // namespace

EpollDispatcher::EpollDispatcher()
    : epoll_(epoll_create1(EPOLL_CLOEXEC)), wake_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (!Valid()) return;
  epoll_event event{};
  event.events = EPOLLIN;
  event.data.fd = wake_;
  if (epoll_ctl(epoll_, EPOLL_CTL_ADD, wake_, &event) != 0) {
    close(wake_);
    wake_ = -1;
  }
}

EpollDispatcher::~EpollDispatcher() {
  if (epoll_ >= 0) close(epoll_);
  if (wake_ >= 0) close(wake_);
}

bool EpollDispatcher::processEvents(QEventLoop::ProcessEventsFlags flags) {
  interrupted_.store(false);
  emit awake();
  QCoreApplication::sendPostedEvents();
  // A post or an interrupt after this point writes to wake_, so the wait ends at once.
  const bool mayWait = flags.testFlag(QEventLoop::WaitForMoreEvents) && !interrupted_.load();
  if (mayWait) emit aboutToBlock();
  if (interrupted_.load()) return false;

  const bool timersToo = !flags.testFlag(QEventLoop::X11ExcludeTimers);
  const bool socketsToo = !flags.testFlag(QEventLoop::ExcludeSocketNotifiers);
  std::array<epoll_event, kEventsPerTurn> events{};
  const int got = epoll_wait(epoll_, events.data(), kEventsPerTurn, WaitMs(mayWait, timersToo));
  int handled = 0;
  std::vector<QSocketNotifier*> batch;
  for (int i = 0; i < got; ++i) {
    const int fd = events[static_cast<std::size_t>(i)].data.fd;
    if (fd == wake_) {
      std::uint64_t count = 0;
      while (read(wake_, &count, sizeof count) > 0) {
      }
      ++handled;
    } else if (socketsToo) {
      Collect(fd, events[static_cast<std::size_t>(i)].events, batch);
    }
  }
  if (socketsToo && alwaysReady_ > 0) {
    for (const auto& [fd, watched] : watched_) {
      if (watched.alwaysReady) Collect(fd, EPOLLIN | EPOLLOUT, batch);
    }
  }
  handled += Activate(batch);
  if (timersToo) handled += ActivateTimers();
  return handled > 0;
}

int EpollDispatcher::WaitMs(bool mayWait, bool timersToo) const {
  if (!mayWait || alwaysReady_ > 0) return 0;
  if (!timersToo || timers_.empty()) return -1;
  Clock::time_point first = timers_.front().due;
  for (const Timer& timer : timers_) first = std::min(first, timer.due);
  // Rounded up: a wait never ends before the timer is due.
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(first - Clock::now()).count();
  return static_cast<int>(std::clamp<std::int64_t>(wait, 0, INT_MAX));
}

void EpollDispatcher::Collect(int fd, std::uint32_t events, std::vector<QSocketNotifier*>& batch) {
  const auto it = watched_.find(fd);
  if (it == watched_.end()) return;
  for (std::size_t slot = 0; slot < kWakesNotifier.size(); ++slot) {
    QSocketNotifier* notifier = it->second.notifiers[slot];
    if (notifier != nullptr && (events & kWakesNotifier[slot]) != 0) batch.push_back(notifier);
  }
}

int EpollDispatcher::Activate(std::vector<QSocketNotifier*>& batch) {
  // A notifier that a handler unregisters (or deletes) meanwhile is struck out of the batch.
  activating_.push_back(&batch);
  int activated = 0;
  for (QSocketNotifier*& notifier : batch) {
    if (notifier == nullptr) continue;
    QSocketNotifier* const current = std::exchange(notifier, nullptr);
    QEvent event(QEvent::SockAct);
    QCoreApplication::sendEvent(current, &event);
    ++activated;
  }
  activating_.pop_back();
  return activated;
}

int EpollDispatcher::ActivateTimers() {
  const Clock::time_point now = Clock::now();
  std::vector<std::pair<Clock::time_point, int>> due;
  for (const Timer& timer : timers_) {
    if (timer.due <= now) due.emplace_back(timer.due, timer.id);
  }
  // By due time; those due together in the order they were started.
  std::stable_sort(due.begin(), due.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  int fired = 0;
  for (const auto& [when, id] : due) {
    // A handler may have killed or restarted this one meanwhile.
    const auto it = std::find_if(timers_.begin(), timers_.end(),
                                 [id = id](const Timer& timer) { return timer.id == id; });
    if (it == timers_.end() || it->due > now) continue;
    const std::chrono::milliseconds interval(it->interval);
    it->due = it->due + interval > now ? it->due + interval : now + interval;
    QObject* const object = it->object;
    QTimerEvent event(id);
    QCoreApplication::sendEvent(object, &event);
    ++fired;
  }
  return fired;
}

void EpollDispatcher::registerSocketNotifier(QSocketNotifier* notifier) {
  const int fd = static_cast<int>(notifier->socket());
  Watched& watched = watched_[fd];
  watched.notifiers[Slot(notifier)] = notifier;
  Update(fd, watched);
}

void EpollDispatcher::unregisterSocketNotifier(QSocketNotifier* notifier) {
  for (std::vector<QSocketNotifier*>* batch : activating_) {
    std::replace(batch->begin(), batch->end(), notifier, static_cast<QSocketNotifier*>(nullptr));
  }
  const int fd = static_cast<int>(notifier->socket());
  const auto it = watched_.find(fd);
  if (it == watched_.end() || it->second.notifiers[Slot(notifier)] != notifier) return;
  it->second.notifiers[Slot(notifier)] = nullptr;
  Update(fd, it->second);
}

// Tells epoll what the descriptor's notifiers wait for; forgets it when none is left.
void EpollDispatcher::Update(int fd, Watched& watched) {
  std::uint32_t mask = 0;
  for (std::size_t slot = 0; slot < kWatchFor.size(); ++slot) {
    if (watched.notifiers[slot] != nullptr) mask |= kWatchFor[slot];
  }
  if (mask == 0) {
    if (watched.inEpoll) epoll_ctl(epoll_, EPOLL_CTL_DEL, fd, nullptr);
    if (watched.alwaysReady) --alwaysReady_;
    watched_.erase(fd);
    return;
  }
  if (watched.alwaysReady) return;
  epoll_event event{};
  event.events = mask;
  event.data.fd = fd;
  // A descriptor closed behind our back left epoll by itself; its number may be back.
  int result = epoll_ctl(epoll_, watched.inEpoll ? EPOLL_CTL_MOD : EPOLL_CTL_ADD, fd, &event);
  if (result != 0 && errno == ENOENT) result = epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event);
  if (result != 0 && errno == EEXIST) result = epoll_ctl(epoll_, EPOLL_CTL_MOD, fd, &event);
  watched.inEpoll = result == 0;
  if (result != 0 && errno == EPERM) {  // a plain file: poll(2) calls it always ready
    watched.alwaysReady = true;
    ++alwaysReady_;
  }
}

void EpollDispatcher::registerTimer(int timerId, qint64 interval, Qt::TimerType timerType,
                                    QObject* object) {
  timers_.push_back({timerId, std::max<qint64>(interval, 0), timerType, object,
                     Clock::now() + std::chrono::milliseconds(interval)});
}

bool EpollDispatcher::unregisterTimer(int timerId) {
  return std::erase_if(timers_, [timerId](const Timer& timer) { return timer.id == timerId; }) > 0;
}

bool EpollDispatcher::unregisterTimers(QObject* object) {
  return std::erase_if(timers_, [object](const Timer& timer) { return timer.object == object; }) >
         0;
}

QList<QAbstractEventDispatcher::TimerInfo> EpollDispatcher::registeredTimers(
    QObject* object) const {
  QList<TimerInfo> list;
  for (const Timer& timer : timers_) {
    if (timer.object == object) {
      list.append(TimerInfo(timer.id, static_cast<int>(timer.interval), timer.type));
    }
  }
  return list;
}

int EpollDispatcher::remainingTime(int timerId) {
  for (const Timer& timer : timers_) {
    if (timer.id != timerId) continue;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(timer.due - Clock::now());
    return static_cast<int>(std::max<std::int64_t>(left.count(), 0));
  }
  return -1;
}

void EpollDispatcher::wakeUp() {
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = write(wake_, &one, sizeof one);
}

void EpollDispatcher::interrupt() {
  interrupted_.store(true);
  wakeUp();
}

}  // namespace quarn::server
