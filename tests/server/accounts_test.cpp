// Names that belong to their players, through the real SQLite store: odd names
// and passwords compared as exact bytes, guessing slowed on the fake clock
// without a single sleep, a store that cannot register refusing clearly, and
// kept seats that still take their players back.
#include <sqlite3.h>

#include "server/login_throttle.h"
#include "store/sqlite/sqlite_database.h"
#include "tests/server/harness.h"

namespace quarn::server::testing {
namespace {

using namespace std::string_literals;
using std::chrono::milliseconds;

constexpr int kRefused = -1;
constexpr int kNoAnswer = -2;

// A server restarted with accounts over a store in its folder.
struct AccountsHarness : Harness {
  explicit AccountsHarness(ServerSettings settings = {}) : Harness(settings) {
    auto opened = store::SqliteDatabase::Open(dir.path() / "games.db");
    EXPECT_TRUE(opened.database) << opened.error;
    database = std::move(opened.database);
    app.Stop();
    app.UseDatabase(database.get());
    app.UsePasswordCost(CheapCost());
    settings.accounts = true;
    EXPECT_EQ(app.Start(settings), StartResult::Started);
  }
  ~AccountsHarness() { app.UseDatabase(nullptr); }
  std::unique_ptr<store::SqliteDatabase> database;
};

// The seat a login of `id` was given, kRefused for the refusal form, or
// kNoAnswer when no reply went to it.
int Answer(Harness& h, ConnectionId id) {
  for (const SentPacket& sent : OfKind(h.host.TakeSent(), MessageType::LoginReply)) {
    if (sent.connection != id) continue;
    LoginRecord reply;
    const bool seated = DecodeLoginReply(reply, PacketFromBytes(sent.bytes)) == 0;
    return seated ? reply.seat : kRefused;
  }
  return kNoAnswer;
}

int LoginAnswer(Harness& h, ConnectionId id, const std::string& name, const std::string& password) {
  h.Open(id);
  h.Login(id, name, 0, 1, password);
  return Answer(h, id);
}

TEST(Accounts, NamesAndPasswordsAreComparedAsExactBytes) {
  struct Row {
    std::string name, password, wrong;
  };
  const std::vector<Row> rows = {
      {"\xd5\xc5\xc8\xfd", "\xc3\xdc\xc2\xeb", "\xc3\xdc\xc2\xec"},  // GBK, one byte apart
      {"\x81\x20\xff", "\xff\xfe", "\xff"},                          // invalid GBK
      {"123456789012345", "abcdefghijklmno", "abcdefghijklmnp"},     // 15 bytes each
      {"x';DROP TABLE--", "' OR '1'='1", "' OR '1'='2"},             // SQL metacharacters
      {"%_*", "%", "_"},                                             // pattern characters
      {"ab", "pw\0one"s, "pX"},  // a password ends at its NUL on the wire: "pw"
      {"ab\0cd"s, "pw", "pw "},  // so does a name: this is "ab" again
      {"AB", "", "pw"},          // another name; no password is a password
  };
  AccountsHarness h;
  ConnectionId id = 1;
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::PrintToString(row.name));
    EXPECT_EQ(LoginAnswer(h, id, row.name, row.password), 0);
    h.app.ConnectionClosed(id++);
    EXPECT_EQ(LoginAnswer(h, id, row.name, row.wrong), kRefused);
    EXPECT_EQ(h.table().Count, 0u);
    EXPECT_EQ(LoginAnswer(h, ++id, row.name, row.password), 0);
    h.app.ConnectionClosed(id++);
  }
  // Stored once per name, and only as a hash.
  const auto hash = h.database->PasswordHash("ab");
  ASSERT_TRUE(hash);
  EXPECT_TRUE(hash->starts_with("$argon2id$"));
  EXPECT_EQ(h.database->PasswordHash("ab\0cd"s), std::nullopt);
}

TEST(Accounts, FailuresFromOneAddressAreSlowedOnTheHostsClock) {
  AccountsHarness h;
  h.settle = false;
  ASSERT_EQ(LoginAnswer(h, 1, "owner", "right"), 0);
  h.host.RunTimers();  // the seat list
  h.host.TakeSent();
  ConnectionId id = 10;
  for (int failure = 1; failure <= 8; ++failure) {
    SCOPED_TRACE(failure);
    const milliseconds wait = LoginThrottle::DelayAfter(failure - 1);
    EXPECT_EQ(LoginAnswer(h, id, "owner", "guess"), wait.count() == 0 ? kRefused : kNoAnswer);
    if (wait.count() > 0) {
      h.host.Advance(wait - milliseconds(1));
      EXPECT_EQ(Answer(h, id), kNoAnswer);
      h.host.Advance(milliseconds(1));
      EXPECT_EQ(Answer(h, id), kRefused);
    }
    ++id;
  }
  EXPECT_EQ(LoginThrottle::DelayAfter(8), LoginThrottle::kLongestDelay);
  // Another address is not slowed; a waiting login whose connection goes is dropped.
  h.host.addresses[id] = "10.0.0.2";
  EXPECT_EQ(LoginAnswer(h, id, "owner", "guess"), kRefused);
  EXPECT_EQ(LoginAnswer(h, ++id, "owner", "right"), kNoAnswer);
  h.app.ConnectionClosed(id);
  h.host.Advance(LoginThrottle::kLongestDelay);
  EXPECT_EQ(Answer(h, id), kNoAnswer);
  // A quiet while later the address is forgotten; a right password still needs its turn before.
  h.host.Advance(LoginThrottle::kForgetAfter);
  EXPECT_EQ(LoginAnswer(h, ++id, "owner", "right"), 1);
}

TEST(Accounts, ANameTheStoreCannotRegisterIsRefusedAndKnownNamesStillLogIn) {
  AccountsHarness h;
  ASSERT_EQ(LoginAnswer(h, 1, "known", "pw"), 0);
  ASSERT_EQ(sqlite3_exec(h.database->Handle(), "PRAGMA query_only = 1", nullptr, nullptr, nullptr),
            SQLITE_OK);
  h.view.log.clear();
  EXPECT_EQ(LoginAnswer(h, 2, "new", "pw"), kRefused);
  EXPECT_EQ(h.database->PasswordHash("new"), std::nullopt);
  EXPECT_TRUE(std::any_of(h.view.log.begin(), h.view.log.end(), [](const std::string& line) {
    return line.find("无法注册") != std::string::npos;
  }));
  EXPECT_EQ(LoginAnswer(h, 3, "known", "pw"), 1);
}

TEST(Accounts, AKeptSeatTakesItsPlayerBackAndNobodyElse) {
  AccountsHarness h(ServerSettings{.allowDelay = false, .keepSeats = true});
  h.SeatFour();
  ASSERT_EQ(h.table().Status, TablePlaying);
  h.app.ConnectionClosed(2);  // B's seat is kept
  h.host.TakeSent();
  EXPECT_EQ(LoginAnswer(h, 20, "B", "wrong"), kRefused);
  EXPECT_EQ(LoginAnswer(h, 21, "B", "pw"), 1);
  EXPECT_EQ(h.SocketOf(1), 21u);
}

TEST(Accounts, NeedTheStore) {
  Harness h;
  h.app.Stop();
  EXPECT_EQ(h.app.Start(ServerSettings{.accounts = true}), StartResult::NoStore);
  EXPECT_FALSE(h.app.Listening());
}

}  // namespace
}  // namespace quarn::server::testing
