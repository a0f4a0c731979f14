#include <gtest/gtest.h>

#include "protocol/packet_builder.h"
#include "protocol/stream_assembler.h"
#include "test_bytes.h"

namespace quarn {
namespace {

using test::Bytes;
using test::ToBytes;

Bytes Bid(std::uint8_t seat) {
  return test::Built(MessageType::BidOffer, BidRecord{1, seat, 5});
}
Bytes Chat(const char* text) {
  return test::Built(MessageType::ChatSay, ChatRecord{1, 2, text});
}
Bytes Login() {
  return test::Built(MessageType::LoginRequest, MakeLoginRequest("ann", "", 1, 1, 1, 0));
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

std::vector<Bytes> Drain(StreamAssembler& assembler) {
  std::vector<Bytes> packets;
  while (auto packet = assembler.Next()) packets.push_back(ToBytes(*packet));
  return packets;
}

std::vector<Bytes> FeedInChunks(const Bytes& stream, std::size_t chunk) {
  StreamAssembler assembler;
  std::vector<Bytes> packets;
  for (std::size_t at = 0; at < stream.size(); at += chunk) {
    std::size_t n = std::min(chunk, stream.size() - at);
    assembler.Feed(std::span(stream).subspan(at, n));
    for (Bytes& p : Drain(assembler)) packets.push_back(std::move(p));
    EXPECT_LT(assembler.Pending(), MaxPacketSize);
  }
  return packets;
}

TEST(Assembler, ChunkingNeverChangesThePackets) {
  Bytes stream = Join({Login(), Bid(1), Chat("hello")});
  std::vector<Bytes> expected{Login(), Bid(1), Chat("hello")};
  EXPECT_EQ(FeedInChunks(stream, 1), expected);              // one byte at a time
  EXPECT_EQ(FeedInChunks(stream, stream.size()), expected);  // three in one chunk
  for (std::size_t chunk : {2u, 7u, 31u, 32u, 33u, 100u, 199u}) {
    EXPECT_EQ(FeedInChunks(stream, chunk), expected) << chunk;
  }
}

TEST(Assembler, SplitAtEveryOffset) {
  Bytes packet = Login();
  for (std::size_t split = 0; split <= packet.size(); ++split) {
    StreamAssembler assembler;
    assembler.Feed(std::span(packet).first(split));
    if (split < packet.size()) {
      EXPECT_FALSE(assembler.Next()) << split;
    }
    assembler.Feed(std::span(packet).subspan(split));
    auto packets = Drain(assembler);
    ASSERT_EQ(packets.size(), 1u) << split;
    EXPECT_EQ(packets[0], packet);
  }
}

TEST(Assembler, GarbageAroundPacketsIsDiscarded) {
  Bytes noise{0x00, 0xCE, 0xF1, 0x12, 0xCE, 0xF1, 0xCE, 0xF1, 0xCE, 0xF1, 0xCE};
  Bytes stream = Join({noise, Bid(0), noise, noise, Chat("x"), noise, Bid(3), noise});
  std::vector<Bytes> expected{Bid(0), Chat("x"), Bid(3)};
  for (std::size_t chunk : {std::size_t{1}, std::size_t{5}, std::size_t{64}, stream.size()}) {
    EXPECT_EQ(FeedInChunks(stream, chunk), expected) << chunk;
  }
  StreamAssembler assembler;
  assembler.Feed(stream);
  Drain(assembler);
  // What could still begin a header is kept; everything else is gone.
  EXPECT_LE(assembler.Pending(), 7u);
  EXPECT_EQ(assembler.Discarded() + assembler.Pending(), stream.size() - 48 - 104 - 48);
}

TEST(Assembler, BadHeaderIsDroppedAndTheNextPacketComesThrough) {
  // Faults in the magic, id, version, length and result words.
  for (const auto& [at, value] : std::vector<std::pair<std::size_t, std::uint8_t>>{
           {12, 0x00}, {9, 0x00}, {27, 0x01}, {23, 0x31}, {23, 0x00}, {3, 0x00}}) {
    Bytes bad = Bid(2);
    bad[at] = value;
    EXPECT_EQ(FeedInChunks(Join({bad, Chat("after")}), 1000), std::vector<Bytes>{Chat("after")})
        << at;
  }
  // A header cut off by the next packet: the packet inside it is found.
  for (std::size_t cut : {8u, 12u, 20u, 24u}) {
    const Bytes start = Bid(3);
    const Bytes stream = Join({Bytes(start.begin(), start.begin() + cut), Chat("next")});
    EXPECT_EQ(FeedInChunks(stream, 1000), std::vector<Bytes>{Chat("next")}) << cut;
  }
  // A header whose length word is wrong but whose body holds a packet: the
  // inner packet is found.
  Bytes wrapper = test::Frame(0xABAB00FC, 48);
  wrapper[23] = 0x99;
  EXPECT_EQ(FeedInChunks(Join({Bytes(wrapper.begin(), wrapper.begin() + 32), Bid(1)}), 1000),
            std::vector<Bytes>{Bid(1)});
}

TEST(Assembler, UnknownTypeWithPlausibleLengthIsSkippedWhole) {
  // Its body is full of bytes that look like a header: skipping it whole
  // must not find a packet inside.
  Bytes unknown = test::Frame(0xABAB01EF, 120);
  Bytes inner = Bid(0);
  std::copy(inner.begin(), inner.end(), unknown.begin() + 40);
  Bytes stream = Join({unknown, Bid(2)});
  for (std::size_t chunk : {std::size_t{1}, std::size_t{10}, std::size_t{40}, stream.size()}) {
    auto packets = FeedInChunks(stream, chunk);
    ASSERT_EQ(packets.size(), 1u) << chunk;
    EXPECT_EQ(packets[0], Bid(2));
  }
  // With an implausible length the header is only a bad header: the inner
  // packet is found again.
  unknown[23] = 20;
  auto packets = FeedInChunks(Join({unknown, Bid(2)}), 1000);
  EXPECT_EQ(packets, (std::vector<Bytes>{Bid(0), Bid(2)}));
  unknown[22] = 1;  // 276: too long
  packets = FeedInChunks(Join({unknown, Bid(2)}), 1000);
  EXPECT_EQ(packets, (std::vector<Bytes>{Bid(0), Bid(2)}));
}

TEST(Assembler, MemoryStaysBounded) {
  StreamAssembler assembler;
  Bytes junk(100000, 0x41);
  assembler.Feed(junk);
  EXPECT_FALSE(assembler.Next());
  EXPECT_EQ(assembler.Pending(), 0u);
  // A header that never completes its packet holds at most one packet.
  Bytes login = Login();
  assembler.Feed(std::span(login).first(179));
  EXPECT_FALSE(assembler.Next());
  EXPECT_EQ(assembler.Pending(), 179u);
  assembler.Reset();
  EXPECT_EQ(assembler.Pending(), 0u);
  assembler.Feed(Bid(1));
  EXPECT_TRUE(assembler.Next());
}

}  // namespace
}  // namespace quarn
