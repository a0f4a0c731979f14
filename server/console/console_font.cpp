#include "server/console/console_font.h"

#include <QStringList>

namespace quarn::server {

QFont ConsoleFont() {
  QFont font;
  font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                    QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Serif CJK SC"),
                    QStringLiteral("WenQuanYi Zen Hei")});
  font.setPixelSize(12);
  return font;
}

}  // namespace quarn::server
