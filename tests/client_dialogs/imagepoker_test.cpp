#include "client/ui/imagepoker.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "client/ui/artwork.h"
#include "tests/client_dialogs/qt_fixture.h"

namespace quarn::client {
namespace {

TEST(ImagePoker, StartsHiddenAndLoweredAndRisesByThirtyOnce) {
  QtApp();
  QWidget panel;
  TImagePoker image(&panel);
  EXPECT_FALSE(image.isVisibleTo(&panel));
  EXPECT_EQ(image.size(), QSize(71, 96));
  EXPECT_FALSE(image.Moved());
  EXPECT_TRUE(image.IsBlank());
  image.move(16, 33);
  image.SetMoved(true);
  image.SetMoved(true);
  EXPECT_EQ(image.pos(), QPoint(16, 3));
  image.SetMoved(false);
  EXPECT_EQ(image.pos(), QPoint(16, 33));

  image.Move();
  EXPECT_EQ(image.pos(), QPoint(16, 3));
  EXPECT_TRUE(image.property("moved").toBool());
  image.Move();
  EXPECT_EQ(image.pos(), QPoint(16, 33));
  EXPECT_FALSE(image.Moved());
}

TEST(ImagePoker, DrawsClearsAndIgnoresAMissingPicture) {
  QtApp();
  TImagePoker image;
  image.PokerDraw(QPixmap());  // no picture: nothing happens
  EXPECT_TRUE(image.IsBlank());
  image.PokerDraw(LoadCardBitmap(54, 2.0));
  EXPECT_FALSE(image.IsBlank());
  QImage shown = Pixels(image.Canvas());
  EXPECT_EQ(image.Canvas().devicePixelRatio(), 2.0);  // stays sharp on a high-DPI screen
  EXPECT_EQ(shown.pixelColor(shown.width() / 2, shown.height() - 4).alpha(), 255);
  image.PokerClear();
  EXPECT_TRUE(image.IsBlank());
  shown = Pixels(image.Canvas());
  EXPECT_EQ(shown.pixelColor(shown.width() / 2, shown.height() / 2).alpha(), 0);
}

TEST(ImagePoker, LeftClickReportsTheCardAndTheHandlerRaisesIt) {
  QtApp();
  QWidget panel;
  panel.resize(200, 200);
  TImagePoker image(&panel);
  image.move(10, 40);
  image.show();
  panel.show();
  QSignalSpy spy(&image, &TImagePoker::clicked);
  // The table window toggles the card on a click; here the handler does just that.
  QObject::connect(&image, &TImagePoker::clicked, [](TImagePoker* self) { self->Move(); });
  QTest::mouseClick(&image, Qt::LeftButton, {}, QPoint(5, 50));
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.at(0).at(0).value<TImagePoker*>(), &image);
  EXPECT_EQ(image.pos(), QPoint(10, 10));
  QTest::mouseClick(&image, Qt::RightButton, {}, QPoint(5, 50));
  EXPECT_EQ(spy.count(), 1);
  QTest::mouseClick(&image, Qt::LeftButton, {}, QPoint(5, 50));
  EXPECT_EQ(image.pos(), QPoint(10, 40));
}

}  // namespace
}  // namespace quarn::client
