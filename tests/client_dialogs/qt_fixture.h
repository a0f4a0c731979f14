// Shared helpers of the widget tests: one QApplication, a recorder that takes
// message boxes instead of showing them, and screenshots for people.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <string>
#include <vector>

#include "client/ui/msgbox.h"
#include "tests/support/child_process.h"

namespace quarn::client {

// The application made by the test program's main (main.cpp).
inline QApplication& QtApp() {
  return *qobject_cast<QApplication*>(QCoreApplication::instance());
}

// Records every message box while it lives.
class MessageRecorder {
 public:
  MessageRecorder() {
    previous_ = SetMessageHook([this](const ShownMessage& m) { messages.push_back(m); });
  }
  ~MessageRecorder() { SetMessageHook(previous_); }
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  std::vector<ShownMessage> messages;

 private:
  MessageHook previous_;
};

// One message box: its text, caption and icon.
inline void ExpectBox(const ShownMessage& shown, const QString& text, const QString& caption,
                      MsgIcon icon) {
  EXPECT_EQ(shown.text, text);
  EXPECT_EQ(shown.caption, caption);
  EXPECT_EQ(shown.icon, icon);
}

inline QImage Pixels(const QPixmap& pixmap) {
  return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

// Saves `picture` as `file` in $QUARN_SHOTS when that names a folder, for a person to look at.
inline void Shot(const QPixmap& picture, const char* file) {
  const QString folder = qEnvironmentVariable("QUARN_SHOTS");
  EXPECT_TRUE(folder.isEmpty() || picture.save(QDir(folder).filePath(file))) << file;
}

inline void Shot(QWidget& window, const char* file) {
  if (qEnvironmentVariableIsEmpty("QUARN_SHOTS")) return;
  window.show();
  QApplication::processEvents();
  Shot(window.grab(), file);
}

}  // namespace quarn::client
