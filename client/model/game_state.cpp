#include "client/model/game_state.h"

#include <array>

#include "client/model/shown_text.h"

namespace quarn::client {

namespace {

constexpr std::array<const char*, kSeatCount> kSeatNames = {
    Marked("Seat", "东"), Marked("Seat", "北"), Marked("Seat", "西"), Marked("Seat", "南")};

}  // namespace

std::string_view SeatName(int seat) {
  return IsSeat(seat) ? kSeatNames[static_cast<std::size_t>(seat)] : std::string_view{};
}

std::string ShownSeatName(int seat) {
  return IsSeat(seat) ? Shown("Seat", kSeatNames[static_cast<std::size_t>(seat)]) : std::string{};
}

}  // namespace quarn::client
