// Waiting on the Qt event loop in tests, always with a deadline. The test
// program's main() makes the application.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace quarn::test {

// Runs events until `done()` holds or `ms` pass; the final value of `done()`.
template <typename Done>
bool WaitFor(Done done, int ms = 5000) {
  QDeadlineTimer deadline(ms);
  while (!done()) {
    if (deadline.hasExpired()) return done();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(1);
  }
  return true;
}

// Runs events for `ms` whatever happens.
inline void Spin(int ms) {
  WaitFor([] { return false; }, ms);
}

}  // namespace quarn::test
