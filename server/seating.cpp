// The dispatch, the login that seats a player, the relays of icons and chat,
// and the freeing of a seat whose connection is gone.
#include "protocol/packet_builder.h"
#include "protocol/pcpchat.h"
#include "server/table_game.h"

namespace quarn::server {

namespace {

// A wanted seat of 1, 2 or 3 stands; anything else asks for seat 0.
int WantedSeat(std::uint8_t seat) {
  return seat >= 1 && seat <= 3 ? seat : 0;
}

}  // namespace

void TableGame::Dispatch(ConnectionId connection, Packet& packet) {
  PacketHeader header;
  if (DecodeHeader(header, packet) != 0) return;
  if (Handle(connection, packet, header.type()) != 0) TellRefused(connection, header.type());
}

int TableGame::Handle(ConnectionId connection, Packet& packet, MessageType type) {
  switch (type) {
    case MessageType::LoginRequest:
      return Login(connection, packet);
    case MessageType::BidOffer:
      return Bid(connection, packet, false);
    case MessageType::BidPass:
      return Bid(connection, packet, true);
    case MessageType::PlayCards:
      return Play(connection, packet);
    case MessageType::PlayPass:
      return Pass(connection, packet);
    case MessageType::IconChange:
    case MessageType::IconChangeAlt:
      return IconChange(connection, packet);
    case MessageType::ChatSay:
      return ChatRelay(connection, packet);
    case MessageType::AutoPlayRequest:
      return AutoPlay(connection, packet);
    case MessageType::StateRequest:
      return StateRequest(connection, packet);
    case MessageType::StandingsRequest:
      return Standings(connection, packet);
    case MessageType::ReplayListRequest:
      return ReplayList(connection, packet);
    case MessageType::ReplayGameRequest:
      return ReplayGame(connection, packet);
    default:
      return 0;  // not a client's request: dropped
  }
}

int TableGame::SeatOf(ConnectionId connection) const {
  std::int32_t tableNumber = 0;
  std::uint32_t seat = 0;
  if (FindSeat(connection, table_, tableNumber, seat) != 0) return -1;
  return static_cast<int>(seat);
}

int TableGame::Login(ConnectionId connection, Packet& packet, std::string address) {
  LoginRecord request;
  if (packet.length != LoginLength || DecodeLoginRequest(request, packet) != 0) return 1;
  // One connection holds at most one seat.
  if (SeatOf(connection) >= 0) return 1;
  if (table_.Status != TableWaiting) return 1;
  table_.Status = TableSeating;

  const int seat = AssignSeat(table_, WantedSeat(request.seat));
  if (seat >= 0) {
    TServerPlayer& player = table_.Players[seat];
    ++table_.Count;
    player.Id = ids_.NewPlayerId();
    player.Name = request.name[0];
    player.Password = request.password;
    player.HeadIcon = request.headIcon[0];
    player.ServiceIcon = request.serviceIcon[0];
    player.Socket = connection;
    player.Rounds = 0;
    player.Score = 0;
    player.Control = SeatControl::Person;
    player.Timeouts = 0;
    player.Address = std::move(address);
  }

  LoginRecord reply = request;
  reply.tableNumber = seat >= 0 ? table_.Table : RefusedTable;
  reply.seat = seat >= 0 ? static_cast<std::uint8_t>(seat) : RefusedSeat;
  if (RewriteHeader(packet, MessageType::LoginReply) != 0 || EncodeLoginReply(reply, packet) != 0) {
    if (seat >= 0) {  // the player never learns of the seat: give it back
      table_.Players[seat].Id = 0;
      table_.Players[seat].Socket = kNoConnection;
      --table_.Count;
    }
    return Refuse(TableWaiting);
  }
  outbox_.SendToSeat(connection, packet);
  if (seat < 0) {
    Tell(TableTag() + "桌已坐满，拒绝" + NameForText(request.name[0]) + "入座");
    table_.Status = TableWaiting;
    return 0;
  }
  Tell(TableTag() + SeatTag(static_cast<std::uint32_t>(seat)) + "入座");

  if (RewriteHeader(packet, MessageType::SeatList) == 0 &&
      EncodeSeatList(SeatListRecord(), packet) == 0) {
    seatList_ = packet;
    Pace(table_.DelaySync, Step::SeatList);  // then back to waiting, or the deal
  } else {
    RunStep(Step::SeatList);
  }
  return 0;
}

LoginRecord TableGame::SeatListRecord() const {
  LoginRecord list;
  list.tableNumber = table_.Table;
  for (int index = 0; index < kSeatCount; ++index) {
    const TServerPlayer& player = table_.Players[index];
    const bool taken = player.Taken();
    list.nameLength[index] = taken ? static_cast<std::int32_t>(player.Name.size()) : 0;
    list.name[index] = taken ? player.Name : std::string();
    list.serviceIcon[index] = taken ? player.ServiceIcon : 1;
    list.headIcon[index] = taken ? player.HeadIcon : 1;
  }
  return list;
}

int TableGame::IconChange(ConnectionId connection, Packet& packet) {
  const int seat = SeatOf(connection);
  if (seat < 0) return 1;
  IconRecord icons;
  if (DecodeIconChange(icons, packet) != 0) return 1;
  TServerPlayer& player = table_.Players[seat];
  player.ServiceIcon = icons.serviceIcon;
  player.HeadIcon = icons.headIcon;
  // The notice names the sender's own seat and table, whatever the request said.
  icons.seat = static_cast<std::uint8_t>(seat);
  icons.tableNumber = table_.Table;
  if (RewriteHeader(packet, MessageType::IconNotice) != 0 || EncodeIconNotice(icons, packet) != 0) {
    return 1;
  }
  outbox_.SendToTable(table_, packet);
  return 0;
}

int TableGame::ChatRelay(ConnectionId connection, Packet& packet) {
  const int seat = SeatOf(connection);
  if (seat < 0) return 1;
  ChatRecord chat;
  if (DecodeChatSay(chat, packet) != 0) return 1;
  // The speaker is the sender's own seat; the text always ends within its field.
  chat.seat = static_cast<std::uint8_t>(seat);
  chat.tableNumber = table_.Table;
  // Where watchers speak, a seat must not pass for one of them.
  if (table_.WatchersChat) chat.text = SeatChatText(chat.text);
  if (RewriteHeader(packet, MessageType::ChatNotice) != 0 || EncodeChatNotice(chat, packet) != 0) {
    return 1;
  }
  outbox_.SendToTable(table_, packet);
  return 0;
}

void TableGame::Disconnect(ConnectionId connection) {
  const int seat = SeatOf(connection);
  if (seat < 0) return;
  if (table_.KeepSeats && GameInPlay()) {
    KeepSeat(static_cast<std::uint32_t>(seat));
    return;
  }
  FreeSeat(static_cast<std::uint32_t>(seat));
}

void TableGame::FreeSeat(std::uint32_t seat) {
  TServerPlayer& player = table_.Players[seat];
  player.Socket = kNoConnection;
  // The seat list of a login still goes out before the leave; a deal not yet
  // sent is abandoned with its game, whichever way its seat was freed.
  SendSeatList();
  EndGameSteps();
  const SeatRecord leave{table_.Table, static_cast<std::uint8_t>(seat)};
  if (auto notice = BuildPacket(MessageType::PlayerLeave, leave)) {
    outbox_.SendToTable(table_, *notice);
  }
  player.Id = 0;
  if (table_.Count > 0) --table_.Count;
  table_.Status = TableWaiting;
  Tell(TableTag() + SeatTag(seat) + "离座");
  NextTurn();  // no game: no turn, no clock
}

}  // namespace quarn::server
