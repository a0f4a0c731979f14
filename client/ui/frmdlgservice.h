// TDlgService: the picker of the service icons, opened from the login window.
#pragma once

#include "client/ui/frmdlgicons.h"

namespace quarn::client {

class TDlgService : public TDlgIconPicker {
  Q_OBJECT

 public:
  static constexpr int kOffered = 20;  // of the 22 service pictures, 20 are offered
  explicit TDlgService(QWidget* parent = nullptr);
};

}  // namespace quarn::client
