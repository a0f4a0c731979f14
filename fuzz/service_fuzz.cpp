// The whole game service under arbitrary events: up to six connections open,
// close, log in and send any message with fuzzed fields or raw bytes; the
// clock moves and timers fall due; the seat to move makes a legal move, so
// that whole games get played; the console stops and starts. After every
// event the checks of service_world.h hold, a connection that took a seat sent
// a login the decoder takes, and every send is checked as it happens. After
// the last, every table in play whose seat to move is the computer's (or has a
// turn clock) moves on as the timers run.
//
// The input, read front to back (fuzz/corpus_service has hand-made seeds):
//   byte 0: bit 0 bidding, bit 1 pacing, bit 2 keep seats, bits 3-4 the run
//           log's level, bits 5-7 the tables (1 + value % 3)
//   byte 1: bits 0-1 the turn time (0, 1, 2, 30 s), bits 2-3 the points,
//           bit 4 accounts (over a store in memory, hashes at the least cost),
//           bit 5 that store fails every write
//   byte 2: bits 0-1 the seat list's pause, bits 2-3 the deal's pauses,
//           bits 4-7 which of 16 repeatable runs of deals
//   then events, each an operation byte (value % 12) and its arguments:
//     0 open S          1 close S          2 login S <login fields>
//     3 message S <type and fields> <cut>  4 raw S N <N bytes>
//     5 time T          6, 7 move M <choice>           8 tick
//   (a move is the seat to move's, or another seat's when the choice is 248 or more)
//     9 restart R       10 socket error S K <4 bytes>  11 save or dump D
//   S picks one of six connections, M a table, T a step of the clock.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

#include "core/rn32.h"
#include "fuzz/memory_database.h"
#include "fuzz/service_input.h"
#include "fuzz/service_reach.h"
#include "fuzz/service_world.h"

