// The icon pickers, the bid window, the hero board, the talk window and the card control.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>

#include "client/ui/artwork.h"
#include "client/ui/frmbid.h"
#include "client/ui/frmdlghead.h"
#include "client/ui/frmdlgservice.h"
#include "client/ui/frmlogin.h"
#include "client/ui/frmreplay.h"
#include "client/ui/frmresult.h"
#include "client/ui/frmtalk.h"
#include "client/ui/imagepoker.h"
#include "core/gbk.h"
#include "tests/support/store/sample_game.h"
#include "tests/support/widgets/qt_fixture.h"

namespace quarn::client {
namespace {

TEST(IconPicker, ListsTheIconsAndConfirmsTheSelectedOne) {
  TDlgHead head;
  TDlgService service;
  EXPECT_EQ(head.windowTitle() + service.windowTitle(),
            QStringLiteral("玩家图标选择窗选择服务项目的窗口"));
  head.FormShow();
  ASSERT_EQ(head.List()->count(), 40);
  EXPECT_EQ(head.List()->item(0)->text() + head.List()->item(39)->text(), "140");
  head.List()->item(11)->setSelected(true);   // the item captioned 12
  head.List()->item(11)->setSelected(false);  // deselecting keeps the preview
  EXPECT_EQ(head.LabelSelText(), "12");
  EXPECT_EQ(Pixels(head.ImageSel()->pixmap()),
            Pixels(ResourceBitmap("BITMAP_12", head.devicePixelRatioF())));
  head.List()->item(11)->setSelected(true);
  head.OKBtnClick();
  EXPECT_EQ(head.result(), QDialog::Accepted);
  EXPECT_EQ(head.Selected(), 12);
  EXPECT_EQ(head.List()->count(), 0);  // closing empties the list; the next showing refills it
  head.FormShow();                     // cancel keeps the choice
  head.List()->item(3)->setSelected(true);
  head.reject();
  EXPECT_EQ(head.Selected(), 12);
  head.FormShow();  // OK with nothing selected means icon 1
  head.OKBtnClick();
  EXPECT_EQ(head.Selected(), 1);
  service.FormShow();
  EXPECT_EQ(service.List()->count(), 20);
  service.List()->item(19)->setSelected(true);
  service.OKBtnClick();
  EXPECT_EQ(service.Selected(), 20);
  Shot(head, "picker_head.png");
}

TEST(BidWindow, ABidMustTopTheCurrentOneAndFitOneByteEscapePasses) {
  MessageRecorder boxes;
  TFormBid form;
  QSignalSpy offered{&form, &TFormBid::bidOffered};
  QSignalSpy passed{&form, &TFormBid::bidPassed};
  form.SetCurrentBid(30);
  form.SetProposedBid(31);
  EXPECT_EQ(form.LabelPoint()->text() + form.EditPoint()->text(), "3031");
  for (const auto& [entry, text, caption] : std::vector<std::tuple<QString, QString, QString>>{
           {"30", QStringLiteral("太小气了一点点吧？"), QStringLiteral("提示")},
           {"256", QStringLiteral("叫牌点数最多为255点。"), QStringLiteral("提示")},
           {"abc", QStringLiteral("“abc”不是有效的点数。"), QStringLiteral("错误")},
           {"", QStringLiteral("“”不是有效的点数。"), QStringLiteral("错误")}}) {
    boxes.messages.clear();
    form.EditPoint()->setText(entry);
    form.BtnBidClick();
    ASSERT_EQ(boxes.messages.size(), 1U) << entry.toStdString();
    EXPECT_EQ(boxes.messages[0].text + boxes.messages[0].caption, text + caption);
    EXPECT_EQ(form.result(), 0);  // the window stays open
  }
  boxes.messages.clear();
  form.EditPoint()->setText("255");
  form.BtnBid()->click();
  EXPECT_EQ(offered.count() * 1000 + offered.at(0).at(0).toInt(), 1255);
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_TRUE(boxes.messages.empty());
  // The entry takes the keys at once; Escape passes; the close box sends nothing.
  form.show();
  EXPECT_EQ(form.focusWidget(), form.EditPoint());
  EXPECT_EQ(form.EditPoint()->selectedText(), "255");
  QTest::keyClick(&form, Qt::Key_Escape);
  EXPECT_EQ(passed.count(), 1);
  EXPECT_EQ(form.result(), QDialog::Rejected);
  form.show();
  form.close();
  EXPECT_EQ(passed.count() * 10 + offered.count(), 11);
  Shot(form, "bid.png");
}

TEST(HeroBoard, EveryShowingAddsARowUnderTheCurrentNames) {
  TFormGameResult board;
  EXPECT_EQ(board.windowTitle(), QStringLiteral("“Vardel”英雄榜"));
  int calls = 0;
  board.SetSnapshotSource([&calls] {
    const int base = 10 * ++calls;
    return ScoreSnapshot{{QStringLiteral("甲"), QStringLiteral("张三"), QStringLiteral("丙"), {}},
                         {base, base + 1, -base, 0}};
  });
  for (int showing = 1; showing <= 3; ++showing) {
    board.show();
    board.hide();
    EXPECT_EQ(board.RowCount(), showing + 1);
    EXPECT_EQ(board.Cell(1, showing), QString::number(10 * showing + 1));
  }
  EXPECT_EQ(board.Cell(1, 0) + board.Cell(0, 1) + board.Cell(2, 1), "北家:张三10-10");
  board.ResetBoard();
  EXPECT_EQ(board.RowCount(), 2);
  EXPECT_EQ(board.Cell(1, 0) + board.Cell(0, 1), QString());
  board.RecordSnapshot({{}, {7, 0, 0, 0}});  // after a reset the first row is row 1 again
  EXPECT_EQ(board.RowCount(), 2);
  EXPECT_EQ(board.Cell(0, 1), "7");
}

// The standings page appears with the first answer; the own line is bold,
// added below the top lines when it is not among them.
TEST(HeroBoard, StandingsPageShowsTheTopAndTheOwnLine) {
  TFormGameResult board;
  board.SetSnapshotSource([] { return ScoreSnapshot{{QStringLiteral("甲")}, {30}}; });
  int asked = 0;
  board.SetStandingsAsker([&asked] { ++asked; });
  board.show();
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(board.Tabs()->isHidden());
  const auto line = [](int rank, const char* utf8, int games, std::int64_t points) {
    return StandingsLineRecord{1,         StandingsKind::Top, 3,         rank,      Utf8ToGbk(utf8),
                               games,     games / 2,          games / 4, games / 8, points,
                               1800000000};
  };
  StandingsLineRecord own = line(7, "玩家", 12, -40);
  own.kind = StandingsKind::Own;
  board.ShowStandings(
      {line(1, "张三", 120, 450), line(2, "o'k;--", 64, 210), line(3, "电脑北", 40, 95)}, own);
  EXPECT_TRUE(board.Tabs()->isVisible());
  board.Tabs()->setCurrentIndex(1);
  EXPECT_TRUE(board.StandingsGrid()->isVisible());
  EXPECT_FALSE(board.Grid()->isVisible());
  QTableWidget& grid = *board.StandingsGrid();
  ASSERT_EQ(grid.rowCount(), 5);
  EXPECT_EQ(grid.item(1, 1)->text() + grid.item(4, 0)->text() + grid.item(4, 5)->text(),
            "张三7-40");
  EXPECT_TRUE(grid.item(4, 1)->font().bold());
  EXPECT_FALSE(grid.item(1, 1)->font().bold());
  Shot(board, "standings.png");
}

// The replays page comes with the first list; a chosen game is asked for by
// id with the own seat, and the replay window steps through it to the scores.
TEST(HeroBoard, ReplaysPageListsTheOwnGamesAndTheWindowStepsThroughOne) {
  TFormGameResult board;
  int asked = 0;
  board.SetReplaysAsker([&asked] { ++asked; });
  board.show();
  EXPECT_EQ(asked, 0);  // not before the server showed it keeps games
  board.ShowStandings({}, std::nullopt);
  board.ShowStandings({}, std::nullopt);
  EXPECT_EQ(asked, 1);  // once a showing
  const std::array<std::string, 4> names = {Utf8ToGbk("张三"), Utf8ToGbk("李四四四四四四"),
                                            "o'k;--", Utf8ToGbk("电脑北")};
  std::vector<ReplayListLineRecord> games;
  for (std::int64_t id = 12; id > 8; --id) {
    games.push_back({1, ReplayKind::Found, 4, 2, static_cast<std::uint8_t>(id % 4), id,
                     1800000000 + static_cast<std::uint32_t>(id) * 600, 1, 10, id % 2 ? 30 : -10,
                     names});
  }
  board.ShowReplays(games);
  ASSERT_EQ(board.Tabs()->count(), 3);
  board.Tabs()->setCurrentIndex(2);
  EXPECT_TRUE(board.ReplaysGrid()->isVisible());
  EXPECT_EQ(board.ReplaysGrid()->rowCount(), 4);
  Shot(board, "replays_list.png");
  QSignalSpy wanted(&board, &TFormGameResult::replayWanted);
  board.ReplaysGrid()->selectRow(1);
  board.findChild<QPushButton*>("WatchReplay")->click();
  ASSERT_EQ(wanted.count(), 1);
  EXPECT_EQ(wanted.at(0).at(0).toLongLong(), 11);
  EXPECT_EQ(wanted.at(0).at(1).toInt(), 2);

  store::GameRecord game = store::testing::SampleGame(3, names);
  game.bids = {{3, 10}, {0, 0}, {1, 0}, {2, 0}};
  TFormReplay replay;
  replay.ShowProblem(QStringLiteral("正在接收第 11 局……"));
  replay.ShowGame(game, 2);  // its steps are the model's replay steps' test's
  replay.Step(4);
  EXPECT_TRUE(replay.Caption().contains(QStringLiteral("当地主（10 分）")));
  replay.Step(38);
  Shot(replay, "replay_midgame.png");
  replay.Step(1000);
  EXPECT_EQ(replay.CurrentStep(), replay.StepCount() - 1);
  EXPECT_TRUE(replay.Caption().endsWith(QStringLiteral("地主胜")));
  Shot(replay, "replay_end.png");
  replay.Step(-1000);
  EXPECT_EQ(replay.CurrentStep(), 0u);
}

// Every dialog in English: whole texts, no Chinese left, the card core's words
// and the replay's captions translated; the login window keeps a new choice.
TEST(English, EveryDialogShowsItsWholeTextInEnglish) {
  const ShownLanguage english(Language::English);
  MessageRecorder boxes;
  TDlgHead head;
  TDlgService service;
  TFormLogin login(&head, &service);
  const QString ini = QDir(QDir::tempPath()).filePath(QStringLiteral("quarn_english_test.ini"));
  QFile::remove(ini);
  login.SetSettingsPath(ini.toStdString());
  login.FormShow();
  login.BitBtnLogin()->click();  // no name: the box says so in English
  ASSERT_EQ(boxes.messages.size(), 1U);
  EXPECT_EQ(boxes.messages[0].text + "|" + boxes.messages[0].caption,
            "Please enter a player name!|Notice");
  QSignalSpy chosen(&login, &TFormLogin::languageChosen);
  emit login.ComboBoxLanguage()->activated(0);
  ASSERT_EQ(chosen.count(), 1);
  EXPECT_EQ(LoadLanguageSetting(TIniFile(ini.toStdString())), Language::Chinese);
  TFormBid bid;
  bid.SetCurrentBid(30);
  TFormTalk talk;
  TFormGameResult board;
  board.SetSnapshotSource([] { return ScoreSnapshot{{QStringLiteral("Zhang San")}, {30}}; });
  const std::array<std::string, 4> names = {"Zhang San", "Li Si", "Wang Wu", "Zhao Liu"};
  board.ShowReplays({{1, ReplayKind::Found, 4, 2, 0, 9, 1800000000, 1, 10, 30, names}});
  board.Tabs()->setCurrentIndex(2);
  TFormReplay replay;
  store::GameRecord game = store::testing::SampleGame(3, names);
  game.bids = {{3, 10}, {0, 0}, {1, 0}, {2, 0}};
  replay.ShowGame(game, 2);
  replay.Step(4);
  EXPECT_EQ(replay.Caption().toStdString(),
            "West[Wang Wu] passes; South[Zhao Liu] is the landlord (10 points)");
  replay.Step(1);  // the landlord's lead
  EXPECT_TRUE(replay.Caption().startsWith(QStringLiteral("South[Zhao Liu] plays ")));
  const std::vector<std::pair<QWidget*, const char*>> windows = {
      {&login, "login_en.png"},
      {&bid, "bid_en.png"},
      {&talk, "talk_en.png"},
      {&board, "replays_list_en.png"},
      {&replay, "replay_midgame_en.png"},
      {&head, "picker_head_en.png"},
      {&service, "picker_service_en.png"}};
  for (const auto& [window, shot] : windows) {
    window->show();
    QApplication::processEvents();
    SCOPED_TRACE(shot);
    ExpectTextsShown(*window);
    Shot(*window, shot);
  }
  QFile::remove(ini);
}

TEST(TalkWindow, EnterSaysTheLineCutAtACharacterBoundary) {
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
  // 35 characters are 70 bytes: 29 fit in 58; after a leading "a" only 28 (57 bytes).
  const QString chinese(35, QChar(0x4E2D));
  talk.EditTalk()->setText(chinese);
  EXPECT_EQ(talk.TalkGbk().size(), 58);
  talk.EditTalk()->setText("a" + chinese);
  EXPECT_EQ(GbkToUtf8(talk.TalkGbk().toStdString()), ("a" + chinese.left(28)).toStdString());
  talk.BtnCancelClick();
  EXPECT_FALSE(talk.isVisible());
}

TEST(ImagePoker, RisesThirtyOnceDrawsSharpAndReportsLeftClicks) {
  QWidget panel;
  panel.resize(200, 200);
  TImagePoker image(&panel);
  EXPECT_FALSE(image.isVisibleTo(&panel));
  EXPECT_EQ(image.size(), QSize(71, 96));
  EXPECT_TRUE(image.IsBlank() && !image.Moved());
  image.move(16, 33);
  image.SetMoved(true);
  image.SetMoved(true);
  EXPECT_EQ(image.pos(), QPoint(16, 3));
  image.SetMoved(false);
  EXPECT_EQ(image.pos(), QPoint(16, 33));

  image.PokerDraw(QPixmap());  // no picture: nothing happens
  EXPECT_TRUE(image.IsBlank());
  image.PokerDraw(LoadCardBitmap(54, 2.0));
  EXPECT_FALSE(image.IsBlank());
  EXPECT_EQ(image.Canvas().devicePixelRatio(), 2.0);  // stays sharp on a high-DPI screen
  EXPECT_EQ(Pixels(image.Canvas()).pixelColor(35, 92).alpha(), 255);
  image.PokerClear();
  EXPECT_TRUE(image.IsBlank());
  EXPECT_EQ(Pixels(image.Canvas()).pixelColor(70, 96).alpha(), 0);
  // Only a left click is one; the table window plays on a right click.
  image.show();
  panel.show();
  QSignalSpy clicked(&image, &TImagePoker::clicked);
  QTest::mouseClick(&image, Qt::RightButton, {}, QPoint(5, 50));
  QTest::mouseClick(&image, Qt::LeftButton, {}, QPoint(5, 50));
  EXPECT_EQ(clicked.count(), 1);
}

}  // namespace
}  // namespace quarn::client
