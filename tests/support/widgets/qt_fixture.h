// Shared helpers of the widget tests: the application, a recorder that takes
// message boxes instead of showing them, and screenshots for people.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "client/ui/language.h"
#include "client/ui/msgbox.h"
#include "tests/support/files.h"

namespace quarn::client {

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

// The windows made while one lives speak `language`; Chinese again afterwards.
struct ShownLanguage {
  explicit ShownLanguage(Language language) { UseLanguage(language); }
  ~ShownLanguage() { UseLanguage(Language::Chinese); }
  ShownLanguage(const ShownLanguage&) = delete;
  ShownLanguage& operator=(const ShownLanguage&) = delete;
};

// The text of a label or button (without the mnemonic marks); empty for others.
inline QString ControlText(const QWidget* w) {
  if (const auto* label = qobject_cast<const QLabel*>(w)) return label->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(w))
    return button->text().remove(QLatin1Char('&'));
  return {};
}

// Whether every line of the control's text fits inside it; a button keeps a
// few pixels for its frame. One line may use the font's leading and descent.
inline bool TextFits(const QWidget* w) {
  const QString text = ControlText(w);
  if (text.isEmpty()) return true;
  const int room = w->contentsRect().width() - (qobject_cast<const QAbstractButton*>(w) ? 6 : 0);
  const QFontMetrics metrics(w->font());
  const QStringList lines = text.split(QLatin1Char('\n'));
  return (lines.size() == 1 || lines.size() * metrics.height() <= w->contentsRect().height()) &&
         std::all_of(lines.begin(), lines.end(),
                     [&](const QString& line) { return metrics.horizontalAdvance(line) <= room; });
}

// A Chinese character or full-width sign: none may be left in the English window.
inline bool HasChinese(const QString& text) {
  return std::any_of(text.begin(), text.end(), [](QChar c) {
    return (c.unicode() >= 0x3000 && c.unicode() <= 0x9FFF) ||
           (c.unicode() >= 0xFF00 && c.unicode() <= 0xFFEF);
  });
}

// A control with text lies inside its parent and clear of the controls beside
// it (a bare frame around it aside), so nothing hides a part of its text.
inline void ExpectClearOfSiblings(const QWidget& w) {
  const QWidget* parent = w.parentWidget();
  if (parent == nullptr) return;
  EXPECT_TRUE(parent->rect().contains(w.geometry())) << ControlText(&w).toStdString();
  for (const QWidget* other : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (other == &w || !other->isVisible() || other->metaObject() == &QFrame::staticMetaObject)
      continue;
    EXPECT_FALSE(w.geometry().intersects(other->geometry()))
        << ControlText(&w).toStdString() << " under " << other->metaObject()->className();
  }
}

// Every visible label and button of `window` shows its whole text, and in
// English no text or tooltip is left in Chinese (names of people aside: the
// tests give them in Latin letters).
inline void ExpectTextsShown(const QWidget& window) {
  const bool english = CurrentLanguage() == Language::English;
  EXPECT_FALSE(english && HasChinese(window.windowTitle())) << window.windowTitle().toStdString();
  for (const QWidget* w : window.findChildren<QWidget*>()) {
    if (!w->isVisible()) continue;
    EXPECT_TRUE(TextFits(w)) << w->objectName().toStdString() << " "
                             << ControlText(w).toStdString();
    if (!ControlText(w).isEmpty()) ExpectClearOfSiblings(*w);
    if (!english) continue;
    for (const QString& text : {ControlText(w), w->toolTip(), w->windowTitle()})
      EXPECT_FALSE(HasChinese(text)) << text.toStdString();
  }
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
