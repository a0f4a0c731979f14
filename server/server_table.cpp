#include "server/server_table.h"

#include <limits>

namespace quarn::server {

std::unique_ptr<TServerTable> MakeTable(std::uint32_t tableIndex, std::int32_t firstNumber) {
  auto table = std::make_unique<TServerTable>();
  table->Table = firstNumber + static_cast<std::int32_t>(tableIndex);
  for (std::uint32_t seat = 0; seat < kSeatCount; ++seat) {
    table->Players[seat].TableIndex = tableIndex;
    table->Players[seat].Seat = seat;
  }
  return table;
}

void ApplySettings(TServerTable& table, const ServerSettings& settings) {
  table.AllowBid = settings.allowBid;
  table.DefaultPoints = settings.defaultPoints;
  table.RandEachGame = settings.randEachGame;
  table.WatchersChat = settings.spectatorChat;
  table.AllowDelay = settings.allowDelay;
  table.DelaySync = settings.delaySyncMs;
  table.DelayDeal = settings.delayDealMs;
  table.KeepSeats = settings.keepSeats;
  table.TurnTimeMs = settings.turnTimeS * 1000;
}

int AssignSeat(const TServerTable& table, int wantedSeat) {
  if (table.Count >= kSeatCount || wantedSeat < 0 || wantedSeat >= kSeatCount) return -1;
  if (!table.Players[wantedSeat].Taken()) return wantedSeat;
  for (int seat = 0; seat < kSeatCount; ++seat) {
    if (!table.Players[seat].Taken()) return seat;
  }
  return -1;
}

std::int32_t PlayerIds::NewPlayerId() {
  const std::int32_t id = next_;
  next_ = next_ == std::numeric_limits<std::int32_t>::max() ? 1 : next_ + 1;
  return id;
}

}  // namespace quarn::server
