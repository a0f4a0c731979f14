// Replays, asked for by a seated player and answered from the store: the
// games its name sat in, one line per packet, and one of them whole in parts.
// A game is sent only to a name that sat in it.
#include <algorithm>
#include <limits>
#include <utility>

#include "protocol/packet_builder.h"
#include "protocol/record_parts.h"
#include "server/send_lines.h"
#include "server/table_game.h"
#include "store/record_bytes.h"

namespace quarn::server {

namespace {

ReplayListLineRecord LineOf(std::int32_t table, std::size_t count, int seat,
                            const store::GameSummary& game) {
  ReplayListLineRecord line;
  line.tableNumber = table;
  line.kind = ReplayKind::Found;
  line.count = static_cast<std::uint8_t>(count);
  line.ownSeat = static_cast<std::uint8_t>(seat);
  line.landlord = game.landlord;
  line.gameId = game.id;
  line.finishedAt = static_cast<std::uint32_t>(
      std::clamp<std::int64_t>(game.finishedAt, 0, std::numeric_limits<std::uint32_t>::max()));
  line.gameTable = game.table;
  line.points = game.points;
  line.scoreChange = game.scoreChange.at(static_cast<std::size_t>(seat));
  for (std::size_t i = 0; i < line.names.size(); ++i) {
    // The wire's field holds 15 bytes up to a NUL; a stored name may be odder.
    const std::string& name = game.names.at(i);
    line.names.at(i) = name.substr(0, std::min(name.find('\0'), std::size_t{15}));
  }
  return line;
}

int SeatIn(const std::array<std::string, store::kSeats>& names, const std::string& name) {
  const auto found = std::find(names.begin(), names.end(), name);
  return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

}  // namespace

int TableGame::ReplayList(ConnectionId connection, Packet& packet) {
  const auto request = AskedOfStore(connection, packet, DecodeReplayListRequest);
  if (!request) return 1;
  const std::string& name = table_.Players[SeatOf(connection)].Name;
  const auto games = store_->RecentGames(name, request->count);
  std::vector<ReplayListLineRecord> lines;
  for (const store::GameSummary& game : games) {
    const int own = SeatIn(game.names, name);
    if (own >= 0) lines.push_back(LineOf(table_.Table, games.size(), own, game));
  }
  ReplayListLineRecord none;
  none.tableNumber = table_.Table;
  SendLines(connection, MessageType::ReplayListLine, std::move(lines), none);
  return 0;
}

int TableGame::ReplayGame(ConnectionId connection, Packet& packet) {
  const auto request = AskedOfStore(connection, packet, DecodeReplayGameRequest);
  if (!request) return 1;
  const int seat = SeatOf(connection);
  std::vector<ReplayGamePartRecord> parts;
  if (const auto game = store_->Game(request->gameId);
      game && SeatIn(game->names, table_.Players[seat].Name) >= 0) {
    const std::string bytes = store::GameBytes(*game);
    parts =
        SplitRecord(table_.Table, request->gameId,
                    std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  }
  ReplayGamePartRecord none;
  none.tableNumber = table_.Table;
  none.gameId = request->gameId;
  SendLines(connection, MessageType::ReplayGamePart, std::move(parts), none);
  return 0;
}

}  // namespace quarn::server
