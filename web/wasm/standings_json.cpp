#include "standings_json.h"

#include "core/gbk.h"
#include "json.h"

namespace quarn::web {
namespace {

void AddRow(Json& json, const StandingsLineRecord& line, bool own) {
  json.Begin('{').Key("rank").Number(line.rank).Key("name").Text(GbkToUtf8(line.name));
  json.Key("games").Number(line.games).Key("wins").Number(line.wins);
  json.Key("landlordGames").Number(line.landlordGames);
  json.Key("landlordWins").Number(line.landlordWins);
  // As text: a sum of 64 bits is more than a JavaScript number holds exactly.
  json.Key("points").Text(std::to_string(line.points));
  json.Key("lastPlayed").Number(line.lastPlayed).Key("own").Bool(own).End('}');
}

}  // namespace

std::string StandingsJson(const client::TClientTable& table) {
  const std::optional<StandingsLineRecord>& own = table.OwnStanding;
  Json json;
  json.Begin('{').Key("waiting").Number(static_cast<long long>(table.StandingsAsked.size()));
  json.Key("rows").Begin('[');
  bool ownShown = false;
  for (const StandingsLineRecord& line : table.TopStandings) {
    const bool mine = own && own->name == line.name;
    ownShown = ownShown || mine;
    AddRow(json, line, mine);
  }
  if (own && !ownShown) AddRow(json, *own, true);
  return json.End(']').End('}').Str();
}

}  // namespace quarn::web
