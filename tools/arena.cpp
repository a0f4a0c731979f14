// quarn-arena: plays whole games between computer players with the in-process
// referee and prints, for each player, how often its side won, how often it
// won as the landlord and its points per game, with 95% intervals.
//
//   quarn-arena --seats strong,basic,basic,basic --games 2000 --bid off --seed 1 --samples 64
//
// Every deal is played four times, the players moved round one seat each
// time, so each plays every seat (and the landlord's role as often as the
// others) on the same cards.
#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "ai/players.h"

namespace {

using namespace quarn::ai;
using quarn::RankCounts;
using Clock = std::chrono::steady_clock;

struct Options {
  std::vector<std::string> seats{"strong", "basic", "basic", "basic"};
  int games = 2000;
  bool bidding = false;
  std::uint64_t seed = 1;
  int samples = 0;  // 0: search for --think each decision
  int thinkMs = 200;
  int candidates = 8;
  double confidence = 1.0;
  double boldness = kStrongBoldness;
  int threads = 2;
};

constexpr std::string_view kUsage =
    "usage: quarn-arena [--seats A,B,C,D] [--games N] [--bid on|off] [--seed S]\n"
    "                   [--samples K] [--think MS] [--candidates N] [--threads T]\n"
    "  --seats      players for seats 0..3: greedy, fast (the strong player's\n"
    "               playout policy), basic, strong or strong-basic (searching with\n"
    "               the basic player in its playouts)\n"
    "               (default strong,basic,basic,basic)\n"
    "  --games N    games to play, a multiple of 4 (default 2000)\n"
    "  --bid on|off bidding for the landlord (default off: the starting seat)\n"
    "  --seed S     seed of the deals and of the searches (default 1)\n"
    "  --samples K  deals a strong player draws per decision; 0: as many as\n"
    "               --think allows (default 0)\n"
    "  --think MS   a strong player's time per decision when --samples is 0 (default 200)\n"
    "  --candidates N  moves a strong player compares (default 8)\n"
    "  --confidence Z  tenths of a standard error by which a move must beat the\n"
    "               heuristic's choice in the search to replace it (default 10)\n"
    "  --boldness B tenths of a point a strong player adds to its hand's worth\n"
    "               when it bids (default 15)\n"
    "  --threads T  threads sharing the games (default 2)\n";

bool ParseNumber(std::string_view text, long long low, long long high, long long& out) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && ptr == end && !text.empty() && out >= low && out <= high;
}

bool KnownPlayer(std::string_view name) {
  return name == "greedy" || name == "fast" || name == "basic" || name == "strong" ||
         name == "strong-basic";
}

std::vector<std::string> SplitSeats(std::string_view text) {
  std::vector<std::string> seats;
  while (true) {
    const auto comma = text.find(',');
    seats.emplace_back(text.substr(0, comma));
    if (comma == std::string_view::npos) return seats;
    text.remove_prefix(comma + 1);
  }
}

