// The client's game states and the seat names it shows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quarn::client {

// Where the own client stands in a game. Stored as one byte; values above
// PlaySent never arise from our own code but are handled by the status texts.
enum class TGameState : std::uint8_t {
  Offline = 0,    ///< Not logged in.
  LoggingIn = 1,  ///< Login sent, answer awaited.
  Seated = 2,     ///< Seated, fewer than four players at the table.
  AwaitDeal = 3,  ///< Four players seated; waiting for the deal, or being dealt.
  MyBid = 4,      ///< Bidding; the own seat is to bid.
  OtherBid = 5,   ///< Bidding; another seat is to bid.
  InPlay = 6,     ///< Play phase.
  PlaySent = 7,   ///< The own play was sent; the next turn is awaited.
};

inline constexpr int kSeatCount = 4;

constexpr bool IsSeat(int seat) {
  return seat >= 0 && seat < kSeatCount;
}
constexpr int NextSeat(int seat) {
  return (seat + 1) % kSeatCount;
}

// "东" "北" "西" "南" for seats 0..3; an empty text for anything else.
std::string_view SeatName(int seat);
// The same in the shown language.
std::string ShownSeatName(int seat);

}  // namespace quarn::client
