// The computer player's choices: how much to bid, what to lead, whether and
// with what to follow. Works on cards counted by rank value; suits never matter.
#pragma once

#include <array>
#include <optional>

#include "ai/hand_plan.h"
#include "core/combination.h"

namespace quarn::ai {

// Bids the bot is willing to make, from a hand of 25 cards; 0 means pass.
inline constexpr std::array<int, 4> kBidSteps = {10, 15, 20, 30};

// The highest bid this hand is worth (0: not worth being the landlord). A
// player that plays the landlord's hand better counts its hand `boldness`
// points stronger.
int HandWorth(const RankCounts& hand, double boldness = 0);
// The bid to send when the high bid so far is `highBid`: the hand's worth when
// it tops the high bid, else 0 (a bid that does not top it would not count).
int ChooseBid(const RankCounts& hand, int highBid, double boldness = 0);

// What the bot can see of the others when it is its turn.
struct TableSituation {
  Combination table;               // combination to beat; count 0: lead freely
  bool tableIsPartner = false;     // the table combination was laid by a partner
  int tableOwnerCards = 0;         // cards still held by the seat that laid it
  int fewestEnemyCards = 33;       // fewest cards held by any opponent
  int fewestPartnerCards = 33;     // fewest cards held by a partner (33: none)
  bool landlordPlaysNext = false;  // the landlord is the seat after this one
};

// Whether a bomb is worth laying on a play of an opponent holding
// `ownerCards`, with `cardsLeftAfter` cards in hand after it.
bool BombWorthIt(int ownerCards, int fewestEnemyCards, int cardsLeftAfter);

// Leads: the whole hand when it is one combination; otherwise the weakest
// combination of the plan, bombs last. Against an opponent down to one card,
// singles go last and then from the top. A partner down to one or two cards
// (and closer to going out than any opponent) is fed the lowest single or pair.
PlannedPlay ChooseLead(const RankCounts& hand, int fewestEnemyCards, int fewestPartnerCards = 33);

// Follows: the cheapest combination that beats the table, breaking up as
// little of the hand as it can; bombs only when it matters. A partner's play
// is left alone unless the bot can go out, or unless it is a low single or
// pair with the landlord to play next: then a high one the hand can spare
// tops it. Empty: pass.
std::optional<PlannedPlay> ChooseFollow(const RankCounts& hand, const TableSituation& situation);

// Either of the two, as the situation asks.
std::optional<PlannedPlay> ChoosePlay(const RankCounts& hand, const TableSituation& situation);

}  // namespace quarn::ai
