#include "client/model/game_state.h"

#include <array>

namespace quarn::client {

std::string_view SeatName(int seat) {
  static constexpr std::array<std::string_view, kSeatCount> kNames = {"东", "北", "西", "南"};
  return IsSeat(seat) ? kNames[static_cast<std::size_t>(seat)] : std::string_view{};
}

}  // namespace quarn::client
