// Shared helpers of the widget tests: the application, a recorder that takes
// message boxes instead of showing them, and screenshots for people.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <vector>

#include "client/ui/msgbox.h"
#include "tests/support/child_process.h"

namespace quarn::client {

// The application made by the test program's main (main.cpp).
inline QApplication& QtApp() {
  return *qobject_cast<QApplication*>(QCoreApplication::instance());
}

// Records every message box while it lives.
struct MessageRecorder {
  MessageRecorder()
      : previous(SetMessageHook([this](const ShownMessage& m) { messages.push_back(m); })) {}
  ~MessageRecorder() { SetMessageHook(previous); }
  std::vector<ShownMessage> messages;
  MessageHook previous;
};

inline void ExpectBox(const ShownMessage& shown, const QString& text, const QString& caption,
                      MsgIcon icon) {
  EXPECT_EQ(shown.text + "|" + shown.caption, text + "|" + caption);
  EXPECT_EQ(shown.icon, icon);
}

inline QImage Pixels(const QPixmap& pixmap) {
  return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

// Saves the window's picture as `file` in $QUARN_SHOTS when that names a folder.
inline void Shot(QWidget& window, const char* file) {
  const QString folder = qEnvironmentVariable("QUARN_SHOTS");
  if (folder.isEmpty()) return;
  window.show();
  QApplication::processEvents();
  EXPECT_TRUE(window.grab().save(QDir(folder).filePath(file))) << file;
}

}  // namespace quarn::client
