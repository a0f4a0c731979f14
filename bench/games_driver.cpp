#include "bench/games_driver.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <thread>

#include "bench/games_socket.h"
#include "bot/bot_session.h"
#include "protocol/stream_assembler.h"

namespace quarn::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kNoticeSeatAt = 36;
constexpr auto kRunLimit = std::chrono::minutes(5);

// When the driver last read from the server, for the gaps before plays.
struct LastNotice {
  std::optional<Clock::time_point> at;
};

struct Player {
  std::unique_ptr<bot::BotSession> session;
  Socket socket;
  StreamAssembler assembler;
  std::optional<Clock::time_point> playSentAt;
};

bool SendPacket(Player& player, const Packet& packet, GameRun& run, LastNotice& last) {
  if (packet.RawType() == static_cast<std::uint32_t>(MessageType::PlayCards)) {
    player.playSentAt = Clock::now();
    if (last.at) run.gaps.push_back(*player.playSentAt - *last.at);
  }
  return SendAll(player.socket, packet.data());
}

// Reads what one socket holds; false when the server closed it.
bool Drain(Player& player, GameRun& run, LastNotice& last) {
  std::array<std::uint8_t, 4096> buffer{};
  ssize_t got = recv(player.socket.fd(), buffer.data(), buffer.size(), MSG_DONTWAIT);
  if (got == 0) return false;
  if (got < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
  const Clock::time_point arrived = Clock::now();
  last.at = arrived;
  player.assembler.Feed(std::span(buffer.data(), static_cast<std::size_t>(got)));
  while (std::optional<Packet> packet = player.assembler.Next()) {
    const bool ownNotice =
        packet->RawType() == static_cast<std::uint32_t>(MessageType::PlayNotice) &&
        packet->bytes[kNoticeSeatAt] == player.session->Table().OwnSeat;
    if (ownNotice && player.playSentAt) {
      run.playRoundTrips.push_back(arrived - *player.playSentAt);
      run.bySeat[packet->bytes[kNoticeSeatAt] % 4].push_back(arrived - *player.playSentAt);
      player.playSentAt.reset();
    }
    player.session->OnPacket(*packet);
  }
  return true;
}

// After a play, waits on that one socket for its notice, as the echo client
// waits for its echo, so that the other players' packets do not stand in line.
bool AwaitNotice(Player& player, GameRun& run, LastNotice& last) {
  while (player.playSentAt) {
    pollfd one{player.socket.fd(), POLLIN, 0};
    if (poll(&one, 1, 5000) <= 0) return true;  // the answer check deals with it
    if (!Drain(player, run, last)) return false;
  }
  return true;
}

bool Act(Player& player, GameRun& run, LastNotice& last) {
  const Clock::time_point now = Clock::now();
  if (std::optional<Packet> late = player.session->CheckAnswer(now)) {
    if (!SendPacket(player, *late, run, last)) return false;
  }
  if (std::optional<Packet> move = player.session->Move(now)) {
    if (!SendPacket(player, *move, run, last)) return false;
  }
  return AwaitNotice(player, run, last);
}

}  // namespace

std::string ProgramFolder() {
  std::error_code error;
  auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string(".") : self.parent_path().string();
}

ServerProcess::ServerProcess(const std::vector<std::string>& extraArgs, int cpu) {
  const std::uint16_t port = FreeLoopbackPort();
  const std::string program = ProgramFolder() + "/quarnd";
  std::string dir = (std::filesystem::temp_directory_path() / "quarn-bench.XXXXXX").string();
  if (mkdtemp(dir.data()) == nullptr) return;
  dir_ = dir;
  std::vector<std::string> args = {program, "--port", std::to_string(port), "--bind", "127.0.0.1",
                                   "--dir", dir_};
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  pid_ = fork();
  if (pid_ == 0) {
    PinTo(0, cpu);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  if (pid_ < 0) return;
  for (int attempt = 0; attempt < 200; ++attempt) {
    if (ConnectLoopback(port).valid()) {
      port_ = port;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

std::chrono::nanoseconds ServerProcess::CpuTime() const {
  std::ifstream stat("/proc/" + std::to_string(pid_) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  // The fields after the program's name (which may hold blanks) end in ')'.
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  long long ticks = 0;
  for (int index = 3; index <= 15 && fields >> field; ++index) {
    if (index >= 14) ticks += std::stoll(field);  // utime and stime
  }
  return std::chrono::nanoseconds(ticks * 1'000'000'000LL / sysconf(_SC_CLK_TCK));
}

ServerProcess::~ServerProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  std::error_code ignored;
  if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
}

GameRun PlayGames(std::uint16_t port, int games, int playersCpu) {
  const PinnedThread pinned(playersCpu);
  GameRun run;
  LastNotice last;
  std::array<Player, 4> players;
  for (int seat = 0; seat < 4; ++seat) {
    Player& player = players[static_cast<std::size_t>(seat)];
    player.session = std::make_unique<bot::BotSession>(
        bot::SessionConfig{"bench" + std::to_string(seat), seat, games}, nullptr);
    player.socket = ConnectLoopback(port);
    std::optional<Packet> login = player.session->Login();
    if (!player.socket.valid() || !login || !SendPacket(player, *login, run, last)) {
      run.error = "cannot log in to quarnd";
      return run;
    }
  }
  const Clock::time_point start = Clock::now();
  auto allDone = [&] {
    for (const Player& p : players) {
      if (!p.session->Finished()) return false;
    }
    return true;
  };
  while (!allDone()) {
    if (Clock::now() - start > kRunLimit) {
      run.error = "the games did not end in time";
      break;
    }
    std::array<pollfd, 4> polls{};
    for (std::size_t i = 0; i < players.size(); ++i) polls[i] = {players[i].socket.fd(), POLLIN, 0};
    poll(polls.data(), polls.size(), 50);
    for (std::size_t i = 0; i < players.size(); ++i) {
      if ((polls[i].revents & (POLLIN | POLLHUP | POLLERR)) && !Drain(players[i], run, last)) {
        if (!players[i].session->Finished()) run.error = "quarnd closed a connection";
      }
    }
    if (!run.error.empty()) break;
    for (Player& player : players) {
      if (!Act(player, run, last)) run.error = "quarnd closed a connection";
    }
  }
  run.elapsed = Clock::now() - start;
  run.games = players[0].session->GamesFinished();
  for (const Player& p : players) run.refusals += p.session->Refusals();
  return run;
}

}  // namespace quarn::bench
