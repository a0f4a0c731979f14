// What a seat knows of the game, read off the client's picture of its table.
#pragma once

#include "ai/seat_knowledge.h"
#include "client/model/table_state.h"

namespace quarn::client {

ai::SeatKnowledge SeatKnowledgeOf(const TClientTable& table);

}  // namespace quarn::client
