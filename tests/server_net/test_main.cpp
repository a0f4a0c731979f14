// The tests run inside one QCoreApplication that outlives every test, on
// quarnd's event loop, so that the socket layer's cases run on it too.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <memory>

#include "server/daemon/epoll_dispatcher.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  auto dispatcher = std::make_unique<quarn::server::EpollDispatcher>();
  if (!dispatcher->Valid()) return 1;
  QCoreApplication::setEventDispatcher(dispatcher.release());
  QCoreApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