// Applies one option; an empty result when it was good, else what was wrong.
std::string Apply(std::string_view flag, std::string_view value, Options& options) {
  long long n = 0;
  if (flag == "--seats") {
    options.seats = SplitSeats(value);
    if (options.seats.size() != kSeats) return "--seats needs four players";
    for (const std::string& seat : options.seats) {
      if (!KnownPlayer(seat)) return "unknown player '" + seat + "'";
    }
  } else if (flag == "--bid") {
    if (value != "on" && value != "off") return "--bid needs on or off";
    options.bidding = value == "on";
  } else if (flag == "--games" && ParseNumber(value, 4, 10'000'000, n) && n % 4 == 0) {
    options.games = static_cast<int>(n);
  } else if (flag == "--seed" && ParseNumber(value, 0, (1LL << 62), n)) {
    options.seed = static_cast<std::uint64_t>(n);
  } else if (flag == "--samples" && ParseNumber(value, 0, 1'000'000, n)) {
    options.samples = static_cast<int>(n);
  } else if (flag == "--think" && ParseNumber(value, 0, 600'000, n)) {
    options.thinkMs = static_cast<int>(n);
  } else if (flag == "--candidates" && ParseNumber(value, 2, 64, n)) {
    options.candidates = static_cast<int>(n);
  } else if (flag == "--confidence" && ParseNumber(value, 0, 100, n)) {
    options.confidence = static_cast<double>(n) / 10;
  } else if (flag == "--boldness" && ParseNumber(value, 0, 100, n)) {
    options.boldness = static_cast<double>(n) / 10;
  } else if (flag == "--threads" && ParseNumber(value, 1, 64, n)) {
    options.threads = static_cast<int>(n);
  } else {
    return "bad option or value: " + std::string(flag) + " " + std::string(value);
  }
  return {};
}

// What one game says about each player (by its place in --seats).
struct GameOutcome {
  std::array<bool, kSeats> sideWon{};
  std::array<bool, kSeats> landlord{};
  std::array<int, kSeats> points{};
  int refusals = 0;
  bool capped = false;  // cut off without a winner (a fault in a player)
};

// Time of each decision of the strong players of a share of the games, on
// the clock and on the processor (a busy machine stretches the one, not the other).
struct Timings {
  std::vector<double> wall;
  std::vector<double> cpu;
};

double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

class TimedPlayer final : public Player {
 public:
  TimedPlayer(std::unique_ptr<Player> inner, Timings* timings)
      : inner_(std::move(inner)), timings_(timings) {}
  int Bid(const RankCounts& hand, int highBid) override { return inner_->Bid(hand, highBid); }
  std::optional<PlannedPlay> Play(const SeatKnowledge& known) override {
    const auto start = Clock::now();
    const double cpuStart = ThreadCpuMs();
    std::optional<PlannedPlay> move = inner_->Play(known);
    timings_->cpu.push_back(ThreadCpuMs() - cpuStart);
    timings_->wall.push_back(
        std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    return move;
  }

 private:
  std::unique_ptr<Player> inner_;
  Timings* timings_;
};

std::unique_ptr<Player> MakePlayer(const std::string& name, const Options& options,
                                   std::uint64_t seed, Timings* timings) {
  if (name == "greedy") return std::make_unique<GreedyPlayer>();
  if (name == "fast") return std::make_unique<FastPlayer>();
  if (name == "basic") return std::make_unique<BasicPlayer>();
  SearchLimits limits;
  limits.samples = options.samples;
  limits.seed = seed;
  limits.maxCandidates = options.candidates;
  limits.confidence = options.confidence;
  limits.policy = name == "strong-basic" ? Policy::Basic : Policy::Fast;
  return std::make_unique<TimedPlayer>(
      std::make_unique<SearchPlayer>(limits, std::chrono::milliseconds(options.thinkMs),
                                     options.boldness),
      timings);
}

GameOutcome PlayOne(const Options& options, int game, Timings* timings) {
  const int deal = game / kSeats;
  const int shift = game % kSeats;  // player i sits at seat (i + shift) % 4
  std::array<std::unique_ptr<Player>, kSeats> players;
  std::array<Player*, kSeats> bySeat{};
  for (int i = 0; i < kSeats; ++i) {
    const int seat = (i + shift) % kSeats;
    const std::uint64_t seed = options.seed * 1'000'003ULL + static_cast<std::uint64_t>(game) * 8 +
                               static_cast<std::uint64_t>(seat);
    players[static_cast<std::size_t>(i)] =
        MakePlayer(options.seats[static_cast<std::size_t>(i)], options, seed, timings);
    bySeat[static_cast<std::size_t>(seat)] = players[static_cast<std::size_t>(i)].get();
  }
  GameSetup setup;
  setup.seed = options.seed * 7'919ULL + static_cast<std::uint64_t>(deal);
  setup.bidding = options.bidding;
  const GameResult result = PlayGame(bySeat, setup);
  GameOutcome outcome;
  outcome.refusals = result.refusals;
  outcome.capped = result.Capped();
  for (int i = 0; i < kSeats; ++i) {
    const int seat = (i + shift) % kSeats;
    outcome.sideWon[static_cast<std::size_t>(i)] = result.SideWon(seat);
    outcome.landlord[static_cast<std::size_t>(i)] = seat == result.landlord;
    outcome.points[static_cast<std::size_t>(i)] = result.score[static_cast<std::size_t>(seat)];
  }
  return outcome;
}

// A proportion with its 95% interval (normal approximation).
std::string Rate(int hits, int n) {
  if (n == 0) return "      -         ";
  const double p = static_cast<double>(hits) / n;
  const double half = 1.96 * std::sqrt(p * (1 - p) / n);
  std::array<char, 64> text{};
  std::snprintf(text.data(), text.size(), "%5.1f%% ±%4.1f (n=%d)", 100 * p, 100 * half, n);
  return text.data();
}

std::string Mean(const std::vector<int>& values) {
  double sum = 0;
  for (int v : values) sum += v;
  const auto n = static_cast<double>(values.size());
  const double mean = sum / n;
  double square = 0;
  for (int v : values) square += (v - mean) * (v - mean);
  const double half = 1.96 * std::sqrt(square / std::max(1.0, n - 1) / n);
  std::array<char, 64> text{};
  std::snprintf(text.data(), text.size(), "%+6.2f ±%4.2f", mean, half);
  return text.data();
}

void Report(const Options& options, const std::vector<GameOutcome>& outcomes, Timings timings,
            double seconds) {
  std::printf("%d games (%d deals x 4 seatings), bidding %s, seed %llu, ", options.games,
              options.games / 4, options.bidding ? "on" : "off",
              static_cast<unsigned long long>(options.seed));
  if (options.samples > 0) {
    std::printf("%d samples", options.samples);
  } else {
    std::printf("%d ms per decision", options.thinkMs);
  }
  std::printf(", %d candidates, confidence %.1f, %d threads, %.1f s\n", options.candidates,
              options.confidence, options.threads, seconds);
  std::printf(
      "player            side wins                 landlord wins             points per game\n");
  int refusals = 0, capped = 0;
  for (const GameOutcome& outcome : outcomes) {
    refusals += outcome.refusals;
    capped += outcome.capped;
  }
  for (std::size_t i = 0; i < kSeats; ++i) {
    int side = 0, lord = 0, lordWins = 0;
    std::vector<int> points;
    for (const GameOutcome& outcome : outcomes) {
      side += outcome.sideWon[i];
      lord += outcome.landlord[i];
      lordWins += outcome.landlord[i] && outcome.sideWon[i];
      points.push_back(outcome.points[i]);
    }
    std::printf("%zu %-14s  %-24s  %-24s  %s\n", i, options.seats[i].c_str(),
                Rate(side, static_cast<int>(outcomes.size())).c_str(), Rate(lordWins, lord).c_str(),
                Mean(points).c_str());
  }
  for (auto [name, times] : {std::pair{"clock", &timings.wall}, {"processor", &timings.cpu}}) {
    if (times->empty()) continue;
    std::sort(times->begin(), times->end());
    std::printf("strong decisions: %zu, %s time median %.2f ms, 99th %.2f ms, worst %.2f ms\n",
                times->size(), name, (*times)[times->size() / 2],
                (*times)[times->size() * 99 / 100], times->back());
  }
  std::printf("refused moves: %d\n", refusals);
  std::printf("games cut off after %d moves: %d\n", kMaxGameMoves, capped);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view flag = argv[i];
    if (flag == "--help" || flag == "-h") {
      std::fputs(kUsage.data(), stdout);
      return 0;
    }
    const std::string error =
        i + 1 < argc ? Apply(flag, argv[++i], options) : std::string(flag) + " needs a value";
    if (!error.empty()) {
      std::fprintf(stderr, "quarn-arena: %s\n%s", error.c_str(), kUsage.data());
      return 2;
    }
  }
  std::vector<GameOutcome> outcomes(static_cast<std::size_t>(options.games));
  std::vector<Timings> timings(static_cast<std::size_t>(options.threads));
  const auto start = Clock::now();
  std::vector<std::thread> threads;
  threads.reserve(static_cast<std::size_t>(options.threads));
  // Each thread takes every T-th game; the results land by game number, so
  // the figures do not depend on the number of threads.
  for (int t = 0; t < options.threads; ++t) {
    threads.emplace_back([&, t] {
      for (int game = t; game < options.games; game += options.threads) {
        outcomes[static_cast<std::size_t>(game)] =
            PlayOne(options, game, &timings[static_cast<std::size_t>(t)]);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  Timings all;
  for (const Timings& share : timings) {
    all.wall.insert(all.wall.end(), share.wall.begin(), share.wall.end());
    all.cpu.insert(all.cpu.end(), share.cpu.begin(), share.cpu.end());
  }
  Report(options, outcomes, all, std::chrono::duration<double>(Clock::now() - start).count());
  return 0;
}
