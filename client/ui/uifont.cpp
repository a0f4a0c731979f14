#include "client/ui/uifont.h"

#include <QFontDatabase>
#include <QStringList>

namespace quarn::client {
namespace {

const QString& ChosenFamily() {
  static const QString family = [] {
    const QStringList families = QFontDatabase::families();
    for (const char* wanted : {"宋体", "SimSun", "NSimSun", "Noto Sans CJK SC", "Noto Serif CJK SC",
                               "WenQuanYi Zen Hei", "AR PL UMing CN"}) {
      QString name = QString::fromUtf8(wanted);
      if (families.contains(name, Qt::CaseInsensitive)) return name;
    }
    return QString();  // the platform default; Chinese may fall back per glyph
  }();
  return family;
}

}  // namespace

QFont UiFont(int pixelSize) {
  QFont font;
  if (!ChosenFamily().isEmpty()) font.setFamily(ChosenFamily());
  font.setPixelSize(pixelSize);
  return font;
}

}  // namespace quarn::client
