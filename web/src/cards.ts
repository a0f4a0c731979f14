// Card numbers as the C++ core has them: 1..108, n and n + 54 the same face;
// within a deck four numbers per rank (3 .. 2), then the two jokers.
export const SMALL_JOKER = 53;
export const BIG_JOKER = 54;
export const RANK_LABELS = ['', '3', '4', '5', '6', '7', '8', '9', '10', 'J', 'Q', 'K', 'A', '2', '小王', '大王'];

export function foldCard(card: number): number {
  if (card < 1 || card > 108) return 0;
  return card > 54 ? card - 54 : card;
}

// 1 = "3" .. 13 = "2", 14 small joker, 15 big joker; 0 for no card.
export function rankOf(card: number): number {
  const m = foldCard(card);
  if (m === 0) return 0;
  if (m === SMALL_JOKER) return 14;
  if (m === BIG_JOKER) return 15;
  return Math.floor((m - 1) / 4) + 1;
}

// 0 diamonds, 1 clubs, 2 hearts, 3 spades, 4 joker, 5 no card.
export function suitOf(card: number): number {
  const m = foldCard(card);
  if (m === 0) return 5;
  if (m > 52) return 4;
  return (m - 1) % 4;
}

export function isRed(card: number): boolean {
  const suit = suitOf(card);
  return suit === 0 || suit === 2 || foldCard(card) === BIG_JOKER;
}
