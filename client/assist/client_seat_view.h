// A seat's view of the game, read off the client's picture of its table.
#pragma once

#include "ai/seat_view.h"
#include "client/model/table_state.h"

namespace quarn::client {

ai::SeatView SeatViewOf(const TClientTable& table);

}  // namespace quarn::client
