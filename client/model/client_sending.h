// The requests the client sends: builders that make a whole packet (header,
// body, tail) from plain values, and senders that take the values from the
// table state and write through the table's IPacketWriter.
//
// Texts are UTF-8 here and GBK on the wire; names and chat are cut at a
// character boundary.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "client/model/table_state.h"
#include "core/tselectpoker.h"
#include "protocol/pcpheadtail.h"

namespace quarn::client {

inline constexpr std::size_t kChatBytes = 58;  // GBK bytes of a chat line, without its NUL

// Each builder gives nullopt when the body cannot be encoded (a seat of 4 or
// more, an empty name, ...).
std::optional<Packet> BuildLoginRequest(std::string_view utf8Name, std::string_view utf8Password,
                                        std::int32_t serviceIcon, std::int32_t headIcon,
                                        std::int32_t tableNumber, int seat);
// Points travel as one byte: only the low byte of `points` is sent.
std::optional<Packet> BuildBidOffer(std::uint32_t tableNumber, int seat, std::int32_t points);
std::optional<Packet> BuildBidPass(std::uint32_t tableNumber, int seat, std::int32_t points);
std::optional<Packet> BuildPlayPass(std::uint32_t tableNumber, int seat);
// The cards of `selection` packed to the front, with the type and key rank its
// last Classify found.
std::optional<Packet> BuildPlayCards(std::uint32_t tableNumber, int seat,
                                     const TSelectPoker& selection);
std::optional<Packet> BuildChatSay(std::uint32_t tableNumber, int seat, std::string_view utf8Text);
std::optional<Packet> BuildIconChange(std::uint32_t tableNumber, int seat, std::int32_t serviceIcon,
                                      std::int32_t headIcon);

// Requests of our own server (a server without them skips them).
std::optional<Packet> BuildStateRequest(std::uint32_t tableNumber, int seat);
// 托管: true hands the seat to the server's computer player, false takes it back.
std::optional<Packet> BuildAutoPlayRequest(std::uint32_t tableNumber, int seat, bool computerPlays);

// Writes a finished packet, once more if the first write fails. Before
// InitTable it shows "系统初始化尚未完成！" and writes nothing. 0 when written.
int SendPacket(TClientTable& table, const Packet& packet);

// Senders: build from the table state (TableNumber, OwnSeat, BidPoints, ...),
// then SendPacket, and SendPacket once more when it fails. 0 when written.
int SendBid(TClientTable& table);
int SendBidPass(TClientTable& table);
int SendPlayPass(TClientTable& table);
int SendTalk(TClientTable& table, std::string_view utf8Text);
// Our own senders, the same way: true when written.
bool SendIconChange(TClientTable& table, std::int32_t serviceIcon, std::int32_t headIcon);
bool SendAutoPlay(TClientTable& table, bool computerPlays);
// Asks for the top `count` lines of the standings, or the own line.
bool SendStandingsRequest(TClientTable& table, StandingsAsk ask, std::uint8_t count = 0);
// Asks for the own `count` newest games (1..20), and for one of them whole.
bool SendReplayListRequest(TClientTable& table, std::uint8_t count);
bool SendReplayGameRequest(TClientTable& table, std::int64_t gameId);
bool SendStateRequest(TClientTable& table);

// A play goes out in three steps so that cards leave the hand only once their
// packet was written: PreparePlay packs the classified selection, SendPlay
// writes it, CommitPlay takes the cards out of the hand (remembering them in
// SentCards until the server's notice settles them) and enters PlaySent.
std::optional<Packet> PreparePlay(const TClientTable& table);
// 0 when the play was written; the hand and the state are untouched either way.
int SendPlay(TClientTable& table);
void CommitPlay(TClientTable& table);

// The play button: in InPlay on the own turn, checks the selection against the
// table (against nothing when the own seat leads), sends it and commits it.
// True when the play went out; false when it was refused or could not be
// written, in which case the cards stay in the hand and selected.
bool PlaySelection(TClientTable& table);

// Selects the first cards of each rank that `ranks` counts (a computer
// player's choice, a hint) and checks them as the play button would, without
// a message. False, with nothing selected, when they are no play here.
bool SelectPlay(TClientTable& table, const RankCounts& ranks);

// The pass button: in MyBid a bid pass; in InPlay on the own turn a play pass,
// or the message "你不可以PASS自己耶，宝贝。" when the own seat leads. True when
// a pass was written. The state is left to the server's answer.
bool PressPass(TClientTable& table);

}  // namespace quarn::client
