// Modal message boxes with one OK button, and a hook that lets tests take the
// message instead of showing a box that would wait for a person.
#pragma once

#include <QString>
#include <functional>

#include "client/model/display.h"

class QWidget;

namespace quarn::client {

// The model's icons, so that its messages reach the box unchanged.
using MsgIcon = MessageIcon;

struct ShownMessage {
  QString text;
  QString caption;  // "提示", "警告" or "错误"
  MsgIcon icon;
};

// Shows the box modally (the event loop keeps running) and returns when it is closed.
void ShowMessage(QWidget* parent, const QString& text, const QString& caption, MsgIcon icon);

// While a hook is set, ShowMessage hands every message to it and shows nothing.
// Returns the hook that was set before, so a test can restore it.
using MessageHook = std::function<void(const ShownMessage&)>;
MessageHook SetMessageHook(MessageHook hook);

// The captions in use.
inline const QString kBoxHint = QStringLiteral("提示");
inline const QString kBoxWarning = QStringLiteral("警告");
inline const QString kBoxError = QStringLiteral("错误");

}  // namespace quarn::client
