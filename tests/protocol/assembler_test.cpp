#include "protocol/stream_assembler.h"

#include <gtest/gtest.h>

#include "tests/protocol/golden.h"

namespace quarn {
namespace {

using test::Built;
using test::Bytes;

Bytes Bid(std::uint8_t seat) {
  return Built(MessageType::BidOffer, BidRecord{1, seat, 5});
}
Bytes Chat(const char* text) {
  return Built(MessageType::ChatSay, ChatRecord{1, 2, text});
}
Bytes Login() {
  return Built(MessageType::LoginRequest, MakeLoginRequest("ann", "", 1, 1, 1, 0));
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// The packets of `stream` fed `chunk` bytes at a time; the assembler never holds a packet's worth.
std::vector<Bytes> Packets(const Bytes& stream, std::size_t chunk) {
  StreamAssembler assembler;
  std::vector<Bytes> packets;
  for (std::size_t at = 0; at < stream.size(); at += chunk) {
    assembler.Feed(std::span(stream).subspan(at, std::min(chunk, stream.size() - at)));
    while (auto packet = assembler.Next()) packets.push_back(test::ToBytes(*packet));
    EXPECT_LT(assembler.Pending(), MaxPacketSize);
  }
  return packets;
}

TEST(Assembler, ChunkingAndGarbageNeverChangeThePackets) {
  const Bytes noise{0x00, 0xCE, 0xF1, 0x12, 0xCE, 0xF1, 0xCE, 0xF1, 0xCE, 0xF1, 0xCE};
  const Bytes clean = Join({Login(), Bid(1), Chat("hello")});
  const Bytes noisy = Join({noise, Login(), noise, noise, Bid(1), noise, Chat("hello"), noise});
  const std::vector<Bytes> expected{Login(), Bid(1), Chat("hello")};
  for (std::size_t chunk : {1u, 2u, 5u, 7u, 31u, 32u, 33u, 64u, 199u, 1000u}) {
    EXPECT_EQ(Packets(clean, chunk), expected) << chunk;
    EXPECT_EQ(Packets(noisy, chunk), expected) << chunk;
  }
  // A packet split at every offset comes through once, and not before its last byte.
  const Bytes login = Login();
  for (std::size_t split = 0; split <= login.size(); ++split) {
    StreamAssembler assembler;
    assembler.Feed(std::span(login).first(split));
    EXPECT_EQ(assembler.Next().has_value(), split == login.size()) << split;
    assembler.Feed(std::span(login).subspan(split));
    EXPECT_EQ(assembler.Next().has_value(), split < login.size()) << split;
  }
  // What could still begin a header is kept; everything else is gone.
  StreamAssembler assembler;
  assembler.Feed(noisy);
  while (assembler.Next()) {
  }
  EXPECT_LE(assembler.Pending(), 7u);
  EXPECT_EQ(assembler.Discarded() + assembler.Pending(), noisy.size() - clean.size());
  assembler.Feed(Bytes(100000, 0x41));  // however much of it
  EXPECT_FALSE(assembler.Next());
  EXPECT_EQ(assembler.Pending(), 0u);
  assembler.Feed(std::span(login).first(179));
  assembler.Reset();  // a new connection starts clean
  EXPECT_EQ(assembler.Pending(), 0u);
  assembler.Feed(Bid(1));
  EXPECT_TRUE(assembler.Next());
}

TEST(Assembler, ABadHeaderIsDroppedAndTheNextPacketComesThrough) {
  // Faults in the magic, id, version, length and result words.
  for (const auto& [at, value] : std::vector<std::pair<std::size_t, std::uint8_t>>{
           {12, 0x00}, {9, 0x00}, {27, 0x01}, {23, 0x31}, {23, 0x00}, {3, 0x00}}) {
    Bytes bad = Bid(2);
    bad[at] = value;
    EXPECT_EQ(Packets(Join({bad, Chat("after")}), 1000), std::vector<Bytes>{Chat("after")}) << at;
  }
  // A header cut off by the next packet: the packet inside it is found, also
  // where the false magic runs on into the true one (a resync moves one byte).
  for (std::size_t cut : {2u, 4u, 6u, 8u, 12u, 20u, 24u}) {
    const Bytes start = Bid(3);
    const Bytes stream = Join({Bytes(start.begin(), start.begin() + cut), Chat("next")});
    EXPECT_EQ(Packets(stream, 1000), std::vector<Bytes>{Chat("next")}) << cut;
  }
}

TEST(Assembler, AnUnknownTypeOfPlausibleLengthIsSkippedWhole) {
  // Its body looks like a header: skipping it whole must not find that packet.
  Bytes unknown = test::Vectors().at("bid_offer").bytes;
  unknown.resize(120);
  unknown[19] = 0xEF;
  unknown[23] = 120;
  const Bytes inner = Bid(0);
  std::copy(inner.begin(), inner.end(), unknown.begin() + 40);
  for (std::size_t chunk : {1u, 10u, 40u, 1000u}) {
    EXPECT_EQ(Packets(Join({unknown, Bid(2)}), chunk), std::vector<Bytes>{Bid(2)}) << chunk;
  }
  // With an implausible length it is only a bad header: the packet inside is found.
  for (const std::uint32_t length : {47u, 201u}) {
    unknown[22] = static_cast<std::uint8_t>(length >> 8);
    unknown[23] = static_cast<std::uint8_t>(length);
    EXPECT_EQ(Packets(Join({unknown, Bid(2)}), 1000), (std::vector<Bytes>{Bid(0), Bid(2)}));
  }
}

}  // namespace
}  // namespace quarn
