// Screenshots for people: with QUARN_SHOTS set to a folder, the windows and a
// sheet of every picture are saved there as PNG. Without it nothing is written.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <cstdlib>
#include <fstream>

#include "client/ui/artwork.h"
#include "client/ui/frmbid.h"
#include "client/ui/frmdlghead.h"
#include "client/ui/frmdlgservice.h"
#include "client/ui/frmlogin.h"
#include "client/ui/frmresult.h"
#include "client/ui/frmtalk.h"
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
  const std::vector<std::string> names = AllResourceNames();
  const int rows = (static_cast<int>(names.size()) + columns - 1) / columns;
  QPixmap sheet(QSize(columns * 78 + 8, rows * 104 + 8) * ratio);
  sheet.setDevicePixelRatio(ratio);
  sheet.fill(QColor(0, 110, 60));
  QPainter p(&sheet);
  for (int i = 0; i < static_cast<int>(names.size()); ++i) {
    p.drawPixmap(8 + (i % columns) * 78, 8 + (i / columns) * 104,
                 ResourceBitmap(names[static_cast<std::size_t>(i)], ratio));
  }
  p.end();
  ASSERT_TRUE(sheet.save(QDir(ShotsDir()).filePath("artwork_sheet.png")));
}

// A hand as the table window lays it out: cards 15 px apart, at 1x and 2x.
TEST(Screenshots, HandOverlap) {
  QtApp();
  if (ShotsDir().isEmpty()) GTEST_SKIP() << "set QUARN_SHOTS to a folder to save screenshots";
  const int cards[] = {1, 6, 11, 16, 21, 26, 31, 32, 36, 39, 43, 46, 50, 52, 53, 54, 108};
  for (qreal ratio : {1.0, 2.0}) {
    QPixmap hand(QSize(16 * 15 + 71 + 16, 96 + 16) * ratio);
    hand.setDevicePixelRatio(ratio);
    hand.fill(QColor(0, 110, 60));
    QPainter p(&hand);
    int x = 8;
    for (int card : cards) {
      p.drawPixmap(x, 8, LoadCardBitmap(card, ratio));
      x += 15;
    }
    p.end();
    ASSERT_TRUE(hand.save(QDir(ShotsDir()).filePath(ratio == 1.0 ? "hand_1x.png" : "hand_2x.png")));
  }
}

void Save(QWidget& window, const char* file) {
  window.show();
  QApplication::processEvents();
  ASSERT_TRUE(window.grab().save(QDir(ShotsDir()).filePath(file)));
}

TEST(Screenshots, Windows) {
  QtApp();
  if (ShotsDir().isEmpty()) GTEST_SKIP() << "set QUARN_SHOTS to a folder to save screenshots";
  test::TempDir dir;
  const std::string ini = (dir.path() / "quarn.ini").string();
  std::ofstream(ini, std::ios::binary)
      << "[POKER_PLAYERS]\r\nNAME0=\xD5\xC5\xC8\xFD\r\nNAME1=Lumo\r\n[PLAYER_ICON]\r\nICON0=7\r\n"
         "[POKER_SERVERS]\r\nSERVER0=127.0.0.1:1073\r\n";
  TDlgHead head;
  TDlgService service;
  TFormLogin login(&head, &service);
  login.SetSettingsPath(ini);
  login.FormShow();
  login.ComboBoxName()->setCurrentIndex(0);
  emit login.ComboBoxName()->activated(0);
  login.ComboBoxAddress()->setCurrentIndex(0);
  login.EditPassword()->setText("secret");
  Save(login, "login.png");

  head.show();
  head.List()->item(6)->setSelected(true);
  Save(head, "picker_head.png");
  service.show();
  service.List()->item(2)->setSelected(true);
  Save(service, "picker_service.png");

  TFormBid bid;
  bid.SetCurrentBid(30);
  bid.SetProposedBid(31);
  Save(bid, "bid.png");

  TFormGameResult board;
  int round = 0;
  board.SetSnapshotSource([&round] {
    ++round;
    return ScoreSnapshot{{QStringLiteral("张三"), QStringLiteral("Lumo"), QStringLiteral("王五"),
                          QStringLiteral("赵六")},
                         {30 * round, -10 * round, -10 * round, -10 * round}};
  });
  for (int i = 0; i < 3; ++i) {
    board.show();
    board.hide();
  }
  Save(board, "hero_board.png");

  TFormTalk talk;
  talk.EditTalk()->setText(QStringLiteral("大家好，快出牌吧！"));
  Save(talk, "talk.png");
}

}  // namespace
}  // namespace quarn::client
