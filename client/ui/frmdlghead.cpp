#include "client/ui/frmdlghead.h"

#include "client/ui/artwork.h"

namespace quarn::client {

TDlgHead::TDlgHead(QWidget* parent)
    : TDlgIconPicker("BITMAP_", kHeadIconCount, tr("玩家图标选择窗"), parent) {}

}  // namespace quarn::client
