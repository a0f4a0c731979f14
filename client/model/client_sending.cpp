#include "client/model/client_sending.h"

#include "client/model/screen_texts.h"
#include "core/card_error.h"
#include "core/gbk.h"
#include "protocol/packet_builder.h"

namespace quarn::client {

namespace {

// A seat outside 0..3 would wrap into a valid byte; refuse it before it does.
std::optional<std::uint8_t> SeatByte(int seat) {
  if (!IsSeat(seat)) return std::nullopt;
  return static_cast<std::uint8_t>(seat);
}

std::int32_t TableWord(std::uint32_t tableNumber) {
  return static_cast<std::int32_t>(tableNumber);
}

// The table window tries a failed packet once more; SendPacket itself already
// writes twice.
int SendWithRetry(TClientTable& table, const std::optional<Packet>& packet) {
  if (!packet) return 1;
  if (SendPacket(table, *packet) == 0) return 0;
  if (!table.Initialized) return 1;  // the refusal has been shown once
  return SendPacket(table, *packet);
}

}  // namespace

std::optional<Packet> BuildLoginRequest(std::string_view utf8Name, std::string_view utf8Password,
                                        std::int32_t serviceIcon, std::int32_t headIcon,
                                        std::int32_t tableNumber, int seat) {
  const auto seatByte = SeatByte(seat);
  if (!seatByte) return std::nullopt;
  const LoginRecord request = MakeLoginRequest(Utf8ToGbk(utf8Name), Utf8ToGbk(utf8Password),
                                               serviceIcon, headIcon, tableNumber, *seatByte);
  return BuildPacket(MessageType::LoginRequest, request);
}

std::optional<Packet> BuildBidOffer(std::uint32_t tableNumber, int seat, std::int32_t points) {
  const auto seatByte = SeatByte(seat);
  if (!seatByte) return std::nullopt;
  return BuildPacket(MessageType::BidOffer, BidRecord{TableWord(tableNumber), *seatByte, points});
}

std::optional<Packet> BuildBidPass(std::uint32_t tableNumber, int seat, std::int32_t points) {
  const auto seatByte = SeatByte(seat);
  if (!seatByte) return std::nullopt;
  return BuildPacket(MessageType::BidPass, BidRecord{TableWord(tableNumber), *seatByte, points});
}

std::optional<Packet> BuildPlayPass(std::uint32_t tableNumber, int seat) {
  const auto seatByte = SeatByte(seat);
  if (!seatByte) return std::nullopt;
  return BuildPacket(MessageType::PlayPass, SeatRecord{TableWord(tableNumber), *seatByte});
}

std::optional<Packet> BuildPlayCards(std::uint32_t tableNumber, int seat,
                                     const TSelectPoker& selection) {
  const auto seatByte = SeatByte(seat);
  if (!seatByte) return std::nullopt;
  PlayRecord play;
  play.tableNumber = TableWord(tableNumber);
  play.seat = *seatByte;
  play.count = static_cast<std::uint8_t>(selection.Count());
  if (!selection.SaveBytes(play.cards)) return std::nullopt;
  play.comboType = static_cast<std::uint8_t>(selection.Type());
  play.keyRank = selection.Key();
  return BuildPacket(MessageType::PlayCards, play);
}

std::optional<Packet> BuildChatSay(std::uint32_t tableNumber, int seat, std::string_view utf8Text) {
  const auto seatByte = SeatByte(seat);
  if (!seatByte) return std::nullopt;
  ChatRecord chat{TableWord(tableNumber), *seatByte, GbkCut(Utf8ToGbk(utf8Text), kChatBytes)};
  return BuildPacket(MessageType::ChatSay, chat);
}

std::optional<Packet> BuildIconChange(std::uint32_t tableNumber, int seat, std::int32_t serviceIcon,
                                      std::int32_t headIcon) {
  const auto seatByte = SeatByte(seat);
  if (!seatByte) return std::nullopt;
  return BuildPacket(MessageType::IconChange,
                     IconRecord{TableWord(tableNumber), serviceIcon, headIcon, *seatByte});
}

int SendPacket(TClientTable& table, const Packet& packet) {
  if (!table.Initialized) {
    table.Display().ShowMessage(MessageIcon::Error, kCaptionError, kMsgNotInitialized);
    return 1;
  }
  IPacketWriter* writer = table.Writer();
  if (writer == nullptr) return 1;
  // Only the answer to a request sent is taken as ours.
  if (WatchRequestRecord watch;
      packet.RawType() == static_cast<std::uint32_t>(MessageType::WatchRequest) &&
      DecodeWatchRequest(watch, packet) == 0) {
    table.WatchAsked = watch.tableNumber;
  }
  if (writer->WritePacket(packet.data())) return 0;
  return writer->WritePacket(packet.data()) ? 0 : 1;
}

int SendBid(TClientTable& table) {
  return SendWithRetry(table, BuildBidOffer(table.TableNumber, table.OwnSeat, table.BidPoints));
}

int SendBidPass(TClientTable& table) {
  return SendWithRetry(table, BuildBidPass(table.TableNumber, table.OwnSeat, table.BidPoints));
}

int SendPlayPass(TClientTable& table) {
  return SendWithRetry(table, BuildPlayPass(table.TableNumber, table.OwnSeat));
}

int SendTalk(TClientTable& table, std::string_view utf8Text) {
  return SendWithRetry(table, BuildChatSay(table.TableNumber, table.OwnSeat, utf8Text));
}

bool SendIconChange(TClientTable& table, std::int32_t serviceIcon, std::int32_t headIcon) {
  return SendWithRetry(
             table, BuildIconChange(table.TableNumber, table.OwnSeat, serviceIcon, headIcon)) == 0;
}

std::optional<Packet> BuildStateRequest(std::uint32_t tableNumber, int seat) {
  const auto seatByte = SeatByte(seat);
  if (!seatByte) return std::nullopt;
  return BuildPacket(MessageType::StateRequest, SeatRecord{TableWord(tableNumber), *seatByte});
}

std::optional<Packet> BuildAutoPlayRequest(std::uint32_t tableNumber, int seat,
                                           bool computerPlays) {
  const auto seatByte = SeatByte(seat);
  if (!seatByte) return std::nullopt;
  const SeatControl control = computerPlays ? SeatControl::OnRequest : SeatControl::Person;
  return BuildPacket(MessageType::AutoPlayRequest,
                     AutoPlayRecord{TableWord(tableNumber), *seatByte, control});
}

bool SendAutoPlay(TClientTable& table, bool computerPlays) {
  return SendWithRetry(table,
                       BuildAutoPlayRequest(table.TableNumber, table.OwnSeat, computerPlays)) == 0;
}

bool SendStandingsRequest(TClientTable& table, StandingsAsk ask, std::uint8_t count) {
  if (table.GameState == TGameState::Offline) return false;
  const StandingsRequestRecord request{TableWord(table.TableNumber), ask,
                                       ask == StandingsAsk::Top ? count : std::uint8_t{0}};
  const bool sent = SendWithRetry(table, BuildPacket(MessageType::StandingsRequest, request)) == 0;
  // A server that keeps no games never answers: the open requests stay few.
  if (sent && table.StandingsAsked.size() < 8) table.StandingsAsked.push_back(ask);
  return sent;
}

bool SendReplayListRequest(TClientTable& table, std::uint8_t count) {
  if (table.GameState == TGameState::Offline) return false;
  const ReplayListRequestRecord request{TableWord(table.TableNumber), count};
  const bool sent = SendWithRetry(table, BuildPacket(MessageType::ReplayListRequest, request)) == 0;
  TReplays& replays = table.Replays;
  if (sent && replays.ListAsked < TReplays::kMaxListAsked) ++replays.ListAsked;
  return sent;
}

bool SendReplayGameRequest(TClientTable& table, std::int64_t gameId) {
  if (table.GameState == TGameState::Offline) return false;
  const ReplayGameRequestRecord request{TableWord(table.TableNumber), gameId};
  if (SendWithRetry(table, BuildPacket(MessageType::ReplayGameRequest, request)) != 0) return false;
  TReplays& replays = table.Replays;
  replays.GameId = gameId;
  replays.Arrival = ReplayArrival::Arriving;
  replays.Parts = RecordJoiner{};
  replays.Game.reset();
  replays.Fault.clear();
  return true;
}

bool SendStateRequest(TClientTable& table) {
  return SendWithRetry(table, BuildStateRequest(table.TableNumber, table.OwnSeat)) == 0;
}

std::optional<Packet> PreparePlay(const TClientTable& table) {
  return BuildPlayCards(table.TableNumber, table.OwnSeat, table.Me.Selection);
}

int SendPlay(TClientTable& table) {
  return SendWithRetry(table, PreparePlay(table));
}

void CommitPlay(TClientTable& table) {
  table.SentCards.clear();
  for (const TPoker& card : table.Me.Selection.Cards()) {
    if (card.IsPresent()) table.SentCards.push_back(static_cast<std::uint8_t>(card.Number()));
  }
  table.Me.RemovePlayed();
  table.SetGameState(TGameState::PlaySent);
}

bool PlaySelection(TClientTable& table) {
  if (table.GameState != TGameState::InPlay || !table.OwnTurn()) return false;
  const TSelectPoker* toBeat = table.LeadSeat == table.OwnSeat ? nullptr : &table.TableCards;
  if (!table.Me.CanPlay(toBeat)) return false;
  if (SendPlay(table) != 0) return false;
  CommitPlay(table);
  return true;
}

bool SelectPlay(TClientTable& table, const RankCounts& ranks) {
  TCurrentPlayer& me = table.Me;
  const bool lead = table.LeadSeat == table.OwnSeat || table.TableCards.Count() == 0;
  bool playable = false;
  {
    const SilencedCardErrors silenced;
    playable = me.SelectRanks(ranks) && me.CanPlay(lead ? nullptr : &table.TableCards);
  }
  if (!playable) me.CancelSelection();
  return playable;
}

bool PressPass(TClientTable& table) {
  if (table.GameState == TGameState::MyBid) return SendBidPass(table) == 0;
  if (table.GameState != TGameState::InPlay || !table.OwnTurn()) return false;
  if (table.LeadSeat == table.OwnSeat) {
    table.Display().ShowMessage(MessageIcon::Warning, kCaptionInfo, kMsgNoSelfPass);
    return false;
  }
  return SendPlayPass(table) == 0;
}

}  // namespace quarn::client
