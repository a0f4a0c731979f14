#include "replay_json.h"

#include "core/gbk.h"
#include "json.h"
#include "store/game_record.h"

namespace quarn::web {
namespace {

// As text: 64-bit ids and sums are more than a JavaScript number holds exactly.
std::string Signed(std::int64_t value) {
  return value > 0 ? "+" + std::to_string(value) : std::to_string(value);
}

// The asker's seat in the game asked for, from the list that offered it; -1 if gone.
int OwnSeatIn(const client::TReplays& replays) {
  for (const ReplayListLineRecord& line : replays.Games) {
    if (line.gameId == replays.GameId) return line.ownSeat;
  }
  return -1;
}

void AddFrame(Json& json, const store::GameRecord& game, const client::ReplayFrame& frame) {
  const bool finished = frame.phase == client::ReplayPhase::Finished;
  json.Key("caption").Text(frame.caption).Key("actor").Number(frame.actor);
  json.Key("finished").Bool(finished).Key("seats").Begin('[');
  for (std::size_t seat = 0; seat < store::kSeats; ++seat) {
    const auto& play = frame.lastPlay.at(seat);
    json.Begin('{').Key("name").Text(GbkToUtf8(game.names.at(seat)));
    json.Key("lord").Bool(frame.landlord == static_cast<int>(seat));
    json.Key("hand").Bytes(frame.hands.at(seat)).Key("acted").Bool(play.has_value());
    json.Key("play").Bytes(play ? std::span<const std::uint8_t>(*play)
                                : std::span<const std::uint8_t>{});
    json.Key("change").Text(finished ? Signed(game.scoreChange.at(seat)) : "").End('}');
  }
  json.End(']');
}

}  // namespace

std::string ReplayListJson(const client::TClientTable& table) {
  Json json;
  json.Begin('{').Key("waiting").Number(table.Replays.ListAsked).Key("games").Begin('[');
  for (const ReplayListLineRecord& line : table.Replays.Games) {
    json.Begin('{').Key("id").Text(std::to_string(line.gameId));
    json.Key("finished").Number(line.finishedAt).Key("table").Number(line.gameTable);
    json.Key("seat").Number(line.ownSeat).Key("landlord").Number(line.landlord);
    json.Key("points").Number(line.points).Key("change").Text(Signed(line.scoreChange));
    json.Key("names").Begin('[');
    for (const std::string& name : line.names) json.Text(GbkToUtf8(name));
    json.End(']').End('}');
  }
  return json.End(']').End('}').Str();
}

std::string ReplayJson(const client::TReplays& replays, const client::ReplaySteps* steps,
                       std::size_t step) {
  Json json;
  json.Begin('{').Key("arrival").Number(static_cast<int>(replays.Arrival));
  json.Key("fault").Text(replays.Fault).Key("ownSeat").Number(OwnSeatIn(replays));
  json.Key("step").Number(static_cast<long long>(step));
  json.Key("steps").Number(steps ? static_cast<long long>(steps->Count()) : 0);
  if (steps) AddFrame(json, steps->Game(), steps->At(step));
  return json.End('}').Str();
}

}  // namespace quarn::web
