// Screenshots for people: with QUARN_SHOTS set to a folder, the windows and a
// sheet of every picture are saved there as PNG. Without it nothing is written.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <cstdlib>

#include "client/ui/artwork.h"
#include "tests/client_dialogs/qt_fixture.h"

namespace quarn::client {
namespace {

QString ShotsDir() {
  return QString::fromLocal8Bit(std::getenv("QUARN_SHOTS"));
}

TEST(Screenshots, SheetOfAllPictures) {
  QtApp();
  if (ShotsDir().isEmpty()) GTEST_SKIP() << "set QUARN_SHOTS to a folder to save screenshots";
  const qreal ratio = 2.0;
  const int columns = 14;
  QPixmap sheet(QSize(columns * 78 + 8, 8 * 104 + 8) * ratio);
  sheet.setDevicePixelRatio(ratio);
  sheet.fill(QColor(0, 110, 60));
  QPainter p(&sheet);
  int index = 0;
  for (int card = 1; card <= 54; ++card, ++index) {
    p.drawPixmap(8 + (index % columns) * 78, 8 + (index / columns) * 104,
                 LoadCardBitmap(card, ratio));
  }
  for (int back = 1; back <= 6; ++back, ++index) {
    std::string name =
        back <= 3 ? "BKGRND_" + std::to_string(back) : "CARDS_" + std::to_string(back);
    p.drawPixmap(8 + (index % columns) * 78, 8 + (index / columns) * 104,
                 ResourceBitmap(name, ratio));
  }
  int top = 8 + 5 * 104;
  int iconIndex = 0;
  for (const std::string& name : AllResourceNames()) {
    if (!name.starts_with("BITMAP_") && !name.starts_with("SERVICE_")) continue;
    p.drawPixmap(8 + (iconIndex % 31) * 35, top + (iconIndex / 31) * 36,
                 ResourceBitmap(name, ratio));
    ++iconIndex;
  }
  p.drawPixmap(8 + (iconIndex % 31) * 35, top + (iconIndex / 31) * 36,
               ResourceBitmap("BITMAP_CAP", ratio));
  p.end();
  ASSERT_TRUE(sheet.save(QDir(ShotsDir()).filePath("artwork_sheet.png")));
}

}  // namespace
}  // namespace quarn::client
