#include "client/ui/artwork.h"

#include <gtest/gtest.h>

#include <set>

#include "tests/support/widgets/qt_fixture.h"

namespace quarn::client {
namespace {

QSize ExpectedSize(const std::string& name) {
  if (name.starts_with("CARD_") || name.starts_with("BKGRND_")) return {71, 96};
  if (name.starts_with("CARDS_")) return {75, 98};
  return name == "BITMAP_CAP" ? QSize(16, 16) : QSize(32, 32);
}

// Every picture has its size at any pixel ratio and differs from every other;
// other names have none.
TEST(Artwork, EveryNameGivesItsOwnPictureOfItsSizeAtAnyPixelRatio) {
  const std::vector<std::string> names = AllResourceNames();
  EXPECT_EQ(names.size(), 54U + 40U + 22U + 6U + 6U + 1U);
  std::set<QByteArray> seen;
  for (qreal ratio : {1.0, 2.0}) {
    for (const std::string& name : names) {
      QPixmap pixmap = ResourceBitmap(name, ratio);
      ASSERT_FALSE(pixmap.isNull()) << name;
      EXPECT_EQ(pixmap.deviceIndependentSize().toSize(), ExpectedSize(name)) << name;
      EXPECT_EQ(pixmap.size(), ExpectedSize(name) * ratio) << name;
      EXPECT_EQ(ResourceSize(name), ExpectedSize(name)) << name;
      const QImage image = Pixels(pixmap);
      const QByteArray bytes(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
      EXPECT_TRUE(seen.insert(bytes).second) << name << " looks like another picture";
    }
  }
  for (const char* name :
       {"CARD_1", "CARD_56", "CARD_02", "CARD_", "card_2", "BITMAP_0", "BITMAP_41", "BITMAP_CAP2",
        "SERVICE_23", "SERVICE_-1", "CARDS_7", "BKGRND_0", "", "CARD_2 "}) {
    EXPECT_TRUE(ResourceBitmap(name).isNull() && ResourceSize(name).isEmpty()) << name;
  }
  for (const int card : {0, 109, -1}) EXPECT_TRUE(LoadCardBitmap(card).isNull()) << card;
  EXPECT_EQ(BitmapName(0) + BitmapName(41) + BitmapName(40), "BITMAP_1BITMAP_1BITMAP_40");
  EXPECT_EQ(ServiceName(3) + ServiceName(255), "SERVICE_3SERVICE_-1");  // a byte read as signed
}

// True when the region holds a clearly red pixel.
bool HasRed(const QImage& image, QRect region) {
  for (int y = region.top(); y <= region.bottom(); ++y) {
    for (int x = region.left(); x <= region.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.red() > 150 && c.green() < 90 && c.blue() < 90) return true;
    }
  }
  return false;
}

TEST(Artwork, BothDecksShareFacesWhoseCornerStripTellsColourAndRank) {
  const auto face = [](int card) { return Pixels(LoadCardBitmap(card, 1.0)); };
  EXPECT_EQ(face(107), Pixels(ResourceBitmap("CARD_54", 1.0)));  // the small joker
  EXPECT_EQ(face(55), face(1));
  // Only the left 15 px of a card show in the hand: colour and rank must be told there.
  const QRect strip(0, 0, 15, 32);
  for (int card = 1; card <= 54; ++card) {
    const int suit = (card - 1) % 4;
    const bool red = card == 54 || (card < 53 && (suit == 0 || suit == 2));
    EXPECT_EQ(HasRed(face(card), strip), red) << "card " << card;
  }
  EXPECT_NE(face(1).copy(strip), face(5).copy(strip));
  EXPECT_NE(face(29).copy(strip), face(49).copy(strip));
}

}  // namespace
}  // namespace quarn::client
