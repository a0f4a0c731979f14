// The standings, asked for by a seated player and answered from the store,
// one line per packet to the asker alone.
#include <algorithm>
#include <limits>
#include <utility>

#include "protocol/packet_builder.h"
#include "server/send_lines.h"
#include "server/table_game.h"

namespace quarn::server {

namespace {

std::int32_t Clamped(std::int64_t value) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(value, 0, std::numeric_limits<std::int32_t>::max()));
}

StandingsLineRecord LineOf(std::int32_t table, StandingsKind kind, std::size_t count,
                           std::int64_t rank, const store::Standing& line) {
  StandingsLineRecord record;
  record.tableNumber = table;
  record.kind = kind;
  record.count = static_cast<std::uint8_t>(count);
  record.rank = std::max(Clamped(rank), 1);
  record.name = line.name;
  record.games = Clamped(line.games);
  record.wins = Clamped(line.wins);
  record.landlordGames = Clamped(line.landlordGames);
  record.landlordWins = Clamped(line.landlordWins);
  record.points = line.points;
  record.lastPlayed = static_cast<std::uint32_t>(
      std::clamp<std::int64_t>(line.lastPlayed, 0, std::numeric_limits<std::uint32_t>::max()));
  return record;
}

}  // namespace

int TableGame::Standings(ConnectionId connection, Packet& packet) {
  const auto asked = AskedOfStore(connection, packet, DecodeStandingsRequest);
  if (!asked) return 1;
  const StandingsRequestRecord& request = *asked;
  const int seat = SeatOf(connection);
  std::vector<StandingsLineRecord> lines;
  if (request.ask == StandingsAsk::Top) {
    const auto top = store_->Top(request.count);
    for (std::size_t i = 0; i < top.size(); ++i) {
      lines.push_back(LineOf(table_.Table, StandingsKind::Top, top.size(),
                             static_cast<std::int64_t>(i) + 1, top[i]));
    }
  } else if (const auto own = store_->StandingOf(table_.Players[seat].Name)) {
    lines.push_back(LineOf(table_.Table, StandingsKind::Own, 1, store_->RankOf(*own), *own));
  }
  StandingsLineRecord none;
  none.tableNumber = table_.Table;
  SendLines(connection, MessageType::StandingsLine, std::move(lines), none);
  return 0;
}

}  // namespace quarn::server
