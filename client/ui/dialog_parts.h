// Small builders the dialogs share.
#pragma once

#include <QLabel>
#include <QString>

namespace quarn::client {

// A label at (x, y), as large as its text; owned by `parent`.
inline QLabel* MakeLabel(const QString& text, int x, int y, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->move(x, y);
  label->adjustSize();
  return label;
}

}  // namespace quarn::client
