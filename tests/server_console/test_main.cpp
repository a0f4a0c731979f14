// The widget tests run inside one QApplication that outlives every test and is
// gone before the static objects of Qt and QTest are torn down.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Test discovery runs without the test environment; with no display at all
  // the window tests still run, off screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
