// Waiting on the Qt event loop in tests, always with a deadline.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace quarn::test {

// The one QCoreApplication of the test program, made on first use.
inline QCoreApplication& TestApp() {
  static int argc = 1;
  static char name[] = "test_server_net";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

// A first base class for fixtures whose members need the application already.
struct WithTestApp {
  WithTestApp() { TestApp(); }
};

// Runs events until `done()` holds or `ms` pass; the final value of `done()`.
template <typename Done>
bool WaitFor(Done done, int ms = 5000) {
  TestApp();
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
