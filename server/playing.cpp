// Plays and passes, the end of a game, its score and its hero board block.
#include <array>
#include <cstdio>
#include <string>

#include "protocol/packet_builder.h"
#include "server/table_game.h"

namespace quarn::server {

namespace {

// Scores wrap as the 32-bit numbers they are instead of overflowing.
std::int32_t AddWrapping(std::int32_t score, std::int64_t amount) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(score) +
                                   static_cast<std::uint32_t>(amount));
}

}  // namespace

bool TableGame::CheckPlay(std::uint32_t seat, const PlayRecord& play) {
  scratch_.LoadBytes(play.cards);
  if (scratch_.Count() != play.count) return false;
  if (scratch_.Classify() == 0) return false;
  if (static_cast<std::uint8_t>(scratch_.Type()) != play.comboType ||
      scratch_.Key() != play.keyRank) {
    return false;
  }
  if (table_.LastPlay.Count() > 0 && table_.LastPlayer != seat &&
      !scratch_.Beats(table_.LastPlay)) {
    return false;
  }
  THandPoker& hand = table_.Players[seat].Hand;
  if (hand.SelectMatching(scratch_) != scratch_.Count()) {
    hand.ClearSelection();
    return false;
  }
  return true;
}

int TableGame::Play(ConnectionId connection, Packet& packet) {
  return ByPlayer(connection, [&](int seat) { return PlayAt(seat, packet); });
}

int TableGame::Pass(ConnectionId connection, Packet& packet) {
  return ByPlayer(connection, [&](int seat) { return PassAt(seat, packet); });
}

int TableGame::PlayAt(int seat, Packet& packet) {
  if (table_.Status != TablePlaying) return 1;
  table_.Status = TablePlayBusy;

  PlayRecord play;
  if (DecodePlayCards(play, packet) != 0) return Refuse(TablePlaying);
  const auto sender = static_cast<std::uint32_t>(seat);
  if (play.tableNumber != table_.Table || play.seat != sender || table_.Turn != sender) {
    return Refuse(TablePlaying);
  }
  if (!CheckPlay(sender, play)) return Refuse(TablePlaying);

  table_.LastPlayer = sender;
  table_.LastPlay.Assign(scratch_);
  table_.Turn = NextSeat(sender);
  TMove& move = table_.History.emplace_back();
  move.seat = static_cast<std::uint8_t>(sender);
  move.count = play.count;
  move.cards = play.cards;
  // The notice is the play as checked: nothing unchecked rides along.
  if (RewriteHeader(packet, MessageType::PlayNotice) == 0 && EncodePlayNotice(play, packet) == 0) {
    outbox_.SendToTable(table_, packet);
  }
  THandPoker& hand = table_.Players[seat].Hand;
  hand.RemoveSelected();
  if (hand.Count() > 0) {
    const SeatRecord turn{table_.Table, static_cast<std::uint8_t>(table_.Turn)};
    if (RewriteHeader(packet, MessageType::PlayTurn) == 0 && EncodePlayTurn(turn, packet) == 0) {
      outbox_.SendToTable(table_, packet);
    }
    table_.Status = TablePlaying;
    NextTurn();
    return 0;
  }
  FinishGame();
  return 0;
}

int TableGame::PassAt(int seat, Packet& packet) {
  if (table_.Status != TablePlaying) return 1;
  table_.Status = TablePlayBusy;

  SeatRecord pass;
  if (DecodePlayPass(pass, packet) != 0) return Refuse(TablePlaying);
  const auto sender = static_cast<std::uint32_t>(seat);
  if (pass.tableNumber != table_.Table || pass.seat != sender || table_.Turn != sender) {
    return Refuse(TablePlaying);
  }
  // The seat must lead: at the start of a game, or when the others all passed.
  if (table_.LastPlay.Count() == 0 || table_.LastPlayer == sender) return Refuse(TablePlaying);

  table_.Turn = NextSeat(sender);
  table_.History.push_back(TMove{.seat = static_cast<std::uint8_t>(sender)});
  PlayRecord notice;
  notice.tableNumber = table_.Table;
  notice.seat = static_cast<std::uint8_t>(sender);
  notice.count = 0;
  if (RewriteHeader(packet, MessageType::PlayNotice) == 0 &&
      EncodePlayNotice(notice, packet) == 0) {
    outbox_.SendToTable(table_, packet);
  }
  const SeatRecord turn{table_.Table, static_cast<std::uint8_t>(table_.Turn)};
  if (RewriteHeader(packet, MessageType::PlayTurn) == 0 && EncodePlayTurn(turn, packet) == 0) {
    outbox_.SendToTable(table_, packet);
  }
  table_.Status = TablePlaying;
  NextTurn();
  return 0;
}

void TableGame::FinishGame() {
  NextTurn();  // the game is over: no turn waits, no clock runs
  // Stored before its end is announced: a game any player saw end is kept,
  // whatever happens to the server next.
  if (store_ != nullptr) store_->Save(Record());
  GameEnd();
  TellGameEnd();
  HeroEntry();
  // A kept seat whose player did not come back is freed now; the table waits.
  if (FreeKeptSeats() > 0) return;
  table_.Status = TableDealing;
  StartGame();
}

int TableGame::GameEnd() {
  auto packet = NewPacketOfType(MessageType::GameEnd);
  if (!packet) return 1;
  GameEndRecord end;
  end.tableNumber = table_.Table;
  end.winner = static_cast<std::uint8_t>(table_.LastPlayer);
  ScoreGame();
  for (int seat = 0; seat < kSeatCount; ++seat) {
    TServerPlayer& player = table_.Players[seat];
    player.Rounds = AddWrapping(player.Rounds, 1);
    end.nameLength[seat] = static_cast<std::int32_t>(player.Name.size());
    end.name[seat] = player.Name;
    end.rounds[seat] = player.Rounds;
    end.score[seat] = player.Score;
    end.serviceIcon[seat] = player.ServiceIcon;
    end.headIcon[seat] = player.HeadIcon;
  }
  auto built = BuildPacket(MessageType::GameEnd, end);
  if (!built) return 1;
  outbox_.SendToTable(table_, *built);
  return 0;
}

std::array<std::int64_t, kSeatCount> TableGame::ScoreChanges() const {
  const std::int64_t points = table_.HighBid;
  const bool landlordWon = table_.LastPlayer == table_.Landlord;
  std::array<std::int64_t, kSeatCount> changes{};
  for (std::uint32_t seat = 0; seat < kSeatCount; ++seat) {
    const std::int64_t amount = seat == table_.Landlord ? 3 * points : points;
    const bool won = (seat == table_.Landlord) == landlordWon;
    changes[seat] = won ? amount : -amount;
  }
  return changes;
}

void TableGame::ScoreGame() {
  const auto changes = ScoreChanges();
  for (std::uint32_t seat = 0; seat < kSeatCount; ++seat) {
    TServerPlayer& player = table_.Players[seat];
    player.Score = AddWrapping(player.Score, changes[seat]);
  }
}

void TableGame::HeroEntry() {
  std::array<std::string, 1 + kSeatCount> lines;
  lines[0] = "****[Table=" + std::to_string(table_.Table) + "]" + log_.TimeNow() + "****";
  for (int seat = 0; seat < kSeatCount; ++seat) {
    const TServerPlayer& player = table_.Players[seat];
    lines[seat + 1] = "[" + NameForText(player.Name) + "][坐" + SeatNames[seat] +
                      "][总轮次=" + std::to_string(player.Rounds) +
                      "][得分=" + std::to_string(player.Score) + "]";
  }
  log_.HeroBlock(lines);
}

}  // namespace quarn::server
