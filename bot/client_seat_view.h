// A seat's view of the game, read off the client's picture of its table.
#pragma once

#include "bot/play/seat_view.h"
#include "client/model/table_state.h"

namespace quarn::bot {

SeatView SeatViewOf(const client::TClientTable& table);

}  // namespace quarn::bot
