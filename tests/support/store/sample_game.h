// A whole game that follows the rules, made from a seed: a shuffled deal, no
// bidding, and the landlord playing out single cards while the others pass.
#pragma once

#include <algorithm>
#include <numeric>
#include <random>
#include <string>

#include "store/game_record.h"

namespace quarn::store::testing {

inline GameRecord SampleGame(unsigned seed,
                             std::array<std::string, kSeats> names = {"a", "b", "c", "d"}) {
  std::mt19937 random(seed);
  std::array<std::uint8_t, 108> deck{};
  std::iota(deck.begin(), deck.end(), 1);
  std::shuffle(deck.begin(), deck.end(), random);
  GameRecord game;
  game.finishedAt = 1'800'000'000 + seed;
  game.table = static_cast<std::int32_t>(seed % 7 + 1);
  game.names = std::move(names);
  game.startSeat = game.landlord = game.winner = static_cast<std::uint8_t>(seed % kSeats);
  game.startCard = deck[game.startSeat];
  game.points = 10;
  for (int card = 0; card < kHandCards; ++card) {
    for (int seat = 0; seat < kSeats; ++seat) game.hands[seat][card] = deck[seat + card * kSeats];
  }
  std::copy(deck.end() - kBottomCards, deck.end(), game.bottom.begin());
  std::vector<std::uint8_t> cards(game.hands[game.landlord].begin(),
                                  game.hands[game.landlord].end());
  cards.insert(cards.end(), game.bottom.begin(), game.bottom.end());
  for (std::size_t i = 0; i < cards.size(); ++i) {
    game.moves.push_back({game.landlord, {cards[i]}});
    if (i + 1 == cards.size()) break;
    for (int other = 1; other < kSeats; ++other) {
      game.moves.push_back({static_cast<std::uint8_t>((game.landlord + other) % kSeats), {}});
    }
  }
  for (int seat = 0; seat < kSeats; ++seat)
    game.scoreChange[seat] = seat == game.landlord ? 30 : -10;
  return game;
}

}  // namespace quarn::store::testing
