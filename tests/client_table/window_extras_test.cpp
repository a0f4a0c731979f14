// The table as it grows with the window, and the keys, drags and right clicks
// that play it.
#include <gtest/gtest.h>
#include <QTest>

#include "table_fixture.h"

namespace quarn::client::testing {
namespace {

// Mid-game with everything shown: long names, the counter, each seat's last move.
void MidGame(TableFixture& t) {
  if (CurrentLanguage() == Language::English) {
    t.names = {"Zhang San", "Li Si Junior", "Wang Wu", "Zhao Liuliuliu"};
  } else {
    t.names = {"张三", "李四小朋友", "王五", "赵六六六六六六"};
  }
  t.StartPlay(0, 0);
  t.form.ShowCardCounter(true);
  t.Feed(PlayNotice(0, {1}));
  t.Feed(PlayNotice(1, {30}));
  t.Feed(PlayNotice(2, {}));
  t.Feed(PlayNotice(3, {33, 34, 35, 36}));
  t.Feed(PlayTurn(0));
}

class TableScale : public ::testing::TestWithParam<Language> {};

TEST_P(TableScale, EveryControlInsideTheWindowAndNoneOverlappingNorClipped) {
  const ShownLanguage language(GetParam());
  TableFixture t;
  MidGame(t);
  TMainForm& f = t.form;
  const bool english = GetParam() == Language::English;
  Shot(f, english ? "table_midgame_en.png" : "table_midgame.png");
  for (const QSize size : {QSize(632, 453), QSize(948, 680), QSize(1264, 906), QSize(1280, 800)}) {
    f.resize(size);
    QApplication::processEvents();
    SCOPED_TRACE(::testing::Message() << size.width() << "x" << size.height());
    const qreal scale = std::min(size.width() / 632.0, size.height() / 453.0);
    EXPECT_DOUBLE_EQ(f.TableScale(), scale);
    EXPECT_EQ(f.HandImage(0)->height(), qRound(96 * scale));
    if (english && size.width() == 1264) Shot(f, "table_midgame_en_scale2.png");
    std::vector<QWidget*> shown;
    for (QWidget* w : f.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      // The landlord mark sits on the corner of a head image on purpose.
      if (w->isVisible() && w != f.ImageLord()) shown.push_back(w);
    }
    ASSERT_GT(shown.size(), 30U);
    for (std::size_t i = 0; i < shown.size(); ++i) {
      EXPECT_TRUE(f.rect().contains(shown[i]->geometry())) << shown[i]->objectName().toStdString();
      for (std::size_t j = i + 1; j < shown.size(); ++j) {
        EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
            << shown[i]->objectName().toStdString() << " " << shown[j]->objectName().toStdString();
      }
    }
    ExpectTextsShown(f);
  }
  EXPECT_EQ(f.SeatActView(0)->Text(), QStringLiteral("3"));
  EXPECT_EQ(f.SeatActView(2)->Text(), english ? QStringLiteral("Pass") : QStringLiteral("不要"));
  EXPECT_EQ(f.SeatActView(1)->Text(), QStringLiteral("J J J J"));  // seat 3, left
  EXPECT_EQ(f.CardCounter()->Tally()[8], 7);                       // one 10 laid
}

INSTANTIATE_TEST_SUITE_P(Languages, TableScale,
                         ::testing::Values(Language::Chinese, Language::English),
                         [](const auto& param) { return std::string(LanguageCode(param.param)); });

TEST(TableKeys, KeysDragsAndRightClicksPlayTheHand) {
  TableFixture t;
  t.StartPlay(0, 0);  // our lead, 33 cards
  TMainForm& f = t.form;
  QTest::keyClick(&f, Qt::Key_Right);
  QTest::keyClick(&f, Qt::Key_Right);
  QTest::keyClick(&f, Qt::Key_Space);
  EXPECT_TRUE(f.HandImage(1)->Moved());
  EXPECT_TRUE(f.HandImage(1)->CursorMark());
  QTest::keyClick(&f, Qt::Key_Escape);
  EXPECT_FALSE(f.HandImage(1)->Moved());
  // A drag from the fourth card to the sixth, then a right click plays the three 4s.
  QTest::mousePress(f.HandImage(4), Qt::LeftButton);
  QMouseEvent move(QEvent::MouseMove,
                   QPointF(f.HandImage(6)->pos() - f.HandImage(4)->pos() + QPoint(5, 5)), QPointF(),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(f.HandImage(4), &move);
  QTest::mouseRelease(f.HandImage(4), Qt::LeftButton);
  EXPECT_TRUE(f.HandImage(5)->Moved());
  QTest::mouseClick(&f, Qt::RightButton, {}, QPoint(300, 100));
  ASSERT_EQ(t.Written(MessageType::PlayCards).size(), 1U);
  // H on our turn selects a play; Enter sends it.
  t.Feed(PlayTurn(0));
  QTest::keyClick(&f, Qt::Key_H);
  EXPECT_GT(f.Table().Me.Selection.Count(), 0);
  QTest::keyClick(&f, Qt::Key_Return);
  EXPECT_EQ(t.Written(MessageType::PlayCards).size(), 2U);
}

}  // namespace
}  // namespace quarn::client::testing
