// The server's records: one table of four seats, its states, the choice of a
// seat for a new player and the player ids.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/thandpoker.h"
#include "core/tselectpoker.h"
#include "protocol/pcpauto.h"
#include "server/host.h"
#include "server/server_settings.h"

namespace quarn::server {

inline constexpr int kSeatCount = 4;
inline constexpr int kHandCards = 25;   // dealt to every seat
inline constexpr int kBottomCards = 8;  // left over for the landlord
inline constexpr int kDeckCards = 108;  // two decks
inline constexpr int kDealtCards = kSeatCount * kHandCards;

// The table's state. Every handler checks it first; a refused message restores it.
enum TableStatus : std::int8_t {
  TableSeating = 1,   // a login request is being handled
  TableWaiting = 2,   // fewer than four players, or just started; logins are taken
  TableDealing = 3,   // a deal is being made and sent
  TableBidding = 4,   // a bid is awaited from the seat Turn
  TableBidBusy = 5,   // a bid is being handled
  TablePlaying = 6,   // a play or a pass is awaited from the seat Turn
  TablePlayBusy = 7,  // a play or a pass is being handled
};

// One seat. The seat is taken exactly when Id is not 0; a taken seat has its
// Socket. Name and Password hold GBK bytes, at most 15 of them.
struct TServerPlayer {
  std::int32_t Id = 0;
  std::string Name;
  std::string Password;  // kept as sent; nothing ever compares it
  std::int32_t HeadIcon = 1;
  std::int32_t ServiceIcon = 1;
  std::uint32_t TableIndex = 0;
  std::uint32_t Seat = 0;
  std::int32_t Rounds = 0;  // games finished since this player's login
  std::int32_t Score = 0;   // running score since login, may go below 0
  std::uint32_t Bid = 0;    // this deal's bid; 0 when it did not beat the best so far
  THandPoker Hand;
  ConnectionId Socket = kNoConnection;
  // Our own: who makes this seat's moves, the turns in a row whose time ran
  // out, and the address its player logged in from (a seat kept for a player
  // without a password goes back only to that address).
  SeatControl Control = SeatControl::Person;
  int Timeouts = 0;
  std::string Address;

  bool Taken() const { return Id != 0; }
};

// One play or pass of the game in play (count 0: a pass).
struct TMove {
  std::uint8_t seat = 0;
  std::uint8_t count = 0;
  std::array<std::uint8_t, 33> cards{};
};

// One bid of the game in play, as offered (points 0: a pass).
struct TBid {
  std::uint8_t seat = 0;
  std::uint8_t points = 0;
};

struct TServerTable {
  std::int32_t Table = 1;  // the table number, position in the list + 1
  std::array<TServerPlayer, kSeatCount> Players;
  TableStatus Status = TableWaiting;
  std::uint32_t Landlord = 0;  // during bidding: the best bidder so far
  std::uint32_t Turn = 0;      // seat whose bid, play or pass is awaited
  TSelectPoker LastPlay;       // the combination on the table; no cards when none
  std::uint32_t LastPlayer = 0;
  std::array<std::uint8_t, kDeckCards> Deck{};  // card numbers in dealing order
  std::uint8_t StartCard = 0;
  std::int32_t StartIndex = 0;  // 0..99; StartIndex mod 4 is the starting seat
  std::uint32_t Count = 0;      // seated players
  std::uint32_t HighBid = 0;    // once settled: the points the game is played for
  // Copied from the console at its first show and at every start.
  std::uint32_t DefaultPoints = 10;
  bool AllowBid = false;
  bool AllowDelay = true;
  std::uint32_t DelaySync = 200;
  std::uint32_t DelayDeal = 500;
  bool RandEachGame = false;
  bool WatchersChat = false;  // watchers' lines reach the table, marked as theirs
  // Our own settings, off by default: a lost player's seat is kept and played
  // by the computer until the game ends; each bid or play has this much time
  // (0: no limit) before the computer makes it.
  bool KeepSeats = false;
  std::uint32_t TurnTimeMs = 0;
  // This game's plays and passes, for the computer player and a returning player.
  std::vector<TMove> History;
  // This game's bids, in order, for the game record store.
  std::vector<TBid> Bids;

  std::uint32_t StartSeat() const { return static_cast<std::uint32_t>(StartIndex) % kSeatCount; }
};

// A new table at list position `tableIndex` with its four free seats,
// numbered from `firstNumber` on.
std::unique_ptr<TServerTable> MakeTable(std::uint32_t tableIndex, std::int32_t firstNumber = 1);

void ApplySettings(TServerTable& table, const ServerSettings& settings);

// The wanted seat when free, else the first free seat; -1 when the table is
// full or the wanted seat is outside 0..3.
int AssignSeat(const TServerTable& table, int wantedSeat);

// The seat that plays after `seat`: 0 东, 1 北, 2 西, 3 南, then 0 again.
constexpr std::uint32_t NextSeat(std::uint32_t seat) {
  return (seat + 1) % kSeatCount;
}

// Player ids 1, 2, 3, ... in the order of logins, never reused (and never 0,
// which marks a free seat).
class PlayerIds {
 public:
  std::int32_t NewPlayerId();

 private:
  std::int32_t next_ = 1;
};

// The seat names by index, UTF-8.
inline constexpr std::array<const char*, kSeatCount> SeatNames = {"东", "北", "西", "南"};

}  // namespace quarn::server
