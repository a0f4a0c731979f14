// A finished game as the store keeps it: who sat where, the deal, every bid
// and move in order, and what each seat's score did. Enough to play the game
// again exactly (store/replay.h). Names are the GBK bytes the players sent,
// kept exactly, NUL and invalid sequences included.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quarn::store {

inline constexpr int kSeats = 4;
inline constexpr int kHandCards = 25;
inline constexpr int kBottomCards = 8;

// One bid in order; points 0 is a pass.
struct BidStep {
  std::uint8_t seat = 0;
  std::uint8_t points = 0;
  bool operator==(const BidStep&) const = default;
};

// One play in order; no cards is a pass. Cards are card numbers (1..108, or
// folded 1..54 as plays travel).
struct MoveStep {
  std::uint8_t seat = 0;
  std::vector<std::uint8_t> cards;
  bool operator==(const MoveStep&) const = default;
};

struct GameRecord {
  std::int64_t finishedAt = 0;  // seconds since 1970-01-01 UTC
  std::int32_t table = 0;
  std::array<std::string, kSeats> names;
  std::uint8_t startSeat = 0;  // the seat that bid first and held the start card
  std::uint8_t startCard = 0;
  std::uint8_t landlord = 0;
  std::uint8_t winner = 0;   // the seat that played its last card
  std::uint32_t points = 0;  // bid, or the table's fixed points
  std::array<std::int64_t, kSeats> scoreChange{};
  std::array<std::array<std::uint8_t, kHandCards>, kSeats> hands{};
  std::array<std::uint8_t, kBottomCards> bottom{};
  std::vector<BidStep> bids;
  std::vector<MoveStep> moves;

  bool LandlordWon() const { return winner == landlord; }
  bool Won(int seat) const { return (seat == landlord) == LandlordWon(); }
  bool operator==(const GameRecord&) const = default;
};

// One name's line of the standings.
struct Standing {
  std::string name;
  std::int64_t games = 0;
  std::int64_t wins = 0;
  std::int64_t points = 0;
  std::int64_t landlordGames = 0;
  std::int64_t landlordWins = 0;
  std::int64_t lastPlayed = 0;  // seconds since 1970-01-01 UTC
  bool operator==(const Standing&) const = default;
};

// A stored game as a list shows it.
struct GameSummary {
  std::int64_t id = 0;
  std::int64_t finishedAt = 0;
  std::int32_t table = 0;
  std::array<std::string, kSeats> names;
  std::uint8_t landlord = 0;
  std::uint32_t points = 0;
  std::array<std::int64_t, kSeats> scoreChange{};
};

}  // namespace quarn::store
