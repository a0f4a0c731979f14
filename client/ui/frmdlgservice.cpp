#include "client/ui/frmdlgservice.h"

namespace quarn::client {

TDlgService::TDlgService(QWidget* parent)
    : TDlgIconPicker("SERVICE_", kOffered, tr("选择服务项目的窗口"), parent) {}

}  // namespace quarn::client
