// The real table window logs in to a real quarnd beside three scripted
// players, is dealt its cards and lays a play that the others see. Every wait
// is bounded; the server is stopped whatever happens.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <map>
#include <set>

#include "client/model/client_sending.h"
#include "client/ui/frmdlghead.h"
#include "client/ui/frmdlgservice.h"
#include "client/ui/frmlogin.h"
#include "core/tselectpoker.h"
#include "table_fixture.h"

namespace quarn::client::testing {
namespace {

constexpr int kStepMs = 15000;

bool WaitFor(const std::function<bool()>& done, int ms = kStepMs) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < ms) QTest::qWait(10);
  return done();
}

int FoldCard(int n) {
  return n > 54 ? n - 54 : n;
}

// A quarnd of its own on a free port, stopped when the test ends.
class Server {
 public:
  bool Start(const QString& binDir) {
    process_.setProgram(binDir + QStringLiteral("/quarnd"));
    process_.setArguments({QStringLiteral("--port"), QStringLiteral("0"),
                           QStringLiteral("--no-delay"), QStringLiteral("--dir"), dir_.path()});
    process_.start();
    if (!process_.waitForStarted(5000)) return false;
    static const QRegularExpression listening(QStringLiteral("listening on port (\\d+)"));
    return WaitFor([&] {
             output_ += QString::fromUtf8(process_.readAllStandardOutput());
             const auto match = listening.match(output_);
             if (match.hasMatch()) port_ = static_cast<quint16>(match.captured(1).toUInt());
             return port_ != 0 || process_.state() == QProcess::NotRunning;
           }) &&
           port_ != 0;
  }
  ~Server() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) process_.kill();
    process_.waitForFinished(2000);
  }
  quint16 Port() const { return port_; }

 private:
  QTemporaryDir dir_;
  QProcess process_;
  QString output_;
  quint16 port_ = 0;
};

// A player that only speaks the protocol: it passes whenever it may and,
// when it must lead, lays its lowest card.
class ScriptedPlayer {
 public:
  explicit ScriptedPlayer(std::string name) : name_(std::move(name)) {
    QObject::connect(&socket_, &QTcpSocket::readyRead, [this] { OnRead(); });
  }
  bool Join(quint16 port) {
    socket_.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!WaitFor([&] { return socket_.state() == QAbstractSocket::ConnectedState; })) return false;
    Send(BuildLoginRequest(name_, "", 1, 2, 1, 0));
    return WaitFor([&] { return seat_ >= 0; });
  }
  int Seat() const { return seat_; }
  std::size_t HandSize() const { return hand_.size(); }
  // Cards (folded) each seat was seen to lay.
  const std::multimap<int, int>& Plays() const { return plays_; }

 private:
  void Send(const std::optional<Packet>& packet) {
    if (packet)
      socket_.write(reinterpret_cast<const char*>(packet->bytes.data()),
                    static_cast<qint64>(packet->length));
  }
  void OnRead() {
    const QByteArray bytes = socket_.readAll();
    assembler_.Feed(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                              static_cast<std::size_t>(bytes.size())));
    while (auto packet = assembler_.Next()) Handle(*packet);
  }
  void Handle(const Packet& packet) {
    switch (static_cast<MessageType>(packet.RawType())) {
      case MessageType::LoginReply: {
        LoginRecord reply;
        if (DecodeBody(MessageType::LoginReply, reply, packet) == 0) seat_ = reply.seat;
        break;
      }
      case MessageType::DealCards:
      case MessageType::ExtraCards: {
        DealRecord deal;
        if (DecodeBody(static_cast<MessageType>(packet.RawType()), deal, packet) != 0) break;
        for (int i = 0; i < deal.count; ++i) hand_.insert(deal.cards[static_cast<std::size_t>(i)]);
        OpenIfLandlord();
        break;
      }
      case MessageType::BidStart:
      case MessageType::BidTurn: {
        BidRecord bid;
        if (DecodeBody(static_cast<MessageType>(packet.RawType()), bid, packet) == 0 &&
            bid.seat == seat_) {
          Send(BuildBidPass(1, seat_, bid.points));
        }
        break;
      }
      case MessageType::BidResult: {
        BidRecord result;
        if (DecodeBody(MessageType::BidResult, result, packet) != 0) break;
        lead_ = result.seat;
        toOpen_ = lead_ == seat_;
        OpenIfLandlord();
        break;
      }
      case MessageType::PlayNotice: {
        PlayRecord play;
        if (DecodeBody(MessageType::PlayNotice, play, packet) != 0 || play.count == 0) break;
        lead_ = play.seat;
        for (int i = 0; i < play.count; ++i) {
          plays_.emplace(play.seat, FoldCard(play.cards[static_cast<std::size_t>(i)]));
        }
        break;
      }
      case MessageType::PlayTurn: {
        SeatRecord turn;
        if (DecodeBody(MessageType::PlayTurn, turn, packet) == 0 && turn.seat == seat_) Act();
        break;
      }
      default:
        break;
    }
  }
  // The landlord opens the play once it holds its eight extra cards too.
  void OpenIfLandlord() {
    if (!toOpen_ || hand_.size() < 33) return;
    toOpen_ = false;
    Act();
  }
  void Act() {
    if (lead_ != seat_ || hand_.empty()) {
      Send(BuildPlayPass(1, seat_));
      return;
    }
    const int card = *hand_.begin();  // card numbers rise with the rank
    TSelectPoker single;
    TPoker poker;
    poker.SetCard(card);
    single.SetCardAt(0, poker);
    single.Classify();
    hand_.erase(hand_.begin());
    Send(BuildPlayCards(1, seat_, single));
  }

  std::string name_;
  QTcpSocket socket_;
  StreamAssembler assembler_;
  int seat_ = -1;
  int lead_ = -1;
  bool toOpen_ = false;
  std::multiset<int> hand_;
  std::multimap<int, int> plays_;
};

