// The standings as the page draws them: one JSON object of rows in rank
// order, the asker's own line marked (added at the end when it is not among
// the top), and how many requests the server has still to answer.
#pragma once

#include <string>

#include "client/model/table_state.h"

namespace quarn::web {

std::string StandingsJson(const client::TClientTable& table);

}  // namespace quarn::web
