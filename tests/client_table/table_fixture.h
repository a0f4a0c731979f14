// A table window under test: messages taken instead of shown, writes
// recorded; the server packets come from the model tests' builders.
#pragma once

#include <QTcpServer>
#include <array>
#include <string>
#include <vector>

#include "client/ui/mainform.h"
#include "protocol/packet_builder.h"
#include "tests/support/client_model/fakes.h"
#include "tests/support/widgets/qt_fixture.h"

namespace quarn::client::testing {

class TableFixture {
 public:
  TableFixture();

  // Presses the login button: the login window "opens" a connection to a
  // local listener and closes with OK under `name`.
  void Login(const QString& name = QStringLiteral("张三"));
  // Login, then the server seats the four players with the own one at `ownSeat`.
  void SeatFour(int ownSeat);
  // SeatFour, the deal of 25 low cards, and `lord` announced as landlord
  // (the own seat gets 8 more cards when it is the landlord).
  void StartPlay(int ownSeat, int lord);
  void Feed(const Packet& packet);

  // Packets written, by type.
  std::vector<Packet> Written(MessageType type) const;

  MessageRecorder boxes;  // before the window, which may show one at once
  std::vector<ShownMessage>& messages = boxes.messages;
  TMainForm form;
  std::vector<Packet> written;
  int talkHidden = 0;  // showTalk(false) calls
  int heroShown = 0;
  int heroReset = 0;
  std::vector<std::pair<int, int>> bidWindows;  // current and proposed bid of each opening
  bool loginAccepts = true;
  QString ownName;
  // The players by seat; the own player takes the name of its seat.
  std::array<std::string, 4> names = {"张三", "李四", "王五", "赵六"};

 private:
  QTcpServer listener_;
};

}  // namespace quarn::client::testing
