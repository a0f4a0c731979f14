// One table of the list with what serves it: its game, its outbox (and so
// its watchers) and the requests waiting while it is busy.
#pragma once

#include <array>
#include <deque>
#include <memory>

#include "server/table_list.h"

namespace quarn::server {

struct TableList::Slot {
  Slot(std::uint32_t index, TableList& list)
      : table(MakeTable(index, FirstTableNumber(list.settings_))),
        outbox(list.host_, list.log_, list.PrefixOf(index)),
        game(list.log_, outbox, *table, list.ids_, list.scheduler_) {
    game.UseStore(list.store_);
  }

  std::unique_ptr<TServerTable> table;
  Outbox outbox;
  TableGame game;
  std::deque<Waiting> waiting;  // requests held while the table is busy
  bool open = false;            // in open_
  // What the view was last told: the state, and the player ids by seat.
  std::int8_t shownStatus = 0;
  std::array<std::int32_t, kSeatCount> shownIds{-1, -1, -1, -1};
};

}  // namespace quarn::server