namespace {

using namespace quarn;
using namespace quarn::server;
using quarn::fuzz::FuzzInput;
using quarn::fuzz::Require;
using quarn::fuzz::ServiceWorld;
using std::chrono::milliseconds;

constexpr std::size_t kSlots = 6;
// Timers one input may run: a table the computer plays all round without
// pauses deals and plays for ever, as it was asked to. A game takes about 70,
// so an input sees a few games end and the next begin; more games than that
// only repeat themselves and took two thirds of the campaign's time.
constexpr int kTimersPerInput = 256;
// The time a table in play may take to move on once its seat to move is the
// computer's (the deal's steps, the longest turn clock, the computer's pause),
// and the timers that may run meanwhile (stale ones of ended games among them).
constexpr milliseconds kLivenessTime{120'000};
constexpr int kLivenessTimers = 20'000;
constexpr milliseconds kLivenessStepCost{10};  // kLivenessTimers of them pass kLivenessTime

ServerSettings SettingsFrom(std::span<const std::uint8_t> head) {
  static constexpr std::array<std::uint32_t, 4> kTurnTimes = {0, 1, 2, 30};
  static constexpr std::array<std::uint32_t, 4> kPoints = {10, 0, 1, 1000000};
  static constexpr std::array<std::uint32_t, 4> kSync = {200, 0, 1, 60000};
  static constexpr std::array<std::uint32_t, 4> kDeal = {500, 0, 3, 1000};
  static constexpr std::array<std::uint32_t, 4> kSpectators = {0, 2, 50, 1};  // 3: no lobby
  const auto value = [head](fuzz::Setting setting) { return SettingValue(head, setting); };
  const auto pick = [&value](const auto& values, fuzz::Setting setting) {
    return values[static_cast<std::size_t>(value(setting))];
  };
  using enum fuzz::Setting;
  return {.allowBid = value(Bidding) != 0,
          .defaultPoints = pick(kPoints, Points),
          .allowDelay = value(Pacing) != 0,
          .delaySyncMs = pick(kSync, Sync),
          .delayDealMs = pick(kDeal, Deal),
          .tables = 1u + static_cast<std::uint32_t>(value(Tables)),
          .keepSeats = value(Keep) != 0,
          .turnTimeS = pick(kTurnTimes, Turn),
          .accounts = value(Accounts) != 0,
          .lobby = value(Watchers) != 3,
          .spectators = pick(kSpectators, Watchers),
          .spectatorChat = value(WatcherChat) != 0};
}

LogLevel LevelFrom(std::span<const std::uint8_t> head) {
  static constexpr std::array<LogLevel, 3> kLevels = {LogLevel::Packets, LogLevel::Game,
                                                      LogLevel::Quiet};
  return kLevels[static_cast<std::size_t>(SettingValue(head, fuzz::Setting::Level))];
}

// One folder for the run log's files, in memory where the system has it,
// emptied after every input.
const std::filesystem::path& FileDir() {
  static const std::filesystem::path dir = [] {
    const std::filesystem::path shm = "/dev/shm";
    std::error_code error;
    const std::filesystem::path base =
        std::filesystem::is_directory(shm, error) ? shm : std::filesystem::temp_directory_path();
    std::string pattern = (base / "quarn-fuzz.XXXXXX").string();
    return std::filesystem::path(::mkdtemp(pattern.data()) != nullptr ? pattern : "/nonexistent");
  }();
  return dir;
}

class Session {
 public:
  Session(const ServerSettings& settings, LogLevel level, std::uint32_t deals, bool failingStore)
      : settings_(settings),
        database_(failingStore),
        app_(world_, world_, FileDir(), {.level = level}) {
    world_.Attach(&app_);
    world_.due = [this](TimerId id) { app_.TimerDue(id); };
    app_.Initialise(settings);
    app_.UsePasswordCost(CheapCost());
    if (settings.accounts) app_.UseDatabase(&database_);
    SeedWith(20261206 + deals);  // repeatable deals
    app_.Start(settings);
  }

  fuzz::Reach& Reach() { return reach_; }

  void Run(FuzzInput& in) {
    for (int events = 0; !in.Done() && events < 4000; ++events) {
      for (ConnectionId id : world_.TakeClosing()) app_.ConnectionClosed(id);
      Event(in);
      CheckSeating();
      world_.CheckTables();
      world_.TakeSends();
      if (fuzz::Reach::On()) reach_.Tables(app_, world_.Games());
    }
    CheckLiveness();
    if (fuzz::Reach::On()) reach_.Tell();
    // QUARN_FUZZ_TELL=1: how far an input went, to check that seeds reach deep.
    if (std::getenv("QUARN_FUZZ_TELL") != nullptr) {
      std::fprintf(stderr, "games played: %d, connections: %u\n", world_.Games(), lastId_);
      for (std::int32_t n = 1; n <= static_cast<std::int32_t>(app_.TableCount()); ++n) {
        if (const TServerTable* t = app_.Table(n)) {
          std::fprintf(stderr, "table %d: status %d, count %u, moves %zu\n", n, t->Status, t->Count,
                       t->History.size());
        }
      }
    }
  }

 private:
  void Event(FuzzInput& in) {
    switch (in.Byte() % 12) {
      case 0:
        Open(in.Byte() % kSlots);
        break;
      case 1:
        Close(in.Byte() % kSlots);
        break;
      case 2: {
        const std::size_t slot = in.Byte() % kSlots;
        Deliver(slot, fuzz::LoginBytes(in));
        break;
      }
      case 3:
        Message(in);
        break;
      case 4: {
        const std::size_t slot = in.Byte() % kSlots;
        mayLogIn_[slot] = true;
        Deliver(slot, in.Bytes(in.Byte()));
        break;
      }
      case 5:
        Step(in.Byte());
        break;
      case 6:
      case 7:
        Move(in);
        break;
      case 8:
        app_.Tick();
        break;
      case 9:
        Restart(in.Byte());
        break;
      case 10: {
        const ConnectionId id = ids_[in.Byte() % kSlots];
        const auto kind = static_cast<ErrorKind>(in.Byte() % 7);  // 6: a kind no host sends
        app_.SocketError(id, kind, in.Int());
        break;
      }
      default:
        in.Byte() % 2 == 0 ? app_.SaveFiles() : app_.DumpDiagnostics();
        break;
    }
  }

  // No table in play waits on a seat nobody can move: where the seat to move
  // is the computer's (kept, 托管, timed out) or has a turn clock, running the
  // timers moves the game on. Its own budget: the input's may be spent.
  void CheckLiveness() {
    for (std::int32_t n = 1; n <= static_cast<std::int32_t>(app_.TableCount()); ++n) {
      const TServerTable* t = app_.Table(n);
      if (t == nullptr || t->Status < TableDealing) continue;
      const TServerPlayer& mover = t->Players[t->Turn];
      const bool dealing = t->Status == TableDealing;
      if (!dealing && mover.Socket != kNoConnection && mover.Control == SeatControl::Person &&
          t->TurnTimeMs == 0) {
        continue;  // waits on its player, as it should
      }
      const auto mark = [t] { return std::tuple(t->Status, t->Turn, t->History.size()); };
      const auto before = mark();
      const auto until = world_.elapsed + kLivenessTime;
      for (int timers = 0; timers < kLivenessTimers && mark() == before; ++timers) {
        if (!world_.FireNext(until)) break;
        // A table whose seats all play by computer without a pause arms its
        // next step at the same instant, for ever. A real clock moves on while
        // it plays, so this one does too: else no other table's timer comes due.
        world_.elapsed += kLivenessStepCost;
        for (ConnectionId id : world_.TakeClosing()) app_.ConnectionClosed(id);
        world_.CheckTables();
      }
      Require(mark() != before, "a table in play moves on without its players");
    }
  }

  // A connection takes a seat only by a login the decoder takes: somewhere
  // in what it sent, whole, however the stream was cut.
  void CheckSeating() {
    for (std::size_t slot = 0; slot < kSlots; ++slot) {
      const ConnectionId id = ids_[slot];
      const bool seated = world_.IsOpen(id) && world_.SeatOf(id).table != nullptr;
      if (seated && !seated_[slot]) {
        Require(SentLogin(received_[slot]), "only a login the decoder takes seats a player");
      }
      seated_[slot] = seated;
    }
  }

  static bool SentLogin(std::span<const std::uint8_t> stream) {
    for (std::size_t at = 0; at + LoginLength <= stream.size(); ++at) {
      const auto packet = PacketFromBytes(stream.subspan(at, LoginLength));
      const auto decoded = DecodeMessage(packet);
      if (decoded && std::holds_alternative<LoginRecord>(decoded->body)) return true;
    }
    return false;
  }

  void Open(std::size_t slot) {
    if (world_.IsOpen(ids_[slot])) return;
    const ConnectionId id = ++lastId_;
    ids_[slot] = id;
    mayLogIn_[slot] = false;
    received_[slot].clear();
    seated_[slot] = false;
    world_.Opened(id);
    // Half the slots come from elsewhere: a seat kept without a password
    // goes back only to its address.
    world_.addresses[id] = slot % 2 == 0 ? "127.0.0.1" : "10.0.0.2";
    app_.ConnectionOpened(id);
  }

  void Close(std::size_t slot) {
    const ConnectionId id = ids_[slot];
    if (!world_.IsOpen(id)) return;
    world_.Gone(id);
    app_.ConnectionClosed(id);
  }

  void Deliver(std::size_t slot, std::span<const std::uint8_t> bytes, std::size_t cut = 0) {
    const ConnectionId id = ids_[slot];
    // A login, and our lobby and watch requests, reach past the stranger's door.
    for (const auto& code : {kLoginCode, kLobbyCode, kWatchCode}) {
      if (std::search(bytes.begin(), bytes.end(), code.begin(), code.end()) != bytes.end()) {
        mayLogIn_[slot] = true;
      }
    }
    // A stranger that never sent a login reaches nothing: no send, no change.
    const bool stranger =
        world_.IsOpen(id) && !mayLogIn_[slot] && world_.SeatOf(id).table == nullptr;
    const std::string before = stranger ? world_.Fingerprint() : std::string();
    if (fuzz::Reach::On()) reach_.Delivered(bytes);
    if (world_.IsOpen(id)) {
      received_[slot].insert(received_[slot].end(), bytes.begin(), bytes.end());
    }
    cut = std::min(cut, bytes.size());
    app_.BytesReceived(id, bytes.first(cut));
    app_.BytesReceived(id, bytes.subspan(cut));
    if (stranger) {
      Require(world_.TakeSends() == 0 && world_.Fingerprint() == before,
              "a stranger never reaches the game");
    }
  }

  void Message(FuzzInput& in) {
    const std::size_t slot = in.Byte() % kSlots;
    fuzz::Sender sender;
    if (const fuzz::SeatAt at = world_.SeatOf(ids_[slot]); at.table != nullptr) {
      sender = {at.table->Table, static_cast<std::uint8_t>(at.seat), at.table};
    }
    const std::vector<std::uint8_t> bytes = fuzz::FuzzedPacket(in, sender);
    const std::uint8_t cut = in.Byte();
    Deliver(slot, bytes, cut < 200 || bytes.empty() ? 0 : cut % bytes.size());
  }

  void Move(FuzzInput& in) {
    const auto number = static_cast<std::int32_t>(1 + in.Byte() % app_.TableCount());
    const TServerTable* table = app_.Table(number);
    if (table == nullptr) return;
    const std::optional<fuzz::SeatMove> move = fuzz::LegalMove(in, *table);
    if (!move) return;
    const ConnectionId id = table->Players[move->seat].Socket;
    const auto slot = std::find(ids_.begin(), ids_.end(), id);
    if (id != kNoConnection && slot != ids_.end()) {
      Deliver(static_cast<std::size_t>(slot - ids_.begin()), move->packet.data());
    }
  }

  // The clock moves by one of a few steps; the timers due on the way run.
  void Step(std::uint8_t choice) {
    static constexpr std::array<int, 8> kSteps = {0, 1, 50, 200, 500, 1000, 2000, 61000};
    const auto until = world_.elapsed + milliseconds(kSteps[choice % kSteps.size()]);
    while (timersLeft_ > 0 && world_.FireNext(until)) --timersLeft_;
    if (timersLeft_ > 0) world_.elapsed = until;
  }

  void Restart(std::uint8_t choice) {
    if (fuzz::Reach::On()) reach_.Add(choice % 2 == 0 ? "phase stop" : "phase restart");
    if (choice % 2 == 0) {
      app_.Stop();
      Require(app_.PendingSteps() == 0, "a stopped server has no step due");
      return;
    }
    ServerSettings settings = settings_;
    if (choice & 2) settings.tables = settings.tables == 1 ? 3 : 1;
    if (choice & 4) settings.allowDelay = !settings.allowDelay;
    if (choice & 8) settings.keepSeats = !settings.keepSeats;
    app_.Start(settings);
  }

  static constexpr std::array<std::uint8_t, 4> kLoginCode = {0xAB, 0xAB, 0x00, 0xC1};
  static constexpr std::array<std::uint8_t, 4> kLobbyCode = {0xAB, 0xAB, 0x02, 0x90};
  static constexpr std::array<std::uint8_t, 4> kWatchCode = {0xAB, 0xAB, 0x02, 0xA0};

  ServerSettings settings_;
  ServiceWorld world_;
  fuzz::MemoryDatabase database_;  // outlives the server that uses it
  ServerApp app_;
  std::array<ConnectionId, kSlots> ids_{};
  std::array<bool, kSlots> mayLogIn_{};
  std::array<std::vector<std::uint8_t>, kSlots> received_;  // all each connection sent
  std::array<bool, kSlots> seated_{};
  ConnectionId lastId_ = 0;
  int timersLeft_ = kTimersPerInput;
  fuzz::Reach reach_;
};

}  // namespace

// A smaller quarantine than the default keeps freed memory in the cache: the
// server frees and allocates packets all the time, and with 256 MB every
// input ran on fresh pages. A use after free is still caught within 16 MB.
extern "C" const char* __asan_default_options() {
  return "quarantine_size_mb=16";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in({data, size});
  std::array<std::uint8_t, 3> head{};
  for (std::uint8_t& byte : head) byte = in.Byte();
  const auto deals = static_cast<std::uint32_t>(head[2] >> 4);
  const bool failingStore = SettingValue(head, fuzz::Setting::Failing) != 0;
  {
    Session session(SettingsFrom(head), LevelFrom(head), deals, failingStore);
    if (fuzz::Reach::On()) session.Reach().Settings(head);
    session.Run(in);
  }
  std::error_code ignored;
  for (const auto& file : std::filesystem::directory_iterator(FileDir(), ignored)) {
    std::filesystem::remove(file.path(), ignored);
  }
  return 0;
}
