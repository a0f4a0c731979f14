// The standings lines a server that keeps its games sends in answer.
#include "client/model/handlers.h"

namespace quarn::client::handlers {

int StandingsLine(TClientTable& table, const Packet& packet) {
  StandingsLineRecord line;
  if (DecodeStandingsLine(line, packet) != 0 || !OwnTable(table, line.tableNumber)) return 1;
  if (table.StandingsAsked.empty()) return 1;  // nothing asked: not ours
  const StandingsAsk asked = table.StandingsAsked.front();
  if (line.kind == StandingsKind::None) {
    if (asked == StandingsAsk::Top) table.TopStandings.clear();
    if (asked == StandingsAsk::Own) table.OwnStanding.reset();
  } else if ((line.kind == StandingsKind::Own) != (asked == StandingsAsk::Own)) {
    return 1;
  } else if (line.kind == StandingsKind::Own) {
    table.OwnStanding = line;
  } else {
    if (line.rank == 1) table.TopStandings.clear();
    table.TopStandings.push_back(line);
    if (table.TopStandings.size() < line.count) return 0;  // more lines to come
  }
  table.StandingsAsked.pop_front();
  table.Display().StandingsChanged();
  return 0;
}

}  // namespace quarn::client::handlers
