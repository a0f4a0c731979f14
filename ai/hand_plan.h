// How the computer player means to get rid of its hand: the hand split into
// the combinations it would lead one after another, bombs kept apart.
#pragma once

#include <vector>

#include "core/combination.h"

namespace quarn::ai {

// Cards of one combination, counted by rank value, with what they make.
struct PlannedPlay {
  RankCounts cards{};
  Combination combo;
};

// Number of cards counted in `counts`.
int CardTotal(const RankCounts& counts);

// Whether `combo` is a bomb of either kind.
bool IsBomb(const Combination& combo);

// Splits a hand greedily: the four jokers, bombs, runs of triples (with pairs
// attached as planes where the hand has spare pairs), runs of three or more
// pairs, then the remaining triples, pairs and singles. Every entry is a legal
// combination and together they hold exactly the hand's cards.
std::vector<PlannedPlay> SplitHand(const RankCounts& hand);

// Bombs compare by size first: true when `a` is the cheaper one to give up.
bool CheaperBomb(const PlannedPlay& a, const PlannedPlay& b);

}  // namespace quarn::ai
