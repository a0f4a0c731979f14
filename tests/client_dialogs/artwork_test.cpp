#include "client/ui/artwork.h"

#include <gtest/gtest.h>

#include <set>

#include "tests/client_dialogs/qt_fixture.h"

namespace quarn::client {
namespace {

QSize ExpectedSize(const std::string& name) {
  if (name.starts_with("CARD_") || name.starts_with("BKGRND_")) return {71, 96};
  if (name.starts_with("CARDS_")) return {75, 98};
  if (name == "BITMAP_CAP") return {16, 16};
  return {32, 32};
}

// True when the region holds a clearly red pixel.
bool HasRed(const QImage& image, QRect region) {
  for (int y = region.top(); y <= region.bottom(); ++y) {
    for (int x = region.left(); x <= region.right(); ++x) {
      QColor c = image.pixelColor(x, y);
      if (c.red() > 150 && c.green() < 90 && c.blue() < 90) return true;
    }
  }
  return false;
}

TEST(Artwork, EveryNameGivesAPictureOfItsSizeAtAnyPixelRatio) {
  QtApp();
  const std::vector<std::string> names = AllResourceNames();
  EXPECT_EQ(names.size(), 54U + 40U + 22U + 6U + 6U + 1U);
  for (qreal ratio : {1.0, 2.0}) {
    for (const std::string& name : names) {
      QPixmap pixmap = ResourceBitmap(name, ratio);
      ASSERT_FALSE(pixmap.isNull()) << name;
      EXPECT_EQ(pixmap.deviceIndependentSize().toSize(), ExpectedSize(name)) << name;
      EXPECT_EQ(pixmap.size(), ExpectedSize(name) * ratio) << name;
      EXPECT_EQ(ResourceSize(name), ExpectedSize(name)) << name;
    }
  }
  // Drawn once: a second look-up is the same shared pixmap.
  EXPECT_EQ(ResourceBitmap("CARD_2", 1.0).cacheKey(), ResourceBitmap("CARD_2", 1.0).cacheKey());
}

TEST(Artwork, NamesOfCardsAndIconsAndNamesWithoutAPicture) {
  QtApp();
  for (const char* name :
       {"CARD_1", "CARD_56", "CARD_02", "CARD_", "card_2", "BITMAP_0", "BITMAP_41", "BITMAP_CAP2",
        "SERVICE_23", "SERVICE_-1", "CARDS_7", "BKGRND_0", "", "CARD_2 "}) {
    EXPECT_TRUE(ResourceBitmap(name).isNull()) << name;
    EXPECT_TRUE(ResourceSize(name).isEmpty()) << name;
  }
  EXPECT_TRUE(LoadCardBitmap(0).isNull());
  EXPECT_TRUE(LoadCardBitmap(109).isNull());
  EXPECT_TRUE(LoadCardBitmap(-1).isNull());
  EXPECT_EQ(BitmapName(0), "BITMAP_1");
  EXPECT_EQ(BitmapName(41), "BITMAP_1");
  EXPECT_EQ(BitmapName(40), "BITMAP_40");
  EXPECT_EQ(ServiceName(3), "SERVICE_3");
  EXPECT_EQ(ServiceName(255), "SERVICE_-1");  // a byte read as signed, unchecked
  // Both decks share their faces: 107 is the small joker, CARD_54.
  EXPECT_EQ(Pixels(LoadCardBitmap(107, 1.0)), Pixels(ResourceBitmap("CARD_54", 1.0)));
  EXPECT_EQ(Pixels(LoadCardBitmap(55, 1.0)), Pixels(LoadCardBitmap(1, 1.0)));
  EXPECT_EQ(Pixels(LoadCardBitmap(108, 1.0)), Pixels(ResourceBitmap("CARD_55", 1.0)));
}

TEST(Artwork, EveryPictureDiffersFromEveryOther) {
  QtApp();
  std::set<QByteArray> seen;
  for (const std::string& name : AllResourceNames()) {
    QImage image = Pixels(ResourceBitmap(name, 1.0));
    QByteArray bytes(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
    EXPECT_TRUE(seen.insert(bytes).second) << name << " looks like another picture";
  }
}

TEST(Artwork, SuitColoursAndJokersShowInTheVisibleCornerStrip) {
  QtApp();
  // Only the left 15 px of a card show in the hand: colour must be told there.
  const QRect strip(0, 0, 15, 32);
  for (int card = 1; card <= 52; ++card) {
    const int suit = (card - 1) % 4;
    const bool red = suit == 0 || suit == 2;
    EXPECT_EQ(HasRed(Pixels(LoadCardBitmap(card, 1.0)), strip), red) << "card " << card;
  }
  EXPECT_FALSE(HasRed(Pixels(LoadCardBitmap(53, 1.0)), strip));  // small joker: black
  EXPECT_TRUE(HasRed(Pixels(LoadCardBitmap(54, 1.0)), strip));   // big joker: red
  // The corners of two ranks of one suit differ (the rank is readable there).
  EXPECT_NE(Pixels(LoadCardBitmap(1, 1.0)).copy(strip), Pixels(LoadCardBitmap(5, 1.0)).copy(strip));
  EXPECT_NE(Pixels(LoadCardBitmap(29, 1.0)).copy(strip),
            Pixels(LoadCardBitmap(49, 1.0)).copy(strip));
}

}  // namespace
}  // namespace quarn::client
