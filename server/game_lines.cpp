// The game's own run log lines: who sits down and leaves, each deal, the
// landlord, each game's end and the refusals worth knowing. The run log keeps
// them at the game level only; the console's run log has none of them.
#include <string>

#include "core/gbk.h"
#include "server/table_game.h"

namespace quarn::server {

std::string NameForText(const std::string& gbkName) {
  std::string name = GbkToUtf8(gbkName);
  for (char& c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  return name;
}

std::string TableGame::TableTag() const {
  return "[" + std::to_string(table_.Table) + "]";
}

// "[seat:东]name", after the table as the socket error lines name a seat.
std::string TableGame::SeatTag(std::uint32_t seat) const {
  seat %= kSeatCount;
  return "[" + std::to_string(seat) + ":" + SeatNames[seat] + "]" +
         NameForText(table_.Players[seat].Name);
}

void TableGame::Tell(std::string_view text) {
  log_.Line(LineKind::Game, text);
}

void TableGame::TellRefused(ConnectionId connection, MessageType type) {
  if (!log_.Wants(LineKind::Game)) return;
  const int seat = SeatOf(connection);
  if (type == MessageType::LoginRequest) {
    if (seat >= 0)
      return Tell(TableTag() + SeatTag(static_cast<std::uint32_t>(seat)) + "重复登录，被拒绝");
    return Tell(TableTag() +
                (table_.Status == TableWaiting ? "登录请求无效，被拒绝" : "牌局进行中，拒绝登录"));
  }
  const char* what = type == MessageType::PlayCards  ? "出牌"
                     : type == MessageType::PlayPass ? "过牌"
                     : type == MessageType::BidOffer || type == MessageType::BidPass
                         ? "叫分"
                         : nullptr;  // icons and chat: nothing worth a line
  if (seat >= 0 && what != nullptr) {
    Tell(TableTag() + SeatTag(static_cast<std::uint32_t>(seat)) + "的" + what + "被拒绝");
  }
}

void TableGame::TellDeal() {
  Tell(TableTag() + "发牌，首家" + SeatTag(table_.StartSeat()));
}

void TableGame::TellLandlord() {
  Tell(TableTag() + "地主" + SeatTag(table_.Landlord) + "，" + std::to_string(table_.HighBid) +
       "分");
}

void TableGame::TellGameEnd() {
  const bool landlordWon = table_.LastPlayer == table_.Landlord;
  std::string text = TableTag() + "牌局结束，" + SeatTag(table_.LastPlayer) + "出完，" +
                     (landlordWon ? "地主胜" : "地主负") + "，总分";
  for (const TServerPlayer& player : table_.Players) {
    text += "[" + NameForText(player.Name) + "=" + std::to_string(player.Score) + "]";
  }
  Tell(text);
}

}  // namespace quarn::server
