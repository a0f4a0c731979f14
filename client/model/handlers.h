// The handlers behind ReadPacket, one per server message. Each gives 0 when
// it acted and 1 when it refused the packet; a refusal changes nothing.
#pragma once

#include "client/model/table_state.h"
#include "protocol/pcpheadtail.h"

namespace quarn::client::handlers {

// Seating, departures, chat and icons.
int LoginReply(TClientTable& table, const Packet& packet);
// The answer to our WatchRequest: watching starts, or the display hears why not.
int WatchReply(TClientTable& table, const Packet& packet);
int SeatList(TClientTable& table, const Packet& packet);
int PlayerLeave(TClientTable& table, const Packet& packet);
int ChatNotice(TClientTable& table, const Packet& packet);
int IconNotice(TClientTable& table, const Packet& packet, MessageType type);

// Dealing and bidding.
int DealCards(TClientTable& table, const Packet& packet);
int StartCardNotice(TClientTable& table, const Packet& packet);
int ExtraCards(TClientTable& table, const Packet& packet);
int BidOpen(TClientTable& table, const Packet& packet, MessageType type);  // BidStart, BidTurn
int BidResult(TClientTable& table, const Packet& packet);

// Play and game end.
int PlayNotice(TClientTable& table, const Packet& packet);
int PlayTurn(TClientTable& table, const Packet& packet);
int GameEnd(TClientTable& table, const Packet& packet);

// The game in play told again (a returning player), the seats the computer
// plays, and the turn's clock.
int TableState(TClientTable& table, const Packet& packet);
// The same for a watcher: the public state of the game it came into.
int WatchState(TClientTable& table, const Packet& packet);
int AutoPlayNotice(TClientTable& table, const Packet& packet);
int TurnClock(TClientTable& table, const Packet& packet);
// One line of the standings, answering the oldest request still open.
int StandingsLine(TClientTable& table, const Packet& packet);
// The replay answers: one game of the own list; one part of the game asked for.
int ReplayListLine(TClientTable& table, const Packet& packet);
int ReplayGamePart(TClientTable& table, const Packet& packet);

// Another player's play was already checked by the server: classify it for
// its name and type without reporting a refusal to this player.
void ClassifySilently(TSelectPoker& cards);

// Shared guards.
bool InState(const TClientTable& table, std::initializer_list<TGameState> states);
bool OwnTable(const TClientTable& table, std::int32_t tableNumber);

}  // namespace quarn::client::handlers
