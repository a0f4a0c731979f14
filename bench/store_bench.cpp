// The game record store: the game-end write (one transaction, synchronous
// FULL) as p50/p99, the standings query over many stored games, and the file's
// size per 1000 games. The game-end write to PostgreSQL too, on a scratch
// instance with fsync on, over its unix socket.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "store/postgres/postgres_database.h"
#include "store/sqlite/sqlite_database.h"
#include "tests/support/store/sample_game.h"
#include "tests/support/store/scratch_postgres.h"

namespace {

using quarn::store::SqliteDatabase;
namespace fs = std::filesystem;

fs::path FreshFile(const char* name) {
  const fs::path dir = fs::temp_directory_path() / ("quarn-bench-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path file = dir / name;
  for (const char* suffix : {"", "-wal", "-shm", ".lock"}) fs::remove(file.string() + suffix);
  return file;
}

// Names from a pool, so the standings hold many lines, not four.
quarn::store::GameRecord GameOf(unsigned i, unsigned names) {
  return quarn::store::testing::SampleGame(
      i, {"p" + std::to_string(i % names), "p" + std::to_string((i + 1) % names),
          "p" + std::to_string((i + 2) % names), "p" + std::to_string((i + 3) % names)});
}

// Writes a game per iteration; p50 and p99 of the writes as counters.
unsigned TimeWrites(benchmark::State& state, quarn::store::GameDatabase& database) {
  std::vector<double> micros;
  unsigned i = 0;
  for (auto _ : state) {
    const auto game = GameOf(i++, 1000);
    const auto start = std::chrono::steady_clock::now();
    if (!database.Write(game)) state.SkipWithError("write failed");
    micros.push_back(
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(micros.begin(), micros.end());
  state.counters["p50_us"] = micros[micros.size() / 2];
  state.counters["p99_us"] = micros[micros.size() * 99 / 100];
  return i;
}

void BM_GameEndWrite(benchmark::State& state) {
  const fs::path file = FreshFile("write.db");
  auto database = SqliteDatabase::Open(file).database;
  const unsigned i = TimeWrites(state, *database);
  database.reset();
  state.counters["bytes_per_1000_games"] =
      static_cast<double>(fs::file_size(file)) * 1000.0 / static_cast<double>(i);
}
BENCHMARK(BM_GameEndWrite)->Iterations(2000)->UseRealTime();

void BM_GameEndWritePostgres(benchmark::State& state) {
  ::setenv("QUARN_PG_FSYNC", "on", 1);  // commits wait for the disk, as a real server's
  quarn::store::testing::ScratchPostgres postgres("bench");
  if (postgres.Uri().empty()) return state.SkipWithError("no PostgreSQL (Debian postgresql)");
  auto opened = quarn::store::PostgresDatabase::Open(postgres.Uri());
  if (!opened.database) return state.SkipWithError(opened.error.c_str());
  TimeWrites(state, *opened.database);
}
BENCHMARK(BM_GameEndWritePostgres)->Iterations(2000)->UseRealTime();

void BM_TopStandings(benchmark::State& state) {
  const fs::path file = FreshFile("standings.db");
  auto database = SqliteDatabase::Open(file).database;
  // Filled without waiting for the disk: only the query is measured.
  sqlite3_exec(database->Handle(), "PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
  const auto games = static_cast<unsigned>(state.range(0));
  for (unsigned i = 0; i < games; ++i) (void)database->Write(GameOf(i, games / 10 + 4));
  for (auto _ : state) {
    auto top = database->Top(10);
    auto own = database->StandingOf("p7");
    benchmark::DoNotOptimize(database->RankOf(*own));
    benchmark::DoNotOptimize(top);
  }
}
BENCHMARK(BM_TopStandings)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
