// Watchers and the lobby: a whole game followed as the seats see it, by a
// watcher from the start and one from the middle, beside one whose
// connection stalls; what a watcher may not do; and the lobby's list of the
// tables in use, kept for a moment, bounded in size and in how often one asks,
// and with servers that share a lobby board, every server's tables.
#include <algorithm>

#include "server/connections.h"
#include "server/lobby_desk.h"
#include "store/sqlite/sqlite_lobby.h"
#include "store/sqlite/statement.h"
#include "tests/server/harness.h"

namespace quarn::server::testing {
namespace {

using enum MessageType;
using std::chrono::milliseconds;
using Bytes = std::vector<std::uint8_t>;

ServerSettings Watched(std::uint32_t spectators, std::uint32_t tables = 1) {
  return {.allowBid = true, .tables = tables, .spectators = spectators};
}

// What the seats are sent in public: a seat's own cards and answers left out.
bool Public(MessageType type) {
  return type != DealCards && type != ExtraCards && type != LoginReply && type != TableState;
}

std::vector<Bytes> PacketsTo(const std::vector<SentPacket>& sent, ConnectionId to,
                             std::size_t from = 0, bool publicOnly = false) {
  std::vector<Bytes> out;
  for (std::size_t i = from; i < sent.size(); ++i) {
    if (sent[i].connection == to && (!publicOnly || Public(Kind(sent[i])))) {
      out.push_back(sent[i].bytes);
    }
  }
  return out;
}

template <typename Record>
Record Read(const Bytes& bytes, MessageType type) {
  Record record;
  EXPECT_EQ(DecodeBody(type, record, PacketFromBytes(bytes)), 0)
      << MessageName(std::uint32_t(type));
  return record;
}

void Watch(Harness& h, ConnectionId id, std::int32_t table = 1) {
  h.Open(id);
  h.Send(id, WatchRequest, WatchRequestRecord{table, "w" + std::to_string(id)});
}

bool GameEnded(const Harness& h) {
  return std::any_of(h.host.sent.begin(), h.host.sent.end(), [](const SentPacket& p) {
    return p.connection != kNoConnection && Kind(p) == GameEnd;
  });
}

TEST(Watchers, FollowAWholeGameAsEverySeatSeesIt) {
  Harness h(Watched(3));
  Watch(h, 5);
  h.host.stalled.insert(7);
  Watch(h, 7);
  h.SeatFour();
  h.settle = false;  // the computer plays every seat, one paced move at a time
  for (std::uint8_t seat = 0; seat < 4; ++seat) {
    h.Send(h.SocketOf(seat), AutoPlayRequest, AutoPlayRecord{1, seat, SeatControl::OnRequest});
  }
  h.host.Advance(milliseconds(20000));
  ASSERT_EQ(h.table().Status, TablePlaying);
  const std::size_t joinedAt = h.host.sent.size();
  Watch(h, 6);
  std::array<std::uint8_t, 4> counts{};
  for (std::size_t seat = 0; seat < 4; ++seat) {
    counts[seat] = static_cast<std::uint8_t>(h.table().Players[seat].Hand.Count());
  }
  for (int second = 0; second < 600 && !GameEnded(h); ++second) h.host.Advance(milliseconds(1000));
  ASSERT_TRUE(GameEnded(h));

  // From the start: its answer and the empty seat list, then exactly what seat 0 saw in public.
  const std::vector<Bytes> seat0 = PacketsTo(h.host.sent, 1, 0, true);
  const std::vector<Bytes> first = PacketsTo(h.host.sent, 5);
  ASSERT_GE(first.size(), 2u);
  EXPECT_EQ(Read<WatchReplyRecord>(first[0], WatchReply).result, WatchResult::Watching);
  EXPECT_EQ(Kind({5, first[1]}), SeatList);
  EXPECT_EQ(std::vector<Bytes>(first.begin() + 2, first.end()), seat0);
  EXPECT_GT(std::count_if(seat0.begin(), seat0.end(),
                          [](const Bytes& b) {
                            return Kind({1, b}) == PlayNotice;
                          }),
            20);
  // From the middle: the public state at once (the counts, no hand), then the same as seat 0.
  const std::vector<Bytes> middle = PacketsTo(h.host.sent, 6, joinedAt);
  ASSERT_GE(middle.size(), 4u);
  EXPECT_EQ(Read<WatchReplyRecord>(middle[0], WatchReply).watchers, 3);
  const auto state = Read<TableStateRecord>(middle[2], WatchState);
  EXPECT_EQ(state.cardCount, counts);
  EXPECT_EQ(state.phase, TablePhase::Playing);
  EXPECT_EQ(Kind({6, middle[3]}), AutoPlayNotice);
  EXPECT_EQ(std::vector<Bytes>(middle.begin() + 4, middle.end()),
            PacketsTo(h.host.sent, 1, joinedAt, true));
}

// That a watcher never sits, moves or is answered twice is the service
// fuzzer's check; here, what it cannot see: chat off, the timeout, the refusals.
TEST(Watchers, MayNotSpeakNorCountAsStrangersAndAreRefusedWithAReason) {
  Harness h(Watched(1, 2));
  h.SeatFour();
  Watch(h, 5);
  h.host.TakeSent();
  const std::uint8_t turn = static_cast<std::uint8_t>(h.table().Turn);
  h.Send(5, ChatSay, ChatRecord{1, turn, "hi"});  // watchers' chat is off
  EXPECT_TRUE(h.host.TakeSent().empty());
  // A watcher is no stranger: the login time does not close it.
  h.host.Advance(kLoginTimeout + std::chrono::seconds(1));
  h.app.Tick();
  EXPECT_EQ(std::count(h.host.closed.begin(), h.host.closed.end(), ConnectionId{5}), 0);

  // The answers that refuse: a full table, a table the server does not run, watching off.
  const auto replyTo = [](Harness& server, ConnectionId id, std::int32_t table) {
    Watch(server, id, table);
    const auto sent = server.host.TakeSent();
    return sent.size() == 1 ? Read<WatchReplyRecord>(sent[0].bytes, WatchReply).result
                            : WatchResult::Watching;
  };
  EXPECT_EQ(replyTo(h, 6, 1), WatchResult::Full);
  EXPECT_EQ(replyTo(h, 7, 3), WatchResult::NoTable);
  Harness off(Watched(0));
  EXPECT_EQ(replyTo(off, 6, 1), WatchResult::Off);

  // With watchers' chat on, a watcher's line reaches the four seats and both
  // watchers, named in its text since it has no seat.
  ServerSettings chatty = Watched(2);
  chatty.spectatorChat = true;
  Harness talk(chatty);
  talk.SeatFour();
  Watch(talk, 5);
  Watch(talk, 6);
  talk.host.TakeSent();
  talk.Send(5, ChatSay, ChatRecord{1, turn, "hi"});
  std::vector<ConnectionId> heard;
  for (const SentPacket& sent : talk.host.TakeSent()) {
    heard.push_back(sent.connection);
    EXPECT_EQ(Read<ChatRecord>(sent.bytes, ChatNotice),
              (ChatRecord{1, 0, "\xA1\xBE\xB9\xDB\xD6\xDAw5\xA1\xBFhi"}));
  }
  std::sort(heard.begin(), heard.end());
  EXPECT_EQ(heard, (std::vector<ConnectionId>{1, 2, 3, 4, 5, 6}));
  // A seat's line written to look like a watcher's loses the mark's 【.
  talk.Send(1, ChatSay, ChatRecord{1, 0, "\xA1\xBE\xB9\xDB\xD6\xDAw5\xA1\xBFpass!"});
  for (const SentPacket& sent : talk.host.TakeSent()) {
    EXPECT_EQ(Read<ChatRecord>(sent.bytes, ChatNotice).text, "[\xB9\xDB\xD6\xDAw5\xA1\xBFpass!");
  }
}

std::vector<LobbyLineRecord> Ask(Harness& h, ConnectionId id, std::int32_t first = 1) {
  h.Send(id, LobbyRequest, LobbyRequestRecord{first});
  std::vector<LobbyLineRecord> lines;
  for (const SentPacket& sent : h.host.TakeSent()) {
    if (sent.connection == id && Kind(sent) == LobbyLine)
      lines.push_back(Read<LobbyLineRecord>(sent.bytes, LobbyLine));
  }
  return lines;
}

TEST(Lobby, ListsTheTablesInUseKeptForAMomentAndBounded) {
  Harness h(ServerSettings{.allowDelay = false, .tables = 20, .spectators = 2});
  h.Open(100);
  const auto none = Ask(h, 100);
  ASSERT_EQ(none.size(), 1u);
  EXPECT_EQ(none[0].kind, LobbyKind::None);
  EXPECT_EQ(none[0].tables, 20);
  EXPECT_EQ(none[0].watcherLimit, 2);

  h.Open(1);
  h.Login(1, "A", 0, 2);
  h.Open(2);
  h.Login(2, "B", 2, 2);
  Watch(h, 3, 5);
  EXPECT_EQ(Ask(h, 100), none);  // the answer of a moment ago
  h.host.Advance(LobbyDesk::kFresh);
  const auto lines = Ask(h, 100);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(
      lines[0],
      (LobbyLineRecord{
          2, LobbyKind::Table, 2, LobbyTableState::Waiting, 2, 0, 2, 20, {"A", "", "B", ""}}));
  EXPECT_EQ(lines[1].tableNumber, 5);
  EXPECT_EQ(lines[1].watchers, 1);
  EXPECT_EQ(lines[1].freeSeats, 4);

  for (ConnectionId table = 1; table <= 17; ++table) {
    h.Open(10 + table);
    h.Login(10 + table, "p" + std::to_string(table), 1, static_cast<std::int32_t>(table));
  }
  h.host.Advance(LobbyDesk::kFresh);
  EXPECT_EQ(Ask(h, 3).size(), 16u);  // a watcher may ask too; never more than 16 lines
  const auto rest = Ask(h, 3, 17);
  ASSERT_EQ(rest.size(), 1u);
  EXPECT_EQ(rest[0].tableNumber, 17);

  // Asking without pause closes the connection; the others are untouched.
  for (int ask = 0; ask < LobbyDesk::kAsksPerWindow; ++ask) Ask(h, 100);
  EXPECT_EQ(h.host.closed, std::vector<ConnectionId>{100});
  EXPECT_TRUE(std::any_of(h.view.log.begin(), h.view.log.end(), [](const std::string& line) {
    return line.find("查询桌子列表过于频繁") != std::string::npos;
  }));
  // Turned off, the lobby is silent, as a server that predates it.
  Harness off(ServerSettings{.lobby = false});
  off.Open(1);
  EXPECT_TRUE(Ask(off, 1).empty());
}

// Two servers on one board, each holding a range of its own: both list the
// tables in use at either, in number order, numbered as they are logged in to.
TEST(Lobby, ListsTheTablesOfEveryServerOnTheBoard) {
  sqlite3* memory = nullptr;
  ASSERT_EQ(sqlite3_open(":memory:", &memory), SQLITE_OK);
  const store::Connection db(memory);
  store::SqliteLobby board(db.get());
  Harness one(ServerSettings{.tables = 8, .spectators = 2});
  Harness two(ServerSettings{.tables = 8, .firstTable = 9});
  for (Harness* h : {&one, &two}) h->app.ShareLobby(&board);
  two.Open(1);
  two.Login(1, "B", 0, 12);
  one.Open(1);
  one.Login(1, "A", 1, 3);
  for (Harness* h : {&one, &two, &one}) {
    h->app.Tick();
    h->host.Advance(std::chrono::seconds(1));
  }
  for (Harness* h : {&one, &two}) {
    h->Open(100);
    EXPECT_EQ(
        Ask(*h, 100),
        (std::vector<LobbyLineRecord>{
            {3, LobbyKind::Table, 2, LobbyTableState::Waiting, 3, 0, 2, 16, {"", "A", "", ""}},
            {12, LobbyKind::Table, 2, LobbyTableState::Waiting, 3, 0, 0, 16, {"B", "", "", ""}}}));
  }
  EXPECT_EQ(Ask(two, 100, 6).at(0).tableNumber, 12);
}

}  // namespace
}  // namespace quarn::server::testing