// The own card to lay: the lowest when leading, else the highest.
int ChooseSlot(const TClientTable& table) {
  const bool leading = table.LeadSeat == table.OwnSeat;
  int chosen = -1;
  for (int slot = 0; slot < kHandSlots; ++slot) {
    if (!table.Me.Hand.Card(slot).IsPresent()) continue;
    if (leading) return slot;
    chosen = slot;
  }
  return chosen;
}

TEST(TableWindowWithServer, LogsInIsDealtAndLaysAPlayTheOthersSee) {
  QByteArray bin = qgetenv("QUARN_BIN");
  if (bin.isEmpty()) bin = QUARN_BIN_DIR;
  TableFixture t;
  TMainForm& form = t.form;
  form.ClientSocketMain().SetWriteOverride({});  // the real connection this time
  Server server;
  ASSERT_TRUE(server.Start(QString::fromLocal8Bit(bin))) << "quarnd did not start";

  QTemporaryDir settings;
  TDlgHead dlgHead(&form);
  TDlgService dlgService(&form);
  TFormLogin login(&dlgHead, &dlgService, &form);
  login.SetLink(&form);
  login.SetSettingsPath(QDir(settings.path()).filePath(QStringLiteral("quarn.ini")).toStdString());
  TableWindows windows;
  windows.login = [&]() -> std::optional<LoginOutcome> {
    QTimer::singleShot(0, &login, [&] {
      login.ComboBoxName()->setEditText(QStringLiteral("东家"));
      login.ComboBoxAddress()->setEditText(QStringLiteral("127.0.0.1:%1").arg(server.Port()));
      login.BitBtnLoginClick();
    });
    QTimer::singleShot(kStepMs, &login, [&] { login.reject(); });  // never wait for ever
    if (login.exec() != QDialog::Accepted) return std::nullopt;
    return LoginOutcome{login.PlayerName(), login.ServiceNo(), login.IconNo()};
  };
  form.SetWindows(std::move(windows));

  QTest::mouseClick(form.BtnLogin(), Qt::LeftButton);
  ASSERT_EQ(form.Table().GameState, TGameState::LoggingIn);
  ASSERT_TRUE(WaitFor([&] { return form.Table().GameState == TGameState::Seated; }));
  const int ownSeat = form.Table().OwnSeat;

  std::array<ScriptedPlayer, 3> others{ScriptedPlayer("乙家"), ScriptedPlayer("丙家"),
                                       ScriptedPlayer("丁家")};
  for (ScriptedPlayer& other : others) ASSERT_TRUE(other.Join(server.Port()));
  ASSERT_TRUE(WaitFor([&] { return form.Table().Me.Hand.Count() >= 25; }));
  EXPECT_EQ(form.Table().PlayerCount, 4);
  EXPECT_EQ(form.LabelPlayer(3)->text(), QStringLiteral("乙家"));  // the seat after ours
  EXPECT_FALSE(form.HandImage(0)->isHidden());

  ASSERT_TRUE(WaitFor([&] {
    const TClientTable& table = form.Table();
    return table.GameState == TGameState::InPlay && table.CurrentSeat == ownSeat;
  }));
  const int slot = ChooseSlot(form.Table());
  ASSERT_GE(slot, 0);
  const int card = form.Table().Me.Hand.Card(slot).Number();
  const int before = form.Table().Me.Hand.Count();
  QTest::mouseClick(form.HandImage(slot), Qt::LeftButton);
  QTest::mouseClick(form.BtnSend(), Qt::LeftButton);
  EXPECT_EQ(form.Table().Me.Hand.Count(), before - 1);

  ASSERT_TRUE(WaitFor([&] {
    for (const ScriptedPlayer& other : others) {
      const auto range = other.Plays().equal_range(ownSeat);
      bool seen = false;
      for (auto it = range.first; it != range.second; ++it) seen = seen || it->second == card;
      if (!seen) return false;
    }
    return true;
  })) << "the other players never saw the play";
  // Our own play comes back onto our table, and the turn moves on.
  ASSERT_TRUE(WaitFor([&] { return !form.TableImage(0)->isHidden(); }));
  SaveShot(form, QStringLiteral("table_with_quarnd.png"));
  // The login window's question was the only message on the way.
  ASSERT_EQ(t.messages.size(), 1u) << t.messages.back().text.toStdString();
  EXPECT_EQ(t.messages[0].text, QStringLiteral("确定要向此服务器登录吗？"));
}

}  // namespace
}  // namespace quarn::client::testing
