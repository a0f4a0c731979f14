// The font of the client's windows: 宋体 where the system has it, else a CJK
// font that renders Chinese text (Noto Sans CJK SC on Debian).
#pragma once

#include <QFont>

namespace quarn::client {

// The window font at `pixelSize` pixels.
QFont UiFont(int pixelSize = 12);

}  // namespace quarn::client
