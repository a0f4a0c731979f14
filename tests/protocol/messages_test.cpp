// Every message against its golden bytes, both ways, and what the golden
// bytes cannot show: refused records, text cuts and answers built in place.
#include <gtest/gtest.h>

#include <numeric>
#include <set>

#include "core/gbk.h"
#include "protocol/any_message.h"
#include "protocol/pcpchat.h"
#include "tests/protocol/golden.h"
#include "tests/support/sample_table_state.h"

namespace quarn {
namespace {

using enum MessageType;
using enum SeatControl;
using test::Built;
using test::Bytes;
using test::ToBytes;

DealRecord Hand(std::uint8_t seat, std::uint8_t count, std::uint8_t first) {
  DealRecord r{1, seat, count, {}};
  std::iota(r.cards.begin(), r.cards.begin() + count, first);
  return r;
}

PlayRecord Play(std::uint8_t seat, std::uint8_t count, std::uint8_t first) {
  PlayRecord r{.tableNumber = 1, .seat = seat, .count = count};
  std::iota(r.cards.begin(), r.cards.begin() + count, first);
  return r;
}

GameEndRecord FourPlayers() {
  return {.tableNumber = 1,
          .nameLength = {3, 2, 1, 15},
          .name = {"ann", "bo", "c", "fifteen-letters"},
          .rounds = {1, 2, 3, 4},
          .score = {-30, 90, -30, -30},
          .serviceIcon = {1, 2, 3, 4},
          .headIcon = {5, 6, 7, 8},
          .winner = 1};
}

ReplayGamePartRecord ReplayPart() {
  ReplayGamePartRecord r{
      1, ReplayKind::Found, 2, 3, 42, 300, 0x01234567, std::vector<std::uint8_t>(28)};
  std::iota(r.bytes.begin(), r.bytes.end(), 1);
  return r;
}

// The sample game as a watcher knows it: no seat, no hand.
TableStateRecord WatchedState() {
  TableStateRecord r = test::SampleTableState();
  r.seat = kWatcherSeat;
  r.handCount = 0;
  r.hand = {};
  return r;
}

struct Sample {
  const char* name;  // of its golden packet
  MessageType type;
  MessageBody body;
};

std::vector<Sample> Samples() {
  PlayRecord pair = Play(2, 2, 1);
  pair.comboType = 2;
  pair.keyRank = 1;
  PlayRecord plane = Play(1, 33, 76);
  plane.comboType = 4;
  plane.keyRank = 13;
  plane.comboName = {'p', 'l', 'a', 'n', 'e'};
  return {
      {"login_request", LoginRequest, MakeLoginRequest("abc", "", 2, 5, 1, 3)},
      {"login_reply", LoginReply,
       LoginRecord{
           .nameLength = {17}, .name = {"somebody"}, .password = {}, .tableNumber = 1, .seat = 2}},
      {"seat_list", SeatList,
       LoginRecord{.nameLength = {1, 2, 3, 4},
                   .name = {"a", "bb", "ccc", "dddd"},
                   .serviceIcon = {10, 11, 12, 13},
                   .headIcon = {20, 21, 22, 23},
                   .password = {},
                   .tableNumber = 1}},
      {"deal_cards", DealCards, Hand(3, 25, 80)},
      {"extra_cards", ExtraCards, Hand(0, 8, 101)},
      {"start_card", StartCardNotice, Hand(2, 1, 17)},
      {"bid_start", BidStart, BidRecord{1, 0, 1}},
      {"bid_turn", BidTurn, BidRecord{1, 1, 2}},
      {"bid_result", BidResult, BidRecord{1, 2, 10}},
      {"bid_pass", BidPass, BidRecord{1, 3, 0}},
      {"bid_offer", BidOffer, BidRecord{1, 2, 44}},
      {"play_cards", PlayCards, pair},
      {"play_notice", PlayNotice, plane},
      {"play_notice_pass", PlayNotice, Play(1, 0, 0)},
      {"play_pass", PlayPass, SeatRecord{1, 3}},
      {"play_turn", PlayTurn, SeatRecord{1, 0}},
      {"player_leave", PlayerLeave, SeatRecord{1, 2}},
      {"game_end", GameEnd, FourPlayers()},
      {"game_spare", GameSpare, std::monostate{}},
      {"chat_say", ChatSay, ChatRecord{1, 2, "hello"}},
      {"chat_notice", ChatNotice, ChatRecord{1, 0, std::string(58, 'y')}},
      {"icon_change", IconChange, IconRecord{1, 22, 40, 3}},
      {"icon_change_alt", IconChangeAlt, IconRecord{1, 4, 5, 1}},
      {"icon_notice", IconNotice, IconRecord{1, 6, 7, 2}},
      {"icon_notice_alt", IconNoticeAlt, IconRecord{1, 8, 9, 3}},
      {"state_request", StateRequest, SeatRecord{1, 2}},
      {"auto_play_request", AutoPlayRequest, AutoPlayRecord{1, 3, SeatControl::OnRequest}},
      {"auto_play_notice", AutoPlayNotice,
       AutoPlayRecord{1, 2, SeatControl::PlayerGone, {Person, OnRequest, PlayerGone, Person}}},
      {"turn_clock", TurnClock, TurnClockRecord{1, 0, 30000, 12500}},
      {"table_state", TableState, test::SampleTableState()},
      {"standings_request", StandingsRequest, StandingsRequestRecord{1, StandingsAsk::Top, 10}},
      {"standings_line", StandingsLine,
       StandingsLineRecord{1, StandingsKind::Top, 10, 2, "\xd5\xc5\xc8\xfd", 120, 70, 30, 18, -45,
                           1800000000}},
      {"replay_list_request", ReplayListRequest, ReplayListRequestRecord{1, 10}},
      {"replay_list_line", ReplayListLine,
       ReplayListLineRecord{1,
                            ReplayKind::Found,
                            3,
                            2,
                            3,
                            42,
                            1800000000,
                            1,
                            10,
                            -10,
                            {"\xd5\xc5\xc8\xfd", "bo", "c", "dan"}}},
      {"replay_game_request", ReplayGameRequest, ReplayGameRequestRecord{1, 42}},
      {"replay_game_part", ReplayGamePart, ReplayPart()},
      {"lobby_request", LobbyRequest, LobbyRequestRecord{1}},
      {"lobby_line", LobbyLine,
       LobbyLineRecord{2,
                       LobbyKind::Table,
                       3,
                       LobbyTableState::Waiting,
                       2,
                       1,
                       5,
                       10,
                       {"\xd5\xc5\xc8\xfd", "", "bo", ""}}},
      {"watch_request", WatchRequest, WatchRequestRecord{2, "bo"}},
      {"watch_reply", WatchReply, WatchReplyRecord{2, WatchResult::Watching, 2, 5}},
      {"watch_state", WatchState, WatchedState()},
      {"watcher_chat", ChatNotice, ChatRecord{2, 0, WatcherChatText({"bo", "hi"})}},
  };
}

std::optional<Packet> Build(MessageType type, const MessageBody& body) {
  return std::visit(
      [type](const auto& record) -> std::optional<Packet> {
        if constexpr (std::is_same_v<std::decay_t<decltype(record)>, std::monostate>) {
          return BuildEmptyPacket(type);
        } else {
          return BuildPacket(type, record);
        }
      },
      body);
}

bool Decodes(const Bytes& bytes) {
  return DecodeMessage(PacketFromBytes(bytes)).has_value();
}

TEST(Messages, EachEncodesToItsGoldenBytesAndTheBytesDecodeBack) {
  std::set<MessageType> covered;
  for (const Sample& sample : Samples()) {
    SCOPED_TRACE(sample.name);
    const test::Golden& golden = test::Vectors().at(sample.name);
    const std::optional<Packet> packet = Build(sample.type, sample.body);
    ASSERT_TRUE(packet);
    EXPECT_EQ(ToBytes(*packet), golden.bytes);
    const auto decoded = DecodeMessage(PacketFromBytes(golden.bytes));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->header.type(), sample.type);
    EXPECT_TRUE(decoded->body == sample.body);
    EXPECT_FALSE(DescribeMessage(*decoded).empty());
    for (const auto& [refused, run] : golden.changes) {
      EXPECT_EQ(Decodes(golden.With(run)), !refused) << "bytes at " << run.at;
    }
    // Every proper prefix is refused (that the assembler waits is fuzz_protocol's check).
    for (std::size_t n = 0; n < golden.bytes.size(); ++n) {
      const Bytes prefix(golden.bytes.begin(), golden.bytes.begin() + static_cast<long>(n));
      EXPECT_FALSE(Decodes(prefix)) << n;
    }
    covered.insert(sample.type);
  }
  for (const MessageInfo& info : MessageTable()) {
    EXPECT_TRUE(info.name.empty() || covered.count(info.type)) << info.name;
  }
  // Our own messages lie outside the shared table, at lengths a peer that knows
  // only that table skips whole.
  for (const MessageInfo& info : AddedMessageTable()) {
    EXPECT_TRUE(covered.count(info.type)) << info.name;
    EXPECT_TRUE(info.length >= 48 && info.length <= MaxPacketSize) << info.name;
  }
  EXPECT_EQ(test::Vectors().size(), Samples().size());
  // Decoding over an earlier record leaves nothing of it behind.
  const auto golden = [](const char* name) {
    return PacketFromBytes(test::Vectors().at(name).bytes);
  };
  DealRecord deal = Hand(3, 25, 80);
  ASSERT_EQ(DecodeStartCardNotice(deal, golden("start_card")), 0);
  EXPECT_EQ(deal, Hand(2, 1, 17));
  for (const Sample& sample : Samples()) {
    PlayRecord play = std::get<PlayRecord>(Samples()[12].body);  // the 33 cards
    if (sample.type != PlayCards && sample.type != PlayNotice) continue;
    ASSERT_EQ(DecodePlayNotice(play, golden(sample.name)), 0);
    EXPECT_TRUE(MessageBody(play) == sample.body) << sample.name;
  }
  // A start card goes out with count 1 whatever the record says; points as their low byte.
  EXPECT_EQ(Built(StartCardNotice, Hand(2, 5, 17)), test::Vectors().at("start_card").bytes);
  EXPECT_EQ(Built(BidOffer, BidRecord{1, 2, 300}), test::Vectors().at("bid_offer").bytes);
}

TEST(Messages, EncodersRefuseWhatTheWireCannotCarry) {
  TableStateRecord badState = test::SampleTableState();
  badState.handCount = 6;
  GameEndRecord noWinner = FourPlayers();
  noWinner.winner = 4;
  PlayRecord badCard = Play(0, 2, 108);  // 108, 109
  DealRecord tooMany = Hand(0, 25, 1);
  tooMany.count = 26;
  const std::vector<std::pair<MessageType, MessageBody>> refused = {
      {LoginRequest, MakeLoginRequest("", "", 1, 1, 1, 0)},
      {LoginRequest, MakeLoginRequest(std::string("\0x", 2), "", 1, 1, 1, 0)},
      {LoginReply, MakeLoginRequest("ann", "", 1, 1, 1, 4)},
      {LoginReply, MakeLoginRequest("ann", "", 1, 1, 1, RefusedSeat)},  // 255 only with table -1
      {DealCards, Hand(4, 25, 1)},
      {DealCards, Hand(0, 25, 90)},  // reaches 114
      {DealCards, tooMany},
      {ExtraCards, Hand(0, 7, 1)},
      {BidOffer, BidRecord{1, 4, 1}},
      {PlayCards, Play(0, 34, 1)},
      {PlayCards, Play(0, 0, 0)},
      {PlayCards, badCard},
      {PlayerLeave, SeatRecord{1, 4}},
      {PlayTurn, SeatRecord{1, 4}},
      {GameEnd, noWinner},
      {ChatSay, ChatRecord{1, 4, "hi"}},
      {IconChangeAlt, IconRecord{1, 1, 1, 4}},
      {BidOffer, ChatRecord{1, 0, "x"}},
      {TableState, badState},
      {WatchState, test::SampleTableState()},  // a seat and its hand
      {LobbyLine,
       LobbyLineRecord{2, LobbyKind::Table, 1, LobbyTableState::Waiting, 3, 0, 0, 2, {}}},
      {WatchRequest, WatchRequestRecord{1, ""}},
      {AutoPlayRequest, AutoPlayRecord{1, 0, SeatControl::PlayerGone}},
  };
  for (const auto& [type, body] : refused)
    EXPECT_FALSE(Build(type, body)) << MessageName(std::uint32_t(type));
  for (const std::int32_t length : {0, 16, -1}) {
    GameEndRecord end = FourPlayers();
    end.nameLength[2] = length;
    EXPECT_FALSE(BuildPacket(GameEnd, end)) << length;
  }
}

TEST(Messages, NamesPasswordsAndChatAreCutAtACharacter) {
  LoginRecord got;
  const auto request = [](const std::string& name, const std::string& password) {
    return *BuildPacket(LoginRequest, MakeLoginRequest(name, password, 4, 6, 1, 3));
  };
  // 20 typed bytes: the word says 20, the field holds the first 15.
  ASSERT_EQ(DecodeLoginRequest(got, request("abcdefghijklmnopqrst", "pw")), 0);
  EXPECT_EQ(got.name[0] + got.password, "abcdefghijklmnopw");
  EXPECT_EQ(got.nameLength[0], 20);
  // Eight Chinese characters are 16 bytes: the cut keeps seven whole ones.
  const std::string gbk = Utf8ToGbk("一二三四五六七八");
  ASSERT_EQ(DecodeLoginRequest(got, request(gbk, gbk)), 0);
  EXPECT_EQ(GbkToUtf8(got.name[0] + got.password), "一二三四五六七一二三四五六七");
  EXPECT_EQ(got.nameLength[0], 16);

  ChatRecord chat;
  ASSERT_EQ(DecodeChatSay(chat, *BuildPacket(ChatSay, ChatRecord{1, 2, std::string(70, 'x')})), 0);
  EXPECT_EQ(chat.text, std::string(58, 'x'));
  // One ASCII byte, then 30 Chinese characters: the 58-byte cut keeps 28 of them.
  std::string mixed = "a";
  for (int i = 0; i < 30; ++i) mixed += Utf8ToGbk("中");
  ASSERT_EQ(DecodeChatSay(chat, *BuildPacket(ChatSay, ChatRecord{1, 0, mixed})), 0);
  EXPECT_EQ(chat.text, mixed.substr(0, 57));
  // A field without a NUL is read to its width and no further.
  Packet full = *BuildPacket(ChatSay, ChatRecord{1, 0, ""});
  std::fill_n(full.bytes.begin() + 37, 63, 'z');
  ASSERT_EQ(DecodeChatSay(chat, full), 0);
  EXPECT_EQ(chat.text, std::string(59, 'z'));
}

// The server answers in the request's buffer: only the answer's fields change.
TEST(Messages, AnswersBuiltInTheRequestBufferKeepTheRestAndDropThePassword) {
  Packet packet = *BuildPacket(LoginRequest, MakeLoginRequest("ann", "secret", 4, 6, 1, 3));
  Bytes expected = ToBytes(packet);
  expected[18] = 0x01;
  std::fill_n(expected.begin() + 144, 10, 0);  // password length and text
  expected[167] = 2;
  expected[168] = 1;
  LoginRecord reply;
  ASSERT_EQ(DecodeLoginRequest(reply, packet), 0);
  reply.tableNumber = 2;
  reply.seat = 1;
  ASSERT_EQ(RewriteHeader(packet, LoginReply), 0);
  ASSERT_EQ(EncodeLoginReply(reply, packet), 0);
  EXPECT_EQ(ToBytes(packet), expected);  // the icons stay as the client sent them
  reply.tableNumber = RefusedTable;
  reply.seat = RefusedSeat;
  EXPECT_EQ(EncodeLoginReply(reply, packet), 0);  // the refusal form is sent

  // A pass becomes the notice of the pass, then the next turn, in one buffer.
  packet = *BuildPacket(PlayPass, SeatRecord{1, 3});
  packet.bytes[45] = 0x66;  // a byte the client happened to set
  PlayRecord notice{.tableNumber = 1, .seat = 3, .comboType = 9};  // not written for a pass
  ASSERT_EQ(RewriteHeader(packet, PlayNotice), 0);
  ASSERT_EQ(EncodePlayNotice(notice, packet), 0);
  EXPECT_EQ(packet.bytes[71], 0);
  ASSERT_EQ(RewriteHeader(packet, PlayTurn), 0);
  ASSERT_EQ(EncodePlayTurn(SeatRecord{1, 0}, packet), 0);
  Bytes turn = test::Vectors().at("play_turn").bytes;
  turn[45] = 0x66;
  EXPECT_EQ(ToBytes(packet), turn);
  // Only a type of the same length can be written over a packet.
  EXPECT_EQ(RewriteHeader(packet, BidTurn) + RewriteHeader(packet, MessageType(0x12345678)), 2);
  EXPECT_EQ(ToBytes(packet), turn);
}

TEST(Messages, ScoresFarFromTheBiasComeBackWholeAndDescriptionsNameTheFields) {
  GameEndRecord extreme = FourPlayers();
  extreme.score = {-20000, INT32_MAX, INT32_MIN, 0};
  GameEndRecord got;
  ASSERT_EQ(DecodeGameEnd(got, *BuildPacket(GameEnd, extreme)), 0);
  EXPECT_EQ(got.score, extreme.score);

  auto decoded = DecodeMessage(*BuildPacket(BidOffer, BidRecord{1, 2, 3}));
  EXPECT_EQ(DescribeMessage(*decoded), "BidOffer table=1 seat=2 points=3");
  decoded = DecodeMessage(*BuildPacket(ChatSay, ChatRecord{1, 0, Utf8ToGbk("你好")}));
  EXPECT_EQ(DescribeMessage(*decoded), "ChatSay table=1 seat=0 text=\"你好\"");
}

}  // namespace
}  // namespace quarn
