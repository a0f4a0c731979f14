#include "ai/strategy.h"

#include <algorithm>
#include <limits>

#include "ai/candidates.h"

namespace quarn::ai {
namespace {

// Seen from the plan: fewer combinations left means fewer turns to go out.
constexpr int kCostPerPlannedPlay = 10;
constexpr int kRankAce = 12;
constexpr int kRankTwo = 13;

bool TouchesBomb(const RankCounts& hand, const RankCounts& play) {
  for (int r = 1; r <= kRankTwo; ++r) {
    if (play[r] > 0 && hand[r] >= 4) return true;
  }
  bool kings = hand[kRankSmallJoker] == 2 && hand[kRankBigJoker] == 2;
  return kings && (play[kRankSmallJoker] > 0 || play[kRankBigJoker] > 0);
}

RankCounts Minus(const RankCounts& hand, const RankCounts& play) {
  RankCounts rest = hand;
  for (std::size_t r = 0; r < rest.size(); ++r)
    rest[r] = static_cast<std::uint8_t>(rest[r] - play[r]);
  return rest;
}

// How much a play costs the rest of the hand: the combinations left to play,
// then the strength given away.
int FollowCost(const RankCounts& hand, const PlannedPlay& play) {
  auto left = static_cast<int>(SplitHand(Minus(hand, play.cards)).size());
  return left * kCostPerPlannedPlay + play.combo.key;
}

bool BombIsWorthIt(const RankCounts& hand, const PlannedPlay& bomb, const TableSituation& s) {
  return BombWorthIt(s.tableOwnerCards, s.fewestEnemyCards, CardTotal(hand) - bomb.combo.count);
}

const PlannedPlay* Cheapest(const std::vector<const PlannedPlay*>& plays, const RankCounts& hand) {
  const PlannedPlay* best = nullptr;
  int bestCost = std::numeric_limits<int>::max();
  for (const PlannedPlay* play : plays) {
    int cost = FollowCost(hand, *play);
    if (cost < bestCost) {
      bestCost = cost;
      best = play;
    }
  }
  return best;
}

double HandPoints(const RankCounts& hand) {
  double points = 3.0 * hand[kRankBigJoker] + 2.0 * hand[kRankSmallJoker] + 1.0 * hand[kRankTwo] +
                  0.5 * hand[kRankAce];
  for (int r = 1; r <= kRankTwo; ++r) {
    if (hand[r] >= 4) points += 2.0 + (hand[r] - 4);
  }
  if (hand[kRankSmallJoker] == 2 && hand[kRankBigJoker] == 2) points += 3.0;
  // A hand in many pieces takes many turns to go out.
  auto pieces = static_cast<double>(SplitHand(hand).size());
  return points - 0.5 * std::max(0.0, pieces - 10.0);
}

// The lowest `width` cards of one rank that no bomb needs, as a play.
std::optional<PlannedPlay> LowestOfWidth(const RankCounts& hand, int width) {
  for (int r = 1; r <= kMaxRank; ++r) {
    if (hand[r] < width || hand[r] >= 4) continue;
    RankCounts cards{};
    cards[r] = static_cast<std::uint8_t>(width);
    return PlannedPlay{cards, ClassifyCounts(cards, width)};
  }
  return std::nullopt;
}

// A partner's low single or pair with the landlord to play next is cheap for
// the landlord to beat: top it with a high one that the hand can spare whole.
std::optional<PlannedPlay> TopPartner(const RankCounts& hand, const std::vector<PlannedPlay>& plays,
                                      const TableSituation& s) {
  constexpr int kLowKey = 8;    // up to the 10s
  constexpr int kHighKey = 10;  // the queens and up
  const bool small = s.table.type == CombinationType::Single ||
                     (s.table.type == CombinationType::Rocket && s.table.count == 2);
  if (!s.landlordPlaysNext || !small || s.table.key > kLowKey) return std::nullopt;
  const auto pieces = static_cast<int>(SplitHand(hand).size());
  for (const PlannedPlay& play : plays) {
    if (IsBomb(play.combo) || play.combo.key < kHighKey) continue;
    if (static_cast<int>(SplitHand(Minus(hand, play.cards)).size()) < pieces) return play;
  }
  return std::nullopt;
}

}  // namespace

bool BombWorthIt(int ownerCards, int fewestEnemyCards, int cardsLeftAfter) {
  // Against the play of an opponent with this few cards left, when any
  // opponent is this close to going out, or when the bot itself is this close
  // after the bomb.
  constexpr int kBombWhenOwnerHolds = 8;
  constexpr int kBombWhenEnemyHolds = 5;
  constexpr int kBombWhenLeftAfter = 8;
  return ownerCards <= kBombWhenOwnerHolds || fewestEnemyCards <= kBombWhenEnemyHolds ||
         cardsLeftAfter <= kBombWhenLeftAfter;
}

int HandWorth(const RankCounts& hand, double boldness) {
  // With 33 cards and the lead, a landlord among these players wins about six
  // games in ten (and takes three times the points), so a middling hand is
  // already worth a small bid.
  static constexpr std::array<double, kBidSteps.size()> kThresholds = {5.5, 7.0, 8.5, 10.5};
  const double points = HandPoints(hand) + boldness;
  int worth = 0;
  for (std::size_t i = 0; i < kThresholds.size(); ++i) {
    if (points >= kThresholds[i]) worth = kBidSteps[i];
  }
  return worth;
}

int ChooseBid(const RankCounts& hand, int highBid, double boldness) {
  int worth = HandWorth(hand, boldness);
  return worth > highBid ? worth : 0;
}

PlannedPlay ChooseLead(const RankCounts& hand, int fewestEnemyCards, int fewestPartnerCards) {
  Combination whole = ClassifyCounts(hand, CardTotal(hand));
  if (whole.type != CombinationType::Unknown) return {hand, whole};
  if (fewestPartnerCards >= 1 && fewestPartnerCards <= 2 && fewestPartnerCards < fewestEnemyCards) {
    if (auto feed = LowestOfWidth(hand, fewestPartnerCards)) return *feed;
  }

  std::vector<PlannedPlay> plan = SplitHand(hand);
  std::vector<PlannedPlay> bombs;
  std::vector<PlannedPlay> others;
  for (PlannedPlay& play : plan) (IsBomb(play.combo) ? bombs : others).push_back(play);
  if (others.empty()) return *std::min_element(bombs.begin(), bombs.end(), CheaperBomb);

  // An opponent about to go out with one card: keep singles back, and lead
  // the strongest single when nothing else is left.
  const bool guardSingles = fewestEnemyCards == 1;
  auto isSingle = [](const PlannedPlay& p) { return p.combo.type == CombinationType::Single; };
  if (guardSingles && std::all_of(others.begin(), others.end(), isSingle)) {
    return *std::max_element(others.begin(), others.end(), [](const auto& a, const auto& b) {
      return a.combo.key < b.combo.key;
    });
  }
  auto weaker = [&](const PlannedPlay& a, const PlannedPlay& b) {
    if (guardSingles && isSingle(a) != isSingle(b)) return !isSingle(a);
    if (a.combo.key != b.combo.key) return a.combo.key < b.combo.key;
    return a.combo.count > b.combo.count;  // the same strength: shed more cards
  };
  return *std::min_element(others.begin(), others.end(), weaker);
}

std::optional<PlannedPlay> ChooseFollow(const RankCounts& hand, const TableSituation& s) {
  std::vector<PlannedPlay> plays = PlaysThatBeat(hand, s.table);
  const int total = CardTotal(hand);
  for (const PlannedPlay& play : plays) {
    if (play.combo.count == total) return play;  // going out wins for the side
  }
  if (s.tableIsPartner) return TopPartner(hand, plays, s);

  std::vector<const PlannedPlay*> ordinary;
  std::vector<const PlannedPlay*> breaking;
  std::vector<const PlannedPlay*> bombs;
  for (const PlannedPlay& play : plays) {
    if (IsBomb(play.combo)) {
      bombs.push_back(&play);
    } else {
      (TouchesBomb(hand, play.cards) ? breaking : ordinary).push_back(&play);
    }
  }
  if (const PlannedPlay* best = Cheapest(ordinary, hand)) return *best;

  std::sort(bombs.begin(), bombs.end(),
            [](const PlannedPlay* a, const PlannedPlay* b) { return CheaperBomb(*a, *b); });
  for (const PlannedPlay* bomb : bombs) {
    if (BombIsWorthIt(hand, *bomb, s)) return *bomb;
    break;  // the cheapest bomb decides; dearer ones are not more worth it
  }
  const PlannedPlay* split = Cheapest(breaking, hand);
  if (split && BombIsWorthIt(hand, *split, s)) return *split;
  return std::nullopt;
}

std::optional<PlannedPlay> ChoosePlay(const RankCounts& hand, const TableSituation& s) {
  if (CardTotal(hand) == 0) return std::nullopt;
  if (s.table.count == 0) return ChooseLead(hand, s.fewestEnemyCards, s.fewestPartnerCards);
  return ChooseFollow(hand, s);
}

}  // namespace quarn::ai
