// TDlgHead: the picker of the 40 head icons, opened from the login window.
#pragma once

#include "client/ui/frmdlgicons.h"

namespace quarn::client {

class TDlgHead : public TDlgIconPicker {
  Q_OBJECT

 public:
  explicit TDlgHead(QWidget* parent = nullptr);
};

}  // namespace quarn::client
