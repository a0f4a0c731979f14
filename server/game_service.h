// The game service of one table: seating, dealing, bidding, play, the end of a
// game and its score, and the relays of chat and icons. Driven by whole packets
// from the dispatch; every handler returns 0 when it acted and 1 when it
// refused, and a refusal leaves the table exactly as it was, unanswered.
#pragma once

#include <cstdint>

#include "core/tselectpoker.h"
#include "protocol/pcpheadtail.h"
#include "protocol/pcpplay.h"
#include "server/console_log.h"
#include "server/host.h"
#include "server/sending.h"
#include "server/server_table.h"

namespace quarn::server {

class GameService {
 public:
  GameService(IServerHost& host, ConsoleLog& log, Outbox& outbox, TServerTable& table,
              PlayerIds& ids)
      : host_(host), log_(log), outbox_(outbox), table_(table), ids_(ids) {}

  // Hands a packet whose header has been checked to the handler of its type;
  // types without a handler are dropped.
  void Dispatch(ConnectionId connection, Packet& packet);

  // Seating and relays.
  int Login(ConnectionId connection, Packet& packet);
  int IconChange(ConnectionId connection, Packet& packet);
  int ChatRelay(ConnectionId connection, Packet& packet);
  // A lost connection: its seat is freed, the table told and sent back to waiting.
  void Disconnect(ConnectionId connection);

  // Dealing.
  void StartGame();
  int DealTable();
  int SendDeal();
  int SendStartCard();

  // Bidding.
  int OpenBidding();
  int SettleWithoutBidding();
  int Bid(ConnectionId connection, Packet& packet, bool pass);
  int SendBottomCards();

  // Play and the end of a game.
  int Play(ConnectionId connection, Packet& packet);
  int Pass(ConnectionId connection, Packet& packet);
  int GameEnd();
  void ScoreGame();
  void HeroEntry();

 private:
  // The seat of a connection at this table, or -1.
  int SeatOf(ConnectionId connection) const;
  void PauseFor(std::uint32_t milliseconds);
  // Leaves a busy state for `status` and reports the refusal.
  int Refuse(TableStatus status) {
    table_.Status = status;
    return 1;
  }
  // Checks a play in Scratch and marks its cards in the hand; false refuses it.
  bool CheckPlay(std::uint32_t seat, const PlayRecord& play);
  void FinishGame();

  IServerHost& host_;
  ConsoleLog& log_;
  Outbox& outbox_;
  TServerTable& table_;
  PlayerIds& ids_;
  TSelectPoker scratch_;  // where an incoming play is checked
};

}  // namespace quarn::server
