// One QApplication for the whole test binary, made on first use.
#pragma once

#include <QApplication>

namespace quarn::client {

inline QApplication& QtApp() {
  static int argc = 1;
  static char name[] = "test_client_dialogs";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  return app;
}

}  // namespace quarn::client
