// quarn-dump: prints the packets of a captured byte stream by name and field,
// or the games a server stored.
//
//   quarn-dump [-x] [FILE]     (reads standard input without FILE or with "-")
//   quarn-dump --db PATH --game ID | --name NAME [--recent N]   (tools/dump_games.h)
//
// The bytes go through the same stream assembler as a live connection, so
// garbage and refused headers are skipped just as a program would skip them.
// -x adds a hex listing of every packet.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "core/version.h"
#include "protocol/any_message.h"
#include "protocol/stream_assembler.h"
#include "tools/dump_games.h"

namespace {

using namespace quarn;

void PrintHex(const Packet& packet) {
  auto bytes = packet.data();
  for (std::size_t row = 0; row < bytes.size(); row += 16) {
    std::printf("    %3zu:", row);
    for (std::size_t i = row; i < row + 16 && i < bytes.size(); ++i) {
      std::printf(" %02X", bytes[i]);
    }
    std::printf("\n");
  }
}

void PrintPacket(std::size_t index, std::size_t offset, const Packet& packet, bool hex) {
  std::printf("#%zu @%zu 0x%08X %zu bytes: ", index, offset, packet.RawType(), packet.length);
  if (auto decoded = DecodeMessage(packet)) {
    std::printf("%s\n", DescribeMessage(*decoded).c_str());
  } else {
    std::printf("%s (body refused by its decoder)\n",
                std::string(MessageName(packet.RawType())).c_str());
  }
  if (hex) PrintHex(packet);
}

constexpr const char* kUsage =
    "usage: quarn-dump [-x] [FILE]\n"
    "       quarn-dump --db PATH --game ID\n"
    "       quarn-dump --db PATH --name NAME [--recent N]\n"
    "  FILE            captured bytes (standard input without FILE or with -): every packet\n"
    "  -x              adds each packet's bytes in hex\n"
    "  --db PATH       a game file of quarnd --db, opened read-only (a running server is fine)\n"
    "  --game ID       that game's transcript: deal, bids, every move, scores\n"
    "  --name NAME     that name's newest games: id, time, table, names, score change\n"
    "  --recent N      how many (1..1000, default 10)\n"
    "  --help, --version\n";

int Usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (quarn::PrintVersionIfAsked("quarn-dump", argc, argv)) return 0;
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (quarn::tools::AsksForGames(argc, argv)) return quarn::tools::DumpGames(argc, argv);
  bool hex = false;
  const char* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-x") == 0) {
      hex = true;
    } else if (path == nullptr && (argv[i][0] != '-' || std::strcmp(argv[i], "-") == 0)) {
      path = argv[i];
    } else {
      return Usage();
    }
  }
  std::ifstream file;
  std::istream* in = &std::cin;
  if (path != nullptr && std::strcmp(path, "-") != 0) {
    file.open(path, std::ios::binary);
    if (!file) {
      std::fprintf(stderr, "quarn-dump: cannot open %s\n", path);
      return 1;
    }
    in = &file;
  }

  StreamAssembler assembler;
  std::vector<char> chunk(4096);
  std::size_t fed = 0;
  std::size_t count = 0;
  while (*in) {
    in->read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    auto got = static_cast<std::size_t>(in->gcount());
    if (got == 0) break;
    assembler.Feed({reinterpret_cast<const std::uint8_t*>(chunk.data()), got});
    fed += got;
    while (auto packet = assembler.Next()) {
      PrintPacket(++count, fed - assembler.Pending() - packet->length, *packet, hex);
    }
  }
  std::printf("%zu packets, %zu bytes skipped, %zu bytes of an unfinished packet\n", count,
              assembler.Discarded(), assembler.Pending());
  return 0;
}
