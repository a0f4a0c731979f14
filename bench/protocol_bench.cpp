// Packet building, decoding and stream assembly: the per-packet cost of the wire.
#include <benchmark/benchmark.h>

#include <vector>

#include "protocol/any_message.h"
#include "protocol/stream_assembler.h"

namespace {

using namespace quarn;

PlayRecord Plane() {
  PlayRecord r;
  r.tableNumber = 1;
  r.seat = 2;
  r.count = 10;
  for (std::uint8_t i = 0; i < r.count; ++i) r.cards[i] = static_cast<std::uint8_t>(i + 1);
  r.comboType = 4;
  r.keyRank = 3;
  return r;
}

void BM_BuildPlayCards(benchmark::State& state) {
  PlayRecord record = Plane();
  for (auto _ : state) benchmark::DoNotOptimize(BuildPacket(MessageType::PlayCards, record));
}
BENCHMARK(BM_BuildPlayCards);

void BM_DecodePlayCards(benchmark::State& state) {
  Packet packet = *BuildPacket(MessageType::PlayCards, Plane());
  PlayRecord record;
  for (auto _ : state) benchmark::DoNotOptimize(DecodePlayCards(record, packet));
}
BENCHMARK(BM_DecodePlayCards);

void BM_DecodeMessageSeatList(benchmark::State& state) {
  LoginRecord list;
  list.tableNumber = 1;
  for (std::size_t i = 0; i < 4; ++i) {
    list.nameLength[i] = 5;
    list.name[i] = "name" + std::to_string(i);
  }
  Packet packet = *BuildPacket(MessageType::SeatList, list);
  for (auto _ : state) benchmark::DoNotOptimize(DecodeMessage(packet));
}
BENCHMARK(BM_DecodeMessageSeatList);

// A stream of mixed packets fed in chunks of state.range(0) bytes.
void BM_AssembleStream(benchmark::State& state) {
  std::vector<std::uint8_t> stream;
  for (int i = 0; i < 100; ++i) {
    for (const Packet& p : {*BuildPacket(MessageType::PlayCards, Plane()),
                            *BuildPacket(MessageType::BidTurn, BidRecord{1, 1, 2}),
                            *BuildPacket(MessageType::ChatNotice, ChatRecord{1, 0, "hi"})}) {
      stream.insert(stream.end(), p.bytes.begin(), p.bytes.begin() + p.length);
    }
  }
  auto chunk = static_cast<std::size_t>(state.range(0));
  for (auto _ : state) {
    StreamAssembler assembler;
    std::size_t packets = 0;
    for (std::size_t at = 0; at < stream.size(); at += chunk) {
      assembler.Feed(std::span(stream).subspan(at, std::min(chunk, stream.size() - at)));
      while (assembler.Next()) ++packets;
    }
    benchmark::DoNotOptimize(packets);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * 300));
}
BENCHMARK(BM_AssembleStream)->Arg(1)->Arg(64)->Arg(4096);

}  // namespace
BENCHMARK_MAIN();
