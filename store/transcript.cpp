#include "store/transcript.h"

#include <array>
#include <ctime>

#include "core/gbk.h"
#include "core/tpoker.h"

namespace quarn::store {

namespace {

std::string NameText(const std::string& gbk) {
  std::string name = GbkToUtf8(gbk);
  for (char& c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  return name;
}

std::string UtcText(std::int64_t seconds) {
  const auto time = static_cast<std::time_t>(seconds);
  std::tm parts{};
  gmtime_r(&time, &parts);
  std::array<char, 32> text{};
  const std::size_t length =
      std::strftime(text.data(), text.size(), "%Y-%m-%d %H:%M:%S UTC", &parts);
  return {text.data(), length};
}

std::string SeatText(const GameRecord& game, int seat) {
  return std::string(SeatName(seat)) + "[" + NameText(game.names[seat % kSeats]) + "]";
}

std::string Signed(std::int64_t value) {
  return (value > 0 ? "+" : "") + std::to_string(value);
}

}  // namespace

const char* SeatName(int seat) {
  static constexpr std::array<const char*, kSeats> kNames = {"东", "北", "西", "南"};
  return kNames[static_cast<unsigned>(seat) % kSeats];
}

std::string CardsText(const std::vector<std::uint8_t>& cards) {
  std::string text;
  for (const std::uint8_t number : cards) {
    TPoker card;
    card.SetCard(number);
    if (!text.empty()) text += ' ';
    text += card.IsPresent() ? std::string(card.Name()) : "?";
  }
  return text;
}

std::string Transcript(const GameRecord& game, std::int64_t id) {
  std::string text = "game " + std::to_string(id) + ", table " + std::to_string(game.table) + ", " +
                     UtcText(game.finishedAt) + "\n";
  for (int seat = 0; seat < kSeats; ++seat) {
    text += "deal " + SeatText(game, seat) + ": " +
            CardsText({game.hands[seat].begin(), game.hands[seat].end()}) + "\n";
  }
  text += "bottom: " + CardsText({game.bottom.begin(), game.bottom.end()}) + "\n";
  text += "start card " + CardsText({game.startCard}) + ", first bid " +
          SeatText(game, game.startSeat) + "\n";
  for (const BidStep& bid : game.bids) {
    text += "bid " + SeatText(game, bid.seat) + ": " +
            (bid.points == 0 ? std::string("pass") : std::to_string(bid.points)) + "\n";
  }
  text += "landlord " + SeatText(game, game.landlord) + " for " + std::to_string(game.points) +
          " points\n";
  for (std::size_t i = 0; i < game.moves.size(); ++i) {
    const MoveStep& move = game.moves[i];
    text += std::to_string(i + 1) + ". " + SeatText(game, move.seat) + ": " +
            (move.cards.empty() ? std::string("pass") : CardsText(move.cards)) + "\n";
  }
  text += "out first: " + SeatText(game, game.winner) +
          (game.LandlordWon() ? ", landlord wins" : ", landlord loses") + "\n";
  for (int seat = 0; seat < kSeats; ++seat) {
    text += "score " + SeatText(game, seat) + " " + Signed(game.scoreChange[seat]) + "\n";
  }
  return text;
}

}  // namespace quarn::store
