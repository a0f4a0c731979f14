#include "bench/tables_driver.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <thread>
#include <vector>

#include "bench/games_socket.h"
#include "bot/bot_session.h"
#include "protocol/packet_builder.h"
#include "protocol/stream_assembler.h"

namespace quarn::bench {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::nanoseconds;

constexpr std::size_t kNoticeSeatAt = 36;
constexpr auto kRunLimit = std::chrono::minutes(5);

struct Seat {
  std::unique_ptr<bot::BotSession> session;
  Socket socket;
  StreamAssembler assembler;
  std::optional<nanoseconds> playSentAt;
  std::optional<Clock::time_point> moveAt;  // when its thinking ends
};

// What one poll loop keeps besides its seats.
struct Loop {
  TablesRun run;
  std::vector<nanoseconds> sentAt;  // every move written, for the gaps
  std::mt19937 random{std::random_device{}()};
};

bool Send(Seat& seat, const Packet& packet, Loop& loop) {
  const nanoseconds now = RealNow();
  if (packet.RawType() == static_cast<std::uint32_t>(MessageType::PlayCards)) {
    seat.playSentAt = now;
  }
  if (packet.RawType() != static_cast<std::uint32_t>(MessageType::LoginRequest)) {
    loop.sentAt.push_back(now);
  }
  return SendAll(seat.socket, packet.data());
}

// Reads all a socket holds; false when the server closed it. The round trip
// ends at the kernel's receive time of the bytes that held the notice.
bool Drain(Seat& seat, TablesRun& run) {
  std::array<std::uint8_t, 8192> buffer{};
  for (;;) {
    nanoseconds arrived = RealNow();
    const ssize_t got = ReceiveStamped(seat.socket, buffer, arrived, MSG_DONTWAIT);
    if (got == 0) return false;
    if (got < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    seat.assembler.Feed(std::span(buffer.data(), static_cast<std::size_t>(got)));
    while (std::optional<Packet> packet = seat.assembler.Next()) {
      const bool ownNotice =
          packet->RawType() == static_cast<std::uint32_t>(MessageType::PlayNotice) &&
          packet->bytes[kNoticeSeatAt] == seat.session->Table().OwnSeat;
      if (ownNotice && seat.playSentAt) {
        run.playRoundTrips.push_back(arrived - *seat.playSentAt);
        seat.playSentAt.reset();
      }
      seat.session->OnPacket(*packet);
    }
  }
}

// Answers what is late, and moves once the seat's thinking time is over (it
// starts when the seat sees it is to move).
bool Act(Seat& seat, Loop& loop, std::chrono::milliseconds think) {
  if (seat.session->Finished()) return true;  // sits out the deal that follows
  const Clock::time_point now = Clock::now();
  if (std::optional<Packet> late = seat.session->CheckAnswer(now)) {
    if (!Send(seat, *late, loop)) return false;
  }
  if (think.count() > 0) {
    if (!seat.session->WantsToMove()) {
      seat.moveAt.reset();
      return true;
    }
    if (!seat.moveAt) {
      std::uniform_int_distribution<long> spread(think.count() / 2, think.count() * 3 / 2);
      seat.moveAt = now + std::chrono::milliseconds(spread(loop.random));
    }
    if (now < *seat.moveAt) return true;
    seat.moveAt.reset();
  }
  if (std::optional<Packet> move = seat.session->Move(now)) return Send(seat, *move, loop);
  return true;
}

// How long the loop may sleep in poll: until the first thinking ends, 20 ms at most.
int PollTimeoutMs(const std::vector<Seat>& seats) {
  Clock::time_point wake = Clock::now() + std::chrono::milliseconds(20);
  for (const Seat& seat : seats) {
    if (seat.moveAt && *seat.moveAt < wake) wake = *seat.moveAt;
  }
  return static_cast<int>(
      std::chrono::ceil<std::chrono::milliseconds>(std::max(wake - Clock::now(), Clock::duration{}))
          .count());
}

// One poll loop over the seats of tables [first, last).
void RunLoop(std::uint16_t port, int first, int last, const TablesPlan& plan, Loop& loop) {
  TablesRun& run = loop.run;
  std::vector<Seat> seats(static_cast<std::size_t>(4 * (last - first)));
  for (std::size_t i = 0; i < seats.size(); ++i) {
    const int table = first + static_cast<int>(i / 4) + 1;
    const int seatIndex = static_cast<int>(i % 4);
    Seat& seat = seats[i];
    bot::SessionConfig config{"t" + std::to_string(table) + "s" + std::to_string(seatIndex),
                              seatIndex, plan.games};
    config.table = table;
    seat.session = std::make_unique<bot::BotSession>(config, nullptr);
    seat.socket = ConnectLoopback(port);
    StampArrivals(seat.socket);
    std::optional<Packet> login = seat.session->Login();
    if (!seat.socket.valid() || !login || !Send(seat, *login, loop)) {
      run.error = "cannot log in to quarnd";
      return;
    }
  }
  std::vector<pollfd> polls(seats.size());
  for (std::size_t i = 0; i < seats.size(); ++i) polls[i] = {seats[i].socket.fd(), POLLIN, 0};
  const Clock::time_point start = Clock::now();
  Clock::time_point sweep = start;
  for (;;) {
    std::size_t finished = 0;
    for (const Seat& seat : seats) finished += seat.session->Finished() ? 1 : 0;
    if (finished == seats.size()) break;
    if (Clock::now() - start > kRunLimit) {
      run.error = "the games did not end in time";
      break;
    }
    poll(polls.data(), polls.size(), PollTimeoutMs(seats));
    for (std::size_t i = 0; i < seats.size(); ++i) {
      if ((polls[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
      if (!Drain(seats[i], run) && !seats[i].session->Finished()) run.error = "quarnd closed";
    }
    // Moves follow what was read and thinking that ended; every 100 ms all
    // seats look at their answer time.
    const Clock::time_point now = Clock::now();
    const bool all = now - sweep > std::chrono::milliseconds(100);
    if (all) sweep = now;
    for (std::size_t i = 0; i < seats.size(); ++i) {
      Seat& seat = seats[i];
      const bool due = all || polls[i].revents != 0 || (seat.moveAt && *seat.moveAt <= now);
      if (due && !Act(seat, loop, plan.think)) run.error = "quarnd closed";
    }
    if (!run.error.empty()) break;
  }
  run.elapsed = Clock::now() - start;
  for (std::size_t i = 0; i < seats.size(); i += 4) run.games += seats[i].session->GamesFinished();
  for (const Seat& seat : seats) run.refusals += seat.session->Refusals();
}

// The gaps between consecutive sends of all loops together.
Samples GapsBetween(std::vector<nanoseconds> sends) {
  std::sort(sends.begin(), sends.end());
  Samples gaps;
  for (std::size_t i = 1; i < sends.size(); ++i) gaps.push_back(sends[i] - sends[i - 1]);
  return gaps;
}

}  // namespace

TablesRun PlayManyTables(std::uint16_t port, const TablesPlan& plan) {
  std::vector<Loop> loops(static_cast<std::size_t>(plan.loops));
  {
    std::vector<std::jthread> threads;
    for (int index = 0; index < plan.loops; ++index) {
      threads.emplace_back([&, index] {
        const PinnedThread pinned(plan.playersCpu);
        RunLoop(port, plan.tables * index / plan.loops, plan.tables * (index + 1) / plan.loops,
                plan, loops[static_cast<std::size_t>(index)]);
      });
    }
  }
  TablesRun all;
  std::vector<nanoseconds> sends;
  for (Loop& loop : loops) {
    const TablesRun& part = loop.run;
    all.games += part.games;
    all.refusals += part.refusals;
    all.playRoundTrips.insert(all.playRoundTrips.end(), part.playRoundTrips.begin(),
                              part.playRoundTrips.end());
    all.elapsed = std::max(all.elapsed, part.elapsed);
    if (all.error.empty()) all.error = part.error;
    sends.insert(sends.end(), loop.sentAt.begin(), loop.sentAt.end());
  }
  all.gaps = GapsBetween(std::move(sends));
  return all;
}

Samples LoginWhileDealing(std::uint16_t port, int rounds, int playersCpu) {
  const PinnedThread pinned(playersCpu);
  Samples samples;
  const auto login = [&](Socket& socket, int table, int seat) {
    socket = ConnectLoopback(port);
    auto packet = BuildPacket(MessageType::LoginRequest,
                              MakeLoginRequest("b" + std::to_string(seat), "", 1, 1, table,
                                               static_cast<std::uint8_t>(seat)));
    return socket.valid() && packet && SendAll(socket, packet->data());
  };
  // Reads until the first LoginReply (each login's answer comes first).
  const auto answered = [](Socket& socket) {
    std::array<std::uint8_t, 180> reply{};
    return ReceiveAll(socket, reply);
  };
  for (int round = 0; round < rounds; ++round) {
    std::array<Socket, 4> table1;
    for (int seat = 0; seat < 4; ++seat) {
      if (!login(table1[seat], 1, seat) || !answered(table1[seat])) return samples;
    }
    // The fourth login's seat list is paced; wait it out: the deal's pauses begin.
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    Socket newcomer;
    const Clock::time_point asked = Clock::now();
    if (!login(newcomer, 2, 0) || !answered(newcomer)) return samples;
    samples.push_back(Clock::now() - asked);
    newcomer = Socket();
    table1 = {};  // all leave: both tables are empty for the next round
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return samples;
}

Memory MemoryOf(int pid) {
  Memory memory;
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with("VmHWM:")) memory.peakKiB = std::stol(line.substr(6));
    if (line.starts_with("VmRSS:")) memory.nowKiB = std::stol(line.substr(6));
  }
  // Fields 14 and 15 of stat, after the command name in parentheses.
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::getline(stat, line);
  std::istringstream fields(line.substr(line.rfind(')') + 2));
  std::string field;
  for (int index = 3; index <= 15 && fields >> field; ++index) {
    if (index >= 14)
      memory.cpuSeconds += std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
  }
  return memory;
}

}  // namespace quarn::bench
