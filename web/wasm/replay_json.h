// The replays as the page draws them: the own recent games as a list, and the
// game asked for at one step (the four hands, each seat's last act this round
// and, at the end, the score changes), or how its arrival failed.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "client/model/replay_steps.h"
#include "client/model/table_state.h"

namespace quarn::web {

std::string ReplayListJson(const client::TClientTable& table);
std::string ReplayJson(const client::TReplays& replays, const client::ReplaySteps* steps,
                       std::size_t step);

}  // namespace quarn::web
