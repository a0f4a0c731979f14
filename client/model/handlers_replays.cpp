// The answers of a server that keeps its games to the replay requests: the
// list one line per packet, a game in parts joined and played again.
#include "client/model/handlers.h"
#include "store/record_bytes.h"
#include "store/replay.h"

namespace quarn::client::handlers {

namespace {

void Settle(TReplays& replays, const std::vector<std::uint8_t>& bytes) {
  replays.Game = store::ReadGame(std::string(bytes.begin(), bytes.end()));
  if (!replays.Game) {
    replays.Arrival = ReplayArrival::NotWhole;
    return;
  }
  const store::ReplayOutcome outcome = store::Replay(*replays.Game);
  replays.Arrival = outcome.sound ? ReplayArrival::Ready : ReplayArrival::NotSound;
  replays.Fault = outcome.fault;
}

}  // namespace

int ReplayListLine(TClientTable& table, const Packet& packet) {
  ReplayListLineRecord line;
  if (DecodeReplayListLine(line, packet) != 0 || !OwnTable(table, line.tableNumber)) return 1;
  TReplays& replays = table.Replays;
  if (replays.ListAsked == 0) return 1;  // nothing asked: not ours
  if (line.kind == ReplayKind::None) {
    replays.Incoming.clear();
  } else {
    // A line of another answer's length starts that answer over.
    if (!replays.Incoming.empty() && replays.Incoming.front().count != line.count) {
      replays.Incoming.clear();
    }
    replays.Incoming.push_back(line);
    if (replays.Incoming.size() < line.count) return 0;  // more lines to come
  }
  replays.Games = std::move(replays.Incoming);
  replays.Incoming.clear();
  --replays.ListAsked;
  table.Display().ReplaysChanged();
  return 0;
}

int ReplayGamePart(TClientTable& table, const Packet& packet) {
  ReplayGamePartRecord part;
  if (DecodeReplayGamePart(part, packet) != 0 || !OwnTable(table, part.tableNumber)) return 1;
  TReplays& replays = table.Replays;
  if (replays.Arrival != ReplayArrival::Arriving || part.gameId != replays.GameId) return 1;
  if (part.kind == ReplayKind::None) {
    replays.Arrival = ReplayArrival::NotFound;
  } else {
    switch (replays.Parts.Take(part)) {
      case RecordJoiner::Step::Waiting:
        return 0;
      case RecordJoiner::Step::Broken:
        replays.Arrival = ReplayArrival::NotWhole;
        break;
      case RecordJoiner::Step::Whole:
        Settle(replays, replays.Parts.Bytes());
        break;
    }
  }
  table.Display().ReplaysChanged();
  return 0;
}

}  // namespace quarn::client::handlers
