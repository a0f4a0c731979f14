// Server packets for the session tests, built with the protocol's own encoders.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/combination.h"
#include "core/gbk.h"
#include "hand_text.h"
#include "protocol/packet_builder.h"

namespace quarn::bot::testing {

// Distinct card numbers for a hand written as text ("3 3 K s B"): the
// copies of a rank are taken suit by suit, then from the second deck.
inline std::vector<std::uint8_t> Cards(const std::string& text, int firstCopy = 0) {
  std::array<int, 16> used{};
  used.fill(firstCopy);
  std::vector<std::uint8_t> cards;
  for (int r : Ranks(text)) {
    const int copy = used[r]++;
    int number = r <= 13 ? (r - 1) * 4 + copy % 4 + 1 : 52 + (r - 13);
    if (r <= 13 ? copy >= 4 : copy >= 1) number += 54;
    cards.push_back(static_cast<std::uint8_t>(number));
  }
  return cards;
}

inline Packet LoginReply(int seat) {
  LoginRecord record;
  record.name[0] = Utf8ToGbk("电脑1");
  record.nameLength[0] = static_cast<std::int32_t>(record.name[0].size());
  record.tableNumber = 1;
  record.seat = static_cast<std::uint8_t>(seat);
  return *BuildPacket(MessageType::LoginReply, record);
}

inline Packet FullSeatList() {
  LoginRecord record;
  for (int s = 0; s < 4; ++s) {
    record.name[s] = "p" + std::to_string(s);
    record.nameLength[s] = 2;
    record.serviceIcon[s] = record.headIcon[s] = 1;
  }
  record.tableNumber = 1;
  return *BuildPacket(MessageType::SeatList, record);
}

inline Packet Deal(MessageType type, int seat, const std::vector<std::uint8_t>& cards) {
  DealRecord record;
  record.tableNumber = 1;
  record.seat = static_cast<std::uint8_t>(seat);
  record.count = static_cast<std::uint8_t>(cards.size());
  std::copy(cards.begin(), cards.end(), record.cards.begin());
  return *BuildPacket(type, record);
}

inline Packet Bid(MessageType type, int seat, int points) {
  return *BuildPacket(type, BidRecord{1, static_cast<std::uint8_t>(seat), points});
}

// A play of `cards` by `seat` as the server relays it; no cards: a pass.
inline Packet Notice(int seat, const std::vector<std::uint8_t>& cards) {
  PlayRecord record;
  record.tableNumber = 1;
  record.seat = static_cast<std::uint8_t>(seat);
  record.count = static_cast<std::uint8_t>(cards.size());
  std::copy(cards.begin(), cards.end(), record.cards.begin());
  RankCounts counts{};
  for (std::uint8_t card : cards) ++counts[RankOf(card)];
  const Combination combo = ClassifyCounts(counts, static_cast<int>(cards.size()));
  record.comboType = static_cast<std::uint8_t>(combo.type);
  record.keyRank = combo.key;
  return *BuildPacket(MessageType::PlayNotice, record);
}

inline Packet Turn(int seat) {
  return *BuildPacket(MessageType::PlayTurn, SeatRecord{1, static_cast<std::uint8_t>(seat)});
}

inline Packet GameOver(int winner) {
  GameEndRecord record;
  record.tableNumber = 1;
  for (int s = 0; s < 4; ++s) {
    record.name[s] = "p" + std::to_string(s);
    record.nameLength[s] = 2;
    record.rounds[s] = 1;
  }
  record.winner = static_cast<std::uint8_t>(winner);
  return *BuildPacket(MessageType::GameEnd, record);
}

}  // namespace quarn::bot::testing
