// 宋体 at 12 pixels, or the nearest CJK face the machine has.
#pragma once

#include <QFont>

namespace quarn::server {

QFont ConsoleFont();

}  // namespace quarn::server
