// Where everything sits on the table canvas, for any size from a phone in
// portrait to a desktop window. Pure arithmetic, tested without a browser.
export interface Rect {
  x: number;
  y: number;
  w: number;
  h: number;
}

// Screen positions: 0 the own seat (bottom), 1 right, 2 top, 3 left.
export type Position = 0 | 1 | 2 | 3;

export interface TableLayout {
  card: { w: number; h: number };
  small: { w: number; h: number }; // the other seats' moves and the table
  hand: Rect; // where the own hand lies; raised cards go up by `raise`
  raise: number;
  seats: [Rect, Rect, Rect, Rect]; // by position: icon, name and count box
  moves: [Rect, Rect, Rect, Rect]; // by position: the seat's last move
  centre: Rect;
}

export function positionOf(seat: number, ownSeat: number): Position {
  return (((seat - ownSeat) % 4) + 4) % 4 as Position;
}

export function computeLayout(width: number, height: number): TableLayout {
  const portrait = height > width * 1.2;
  // The hand of up to 33 cards must fit across; a card shows a strip of 40%.
  const cardW = Math.max(34, Math.min(86, portrait ? width / 7.2 : Math.min(width / 12, height / 7)));
  const cardH = Math.round(cardW * 1.4);
  const smallW = Math.round(cardW * 0.62);
  const small = { w: smallW, h: Math.round(smallW * 1.4) };
  const raise = Math.round(cardH * 0.22);
  const pad = Math.max(6, Math.round(width * 0.012));
  const hand: Rect = { x: pad, y: height - cardH - pad, w: width - 2 * pad, h: cardH };
  const seatW = Math.min(portrait ? width * 0.3 : 150, 170);
  const seatH = Math.round(seatW * 0.55);
  const sideY = portrait ? height * 0.28 : height * 0.3;
  const seats: [Rect, Rect, Rect, Rect] = [
    { x: pad, y: hand.y - raise - seatH - pad, w: seatW, h: seatH },
    { x: width - seatW - pad, y: sideY, w: seatW, h: seatH },
    { x: (width - seatW) / 2, y: pad, w: seatW, h: seatH },
    { x: pad, y: sideY, w: seatW, h: seatH },
  ];
  const moveH = small.h;
  const moves: [Rect, Rect, Rect, Rect] = [
    { x: width * 0.25, y: hand.y - raise - moveH - pad, w: width * 0.5, h: moveH },
    { x: width * (portrait ? 0.4 : 0.55), y: sideY + seatH + pad, w: width * (portrait ? 0.56 : 0.4) - pad, h: moveH },
    { x: width * 0.2, y: pad + seatH + pad, w: width * 0.6, h: moveH },
    { x: pad, y: sideY + seatH + pad, w: width * (portrait ? 0.56 : 0.4), h: moveH },
  ];
  const top = moves[2].y + moveH + pad;
  const bottom = moves[0].y - pad;
  const centre: Rect = { x: width * 0.2, y: top, w: width * 0.6, h: Math.max(small.h, bottom - top) };
  return { card: { w: cardW, h: cardH }, small, hand, raise, seats, moves, centre };
}

// The left edge of each of `count` cards laid in `area`, centred, each
// showing at most `step` of itself and no less than what fits.
export function spread(count: number, area: Rect, cardW: number, maxStep: number): number[] {
  if (count <= 0) return [];
  const step = count > 1 ? Math.min(maxStep, (area.w - cardW) / (count - 1)) : 0;
  const total = cardW + step * (count - 1);
  const start = area.x + Math.max(0, (area.w - total) / 2);
  return Array.from({ length: count }, (_, i) => start + i * step);
}

// Which of the laid cards is under x: later cards lie on top of earlier ones.
export function cardAt(lefts: readonly number[], cardW: number, x: number): number {
  for (let i = lefts.length - 1; i >= 0; i--) {
    const left = lefts[i];
    if (left !== undefined && x >= left && x < left + cardW) return i;
  }
  return -1;
}
