#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "client/ui/artwork.h"
#include "client/ui/frmbid.h"
#include "client/ui/frmdlghead.h"
#include "client/ui/frmdlgservice.h"
#include "client/ui/frmresult.h"
#include "client/ui/frmtalk.h"
#include "core/gbk.h"
#include "tests/client_dialogs/qt_fixture.h"

namespace quarn::client {
namespace {

TEST(IconPicker, ListsTheIconsAndConfirmsTheSelectedOne) {
  QtApp();
  TDlgHead head;
  EXPECT_EQ(head.windowTitle(), QStringLiteral("玩家图标选择窗"));
  EXPECT_EQ(head.Selected(), 1);
  head.FormShow();
  ASSERT_EQ(head.List()->count(), 40);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(head.List()->item(i)->text(), QString::number(i + 1));

  head.List()->item(11)->setSelected(true);  // the item captioned 12
  EXPECT_EQ(head.LabelSelText(), "12");
  EXPECT_EQ(Pixels(head.ImageSel()->pixmap()),
            Pixels(ResourceBitmap("BITMAP_12", head.devicePixelRatioF())));
  head.List()->item(11)->setSelected(false);  // deselecting keeps the preview
  EXPECT_EQ(head.LabelSelText(), "12");
  head.List()->item(11)->setSelected(true);
  head.OKBtnClick();
  EXPECT_EQ(head.result(), QDialog::Accepted);
  EXPECT_EQ(head.Selected(), 12);
  EXPECT_EQ(head.List()->count(), 0);  // closing empties the list; the next showing refills it

  head.FormShow();  // cancel keeps the choice
  head.List()->item(3)->setSelected(true);
  head.reject();
  EXPECT_EQ(head.Selected(), 12);

  head.FormShow();  // OK with nothing selected means icon 1
  head.OKBtnClick();
  EXPECT_EQ(head.Selected(), 1);

  TDlgService service;
  EXPECT_EQ(service.windowTitle(), QStringLiteral("选择服务项目的窗口"));
  service.FormShow();
  EXPECT_EQ(service.List()->count(), 20);
  service.List()->item(19)->setSelected(true);
  service.OKBtnClick();
  EXPECT_EQ(service.Selected(), 20);
}

struct BidFixture {
  BidFixture() {
    QtApp();
    form.SetCurrentBid(30);
    form.SetProposedBid(31);
  }
  MessageRecorder boxes;
  TFormBid form;
  QSignalSpy offered{&form, &TFormBid::bidOffered};
  QSignalSpy passed{&form, &TFormBid::bidPassed};
};

TEST(BidWindow, ABidMustTopTheCurrentOneAndFitOneByteEscapePasses) {
  BidFixture f;
  EXPECT_EQ(f.form.LabelPoint()->text(), "30");
  EXPECT_EQ(f.form.EditPoint()->text(), "31");
  EXPECT_EQ(f.form.EditPoint()->maxLength(), 4);

  struct Refusal {
    const char* entry;
    QString text;
    QString caption;
  };
  const Refusal refusals[] = {
      {"30", QStringLiteral("太小气了一点点吧？"), QStringLiteral("提示")},
      {"300", QStringLiteral("叫牌点数最多为255点。"), QStringLiteral("提示")},
      {"abc", QStringLiteral("“abc”不是有效的点数。"), QStringLiteral("错误")},
      {"", QStringLiteral("“”不是有效的点数。"), QStringLiteral("错误")},
  };
  for (const Refusal& r : refusals) {
    f.boxes.messages.clear();
    f.form.EditPoint()->setText(r.entry);
    f.form.BtnBidClick();
    ASSERT_EQ(f.boxes.messages.size(), 1U) << r.entry;
    EXPECT_EQ(f.boxes.messages[0].text, r.text);
    EXPECT_EQ(f.boxes.messages[0].caption, r.caption);
    EXPECT_EQ(f.form.result(), 0) << r.entry;  // the window stays open
  }
  EXPECT_EQ(f.offered.count(), 0);

  f.boxes.messages.clear();
  f.form.EditPoint()->setText("255");
  f.form.BtnBid()->click();
  ASSERT_EQ(f.offered.count(), 1);
  EXPECT_EQ(f.offered.at(0).at(0).toInt(), 255);
  EXPECT_EQ(f.form.result(), QDialog::Accepted);
  EXPECT_TRUE(f.boxes.messages.empty());
  EXPECT_EQ(f.passed.count(), 0);

  // Escape passes; the close box sends nothing.
  f.form.show();
  QTest::keyClick(&f.form, Qt::Key_Escape);
  EXPECT_EQ(f.passed.count(), 1);
  EXPECT_EQ(f.form.result(), QDialog::Rejected);
  EXPECT_FALSE(f.form.isVisible());

  f.form.show();
  f.form.close();
  EXPECT_EQ(f.passed.count(), 1);
  EXPECT_EQ(f.offered.count(), 1);
}

ScoreSnapshot Scores(int base) {
  return {{QStringLiteral("甲"), QStringLiteral("张三"), QStringLiteral("丙"), QString()},
          {base, base + 1, -base, 0}};
}

TEST(HeroBoard, EveryShowingAddsARowUnderTheCurrentNames) {
  QtApp();
  TFormGameResult board;
  EXPECT_EQ(board.windowTitle(), QStringLiteral("“Vardel”英雄榜"));
  EXPECT_EQ(board.RowCount(), 2);
  int calls = 0;
  board.SetSnapshotSource([&calls] { return Scores(10 * ++calls); });
  board.show();
  EXPECT_EQ(board.RowCount(), 2);
  EXPECT_EQ(board.Cell(1, 0), QStringLiteral("北家:张三"));
  EXPECT_EQ(board.Cell(0, 1), "10");
  EXPECT_EQ(board.Cell(2, 1), "-10");
  for (int showing = 2; showing <= 4; ++showing) {
    board.hide();
    board.show();
    EXPECT_EQ(board.RowCount(), showing + 1);
    EXPECT_EQ(board.Cell(1, showing), QString::number(10 * showing + 1));
  }
  EXPECT_EQ(board.Cell(0, 1), "10");  // earlier rows stay

  board.hide();
  board.ResetBoard();
  EXPECT_EQ(board.RowCount(), 2);
  EXPECT_EQ(board.Cell(1, 0), QString());
  EXPECT_EQ(board.Cell(0, 1), QString());
  board.RecordSnapshot(Scores(7));  // after a reset the first row is row 1 again
  EXPECT_EQ(board.RowCount(), 2);
  EXPECT_EQ(board.Cell(0, 1), "7");
}

TEST(TalkWindow, EnterSaysTheLineCutAtACharacterBoundary) {
  QtApp();
  TFormTalk talk;
  EXPECT_EQ(talk.windowTitle(), QStringLiteral("Talk, Talk, Talk..."));
  EXPECT_TRUE(talk.windowFlags() & Qt::WindowStaysOnTopHint);
  QSignalSpy said(&talk, &TFormTalk::talkRequested);
  talk.show();
  talk.EditTalk()->setText(QStringLiteral("你好"));
  QTest::keyClick(talk.EditTalk(), Qt::Key_Return);
  ASSERT_EQ(said.count(), 1);
  EXPECT_EQ(said.at(0).at(0).toByteArray().toStdString(), Utf8ToGbk("你好"));
  EXPECT_EQ(talk.EditTalk()->text(), QStringLiteral("你好"));  // the text stays

  // 70 bytes: 35 characters become 29 (58 bytes); with a leading "a" 28 fit (57 bytes).
  QString chinese(35, QChar(0x4E2D));
  talk.EditTalk()->setText(chinese);
  EXPECT_EQ(talk.TalkGbk().size(), 58);
  talk.EditTalk()->setText("a" + chinese);
  QByteArray cut = talk.TalkGbk();
  EXPECT_EQ(cut.size(), 57);
  EXPECT_EQ(GbkToUtf8(cut.toStdString()), ("a" + QString(28, QChar(0x4E2D))).toStdString());
  talk.EditTalk()->setText(QString(70, 'x'));
  EXPECT_EQ(talk.TalkGbk(), QByteArray(58, 'x'));

  talk.BtnCancelClick();
  EXPECT_FALSE(talk.isVisible());
}

}  // namespace
}  // namespace quarn::client
