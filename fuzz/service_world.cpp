#include "fuzz/service_world.h"

#include <algorithm>
#include <variant>

#include "core/combination.h"
#include "core/tpoker.h"
#include "fuzz/service_input.h"
#include "protocol/any_message.h"
#include "protocol/byte_order.h"

namespace quarn::fuzz {

using namespace server;

namespace {

std::int32_t TableNumberOf(const MessageBody& body) {
  return std::visit(
      [](const auto& record) -> std::int32_t {
        if constexpr (requires { record.tableNumber; }) {
          return record.tableNumber;
        } else {
          return -999;
        }
      },
      body);
}

bool Holds(const THandPoker& hand, std::uint8_t card) {
  const auto cards = hand.Cards();
  return std::any_of(cards.begin(), cards.end(),
                     [card](const TPoker& held) { return held.Number() == FoldCard(card); });
}

// The seat a record names, for the messages meant for one seat alone.
int OwnSeatOf(const MessageBody& body) {
  if (const auto* deal = std::get_if<DealRecord>(&body)) return deal->seat;
  if (const auto* state = std::get_if<TableStateRecord>(&body)) return state->seat;
  return -1;
}

}  // namespace

std::vector<ConnectionId> ServiceWorld::TakeClosing() {
  std::vector<ConnectionId> closing;
  closing.swap(closing_);
  return closing;
}

SeatAt ServiceWorld::SeatOf(ConnectionId id) const {
  for (std::uint32_t number = 1; number <= app_->TableCount(); ++number) {
    const TServerTable* table = app_->Table(static_cast<std::int32_t>(number));
    if (table == nullptr) continue;
    for (std::uint32_t seat = 0; seat < kSeatCount; ++seat) {
      if (table->Players[seat].Socket == id) return {table, seat};
    }
  }
  return {};
}

std::size_t ServiceWorld::TakeSends() {
  sent.clear();  // the timers' marks
  const std::size_t sends = sends_;
  sends_ = 0;
  return sends;
}

int ServiceWorld::Send(ConnectionId connection, std::span<const std::uint8_t> bytes) {
  CheckSend(connection, bytes);
  ++sends_;
  return static_cast<int>(bytes.size());
}

void ServiceWorld::Close(ConnectionId connection) {
  if (open_.erase(connection) > 0) closing_.push_back(connection);
}

std::tm ServiceWorld::LocalTime() {
  // 2026-12-20 14:40:34, as the fake host starts, plus the elapsed time.
  constexpr std::time_t kStart = 1797777634;
  const std::time_t now = kStart + std::chrono::floor<std::chrono::seconds>(elapsed).count();
  std::tm time{};
  gmtime_r(&now, &time);
  return time;
}

bool ServiceWorld::CheckedLobbySend(ConnectionId connection, MessageType type,
                                    const Packet& packet) {
  const bool answer = type == MessageType::LobbyLine || type == MessageType::WatchReply;
  const auto watched = watching_.find(connection);
  if (!answer && watched == watching_.end()) return false;
  const auto decoded = DecodeMessage(packet);
  Require(decoded.has_value(), "every send decodes");
  // Anyone may ask for the lobby, a seated player too; only watchers never sit.
  const bool lobbyAnswer = type == MessageType::LobbyLine;
  Require(lobbyAnswer || SeatOf(connection).table == nullptr, "a watcher never sits");
  if (const auto* reply = std::get_if<WatchReplyRecord>(&decoded->body)) {
    Require(watched == watching_.end(), "a watcher is answered once");
    if (reply->result == WatchResult::Watching) watching_[connection] = reply->tableNumber;
  } else if (!answer) {
    Require(TableNumberOf(decoded->body) == watched->second, "a watcher hears its own table");
    Require(type != MessageType::DealCards && type != MessageType::ExtraCards &&
                type != MessageType::TableState && type != MessageType::LoginReply,
            "a watcher is never sent a card that is not public");
  }
  return true;
}

void ServiceWorld::CheckSend(ConnectionId connection, std::span<const std::uint8_t> bytes) {
  Require(IsOpen(connection), "a send goes only to an open connection");
  const Packet packet = PacketFromBytes(bytes);
  const MessageInfo* info = FindMessage(packet.RawType());
  Require(info != nullptr && info->direction == Direction::ServerToClient &&
              bytes.size() == info->length,
          "the server sends whole messages of its own");
  if (CheckedLobbySend(connection, info->type, packet)) return;
  const SeatAt at = SeatOf(connection);
  if (info->type == MessageType::LoginReply) {
    const std::int32_t table = wire::GetI32(packet, 164);
    const std::uint8_t seat = packet.bytes[168];
    if (at.table == nullptr) {
      Require(table == RefusedTable && seat == RefusedSeat,
              "a stranger hears nothing but the refusal form");
    } else {
      Require(table == at.table->Table && seat == at.seat, "a login answer names the seat taken");
    }
    told_.erase(connection);
    return;
  }
  Require(at.table != nullptr, "a stranger hears nothing but a login answer");
  const TServerTable& table = *at.table;
  const auto decoded = DecodeMessage(packet);
  Require(decoded.has_value(), "every send decodes");
  Require(TableNumberOf(decoded->body) == table.Table, "a send names its connection's table");
  const int own = OwnSeatOf(decoded->body);
  if (info->type == MessageType::DealCards || info->type == MessageType::ExtraCards ||
      info->type == MessageType::TableState) {
    Require(own == static_cast<int>(at.seat), "a seat's cards go to that seat alone");
  }
  if (const auto* deal = std::get_if<DealRecord>(&decoded->body)) {
    // Dealt and bottom cards are the ones the seat holds, the start card one
    // the starting seat holds.
    const bool start = info->type == MessageType::StartCardNotice;
    const THandPoker& hand = table.Players[start ? table.StartSeat() : at.seat].Hand;
    for (std::size_t i = 0; i < deal->count; ++i) {
      Require(Holds(hand, deal->cards[i]), "a seat is told the cards it holds");
    }
    Require(!start || deal->cards[0] == table.StartCard, "the start card is the one drawn");
  }
  if (const auto* play = std::get_if<PlayRecord>(&decoded->body); play && play->count > 0) {
    const Combination combo = CombinationOf(*play);
    Require(combo.count > 0 && play->comboType == static_cast<std::uint8_t>(combo.type) &&
                play->keyRank == combo.key,
            "a notice tells the play as it is");
  }
  Tell(connection, info->type, decoded->body, at.seat);
  if (const auto* clock = std::get_if<TurnClockRecord>(&decoded->body)) {
    Require(clock->seat == table.Turn && clock->leftMs <= clock->turnMs,
            "the clock runs for the seat to move");
  }
  if (const auto* end = std::get_if<GameEndRecord>(&decoded->body)) {
    Require(end->winner == table.LastPlayer && table.Players[end->winner].Hand.Count() == 0,
            "the winner laid all its cards");
    for (std::uint32_t seat = 0; seat < kSeatCount; ++seat) {
      Require(end->score[seat] == table.Players[seat].Score &&
                  end->rounds[seat] == table.Players[seat].Rounds,
              "the game's end tells the scores kept");
    }
  }
}

void ServiceWorld::Tell(ConnectionId connection, MessageType type, const MessageBody& body,
                        std::uint32_t seat) {
  FaceCounts& told = told_[connection];
  const auto add = [&told](int card) { ++told[static_cast<std::size_t>(FoldCard(card))]; };
  if (const auto* deal = std::get_if<DealRecord>(&body)) {
    if (type == MessageType::StartCardNotice) return;
    if (type == MessageType::DealCards) told.fill(0);
    for (std::size_t i = 0; i < deal->count; ++i) add(deal->cards[i]);
  } else if (const auto* state = std::get_if<TableStateRecord>(&body)) {
    told.fill(0);
    for (std::size_t i = 0; i < state->handCount; ++i) add(state->hand[i]);
  } else if (const auto* play = std::get_if<PlayRecord>(&body);
             play != nullptr && type == MessageType::PlayNotice && play->seat == seat) {
    for (std::size_t i = 0; i < play->count; ++i) {
      std::uint8_t& count = told[static_cast<std::size_t>(FoldCard(play->cards[i]))];
      Require(count > 0, "a seat lays only cards it was told it holds");
      --count;
    }
  }
}

void ServiceWorld::HeroLineAdded(std::string_view line) {
  constexpr std::string_view kHeader = "****[Table=";
  if (!line.starts_with(kHeader)) return;
  const std::int32_t number = std::atoi(std::string(line.substr(kHeader.size())).c_str());
  const TServerTable* table = app_->Table(number);
  Require(table != nullptr, "a hero block names a table in use");
  CheckScores(*table);
}

void ServiceWorld::CheckScores(const TServerTable& table) {
  Require(table.Players[table.LastPlayer].Hand.Count() == 0, "a game ends when a hand is empty");
  const std::uint32_t points = table.HighBid;
  const bool landlordWon = table.LastPlayer == table.Landlord;
  auto& scored = scored_[table.Table];
  std::uint32_t sum = 0;
  for (std::uint32_t seat = 0; seat < kSeatCount; ++seat) {
    const TServerPlayer& player = table.Players[seat];
    const auto [id, score] = scored[seat];
    const std::int32_t before = id == player.Id ? score : 0;
    // Scores wrap as 32-bit numbers: compare them so.
    const std::uint32_t moved =
        static_cast<std::uint32_t>(player.Score) - static_cast<std::uint32_t>(before);
    const std::uint32_t amount = seat == table.Landlord ? 3 * points : points;
    const bool won = (seat == table.Landlord) == landlordWon;
    Require(moved == (won ? amount : 0u - amount), "a game moves P per seat, 3P for the landlord");
    sum += moved;
    scored[seat] = {player.Id, player.Score};
  }
  Require(sum == 0, "a game's scores sum to zero");
  ++games_;
}

void ServiceWorld::CheckTables() const {
  for (std::uint32_t number = 1; number <= app_->TableCount(); ++number) {
    const TServerTable* table = app_->Table(static_cast<std::int32_t>(number));
    if (table == nullptr) continue;
    const TServerTable& t = *table;
    Require(t.Table == static_cast<std::int32_t>(number), "a table knows its number");
    std::uint32_t taken = 0;
    for (std::uint32_t seat = 0; seat < kSeatCount; ++seat) {
      const TServerPlayer& player = t.Players[seat];
      if (!player.Taken()) {
        Require(player.Socket == kNoConnection, "a free seat holds no connection");
        continue;
      }
      ++taken;
      if (player.Socket == kNoConnection) {
        Require(t.KeepSeats && t.Status >= TableDealing, "a seat is kept only in a game");
        continue;
      }
      Require(IsOpen(player.Socket), "a seat holds an open connection");
      const SeatAt at = SeatOf(player.Socket);
      Require(at.table == &t && at.seat == seat, "a connection holds one seat");
    }
    Require(taken == t.Count, "the count is the seats taken");
    Require(t.Status != TableBidBusy && t.Status != TablePlayBusy,
            "a handler leaves its busy state");
    if (t.Status == TableWaiting) Require(t.Count < kSeatCount, "a full table does not wait");
    if (t.Status >= TableDealing) {
      Require(t.Count == kSeatCount, "a game has four seats");
      CheckGame(t);
    }
  }
}

void ServiceWorld::CheckGame(const TServerTable& t) const {
  // Every face of the two decks twice: in a hand, laid this game, or in the
  // bottom cards not yet given to the landlord.
  std::array<int, 55> faces{};
  const auto count = [&faces](int card) {
    Require(FoldCard(card) != 0, "only cards are dealt and laid");
    ++faces[static_cast<std::size_t>(FoldCard(card))];
  };
  for (const TServerPlayer& player : t.Players) {
    for (const TPoker& card : player.Hand.Cards()) {
      if (card.IsPresent()) count(card.Number());
    }
  }
  for (const TMove& move : t.History) {
    for (int i = 0; i < move.count; ++i) count(move.cards[static_cast<std::size_t>(i)]);
  }
  const bool bottomGiven = t.Status == TablePlaying;
  if (!bottomGiven) {
    for (int i = kDealtCards; i < kDeckCards; ++i) count(t.Deck[static_cast<std::size_t>(i)]);
  }
  for (std::size_t face = 1; face < faces.size(); ++face) {
    Require(faces[face] == 2, "each of the 108 cards is in one place");
  }
  Require(t.Turn < kSeatCount && t.Landlord < kSeatCount, "a turn names a seat");
  if (t.Status == TableBidding || t.Status == TablePlaying) {
    for (const TServerPlayer& player : t.Players) {
      if (player.Socket == kNoConnection) continue;
      FaceCounts held{};
      for (const TPoker& card : player.Hand.Cards()) {
        if (card.IsPresent()) ++held[static_cast<std::size_t>(card.Number())];
      }
      const auto told = told_.find(player.Socket);
      Require(told != told_.end() && told->second == held, "a seat in play knows its own cards");
    }
  }
  if (!bottomGiven) {
    Require(t.History.empty(), "nothing is laid before the landlord is known");
    return;
  }
  // The moves go round the table from the landlord; a seat leads after the
  // three others passed, and only the seat to move moves.
  int leader = -1;
  std::uint32_t next = t.Landlord;
  for (const TMove& move : t.History) {
    Require(move.seat == next, "the seats move in turn");
    Require(move.count > 0 || (leader >= 0 && leader != move.seat), "a seat that leads lays cards");
    if (move.count > 0) leader = move.seat;
    next = NextSeat(move.seat);
  }
  Require(t.Turn == next, "the turn is the seat after the last move");
  for (const TServerPlayer& player : t.Players) {
    Require(player.Hand.Count() > 0, "a game with an empty hand is over");
  }
}

std::string ServiceWorld::Fingerprint() const {
  std::string print;
  for (std::uint32_t number = 1; number <= app_->TableCount(); ++number) {
    const TServerTable* t = app_->Table(static_cast<std::int32_t>(number));
    if (t == nullptr) continue;
    for (const auto value :
         {static_cast<std::int64_t>(t->Status), std::int64_t{t->Count}, std::int64_t{t->Turn},
          std::int64_t{t->Landlord}, std::int64_t{t->HighBid}, std::int64_t(t->History.size())}) {
      print += std::to_string(value) + ",";
    }
    for (const TServerPlayer& p : t->Players) {
      for (const auto value :
           {std::int64_t{p.Id}, std::int64_t{p.Socket}, std::int64_t{p.Hand.Count()},
            std::int64_t{p.Score}, std::int64_t{p.HeadIcon}, std::int64_t{p.ServiceIcon},
            static_cast<std::int64_t>(p.Control), std::int64_t{p.Bid}}) {
        print += std::to_string(value) + ",";
      }
      print += p.Name + ";";
    }
  }
  return print;
}

}  // namespace quarn::fuzz
