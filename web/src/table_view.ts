// Draws the table from a snapshot: the three other seats with icon, name,
// cards left, landlord and 托管 marks, turn clock and last move; the cards on
// the table; the own hand with its raised cards and the keyboard cursor.
import { drawBack, drawCard, drawHead, drawService, fitCanvas } from './draw';
import { TableLayout, computeLayout, positionOf, spread, cardAt } from './layout';
import { GameState, Snapshot } from './quarn';
import { Texts } from './texts';

export interface Countdown {
  seat: number;
  leftMs: number;
}

export class TableView {
  private layout: TableLayout = computeLayout(800, 600);
  private handLefts: number[] = [];
  private handSlots: number[] = [];
  lordCard = 0;

  constructor(
    private readonly canvas: HTMLCanvasElement,
    private readonly texts: Texts,
  ) {}

  // The hand slot under a point of the canvas (CSS pixels), or -1.
  slotAt(x: number, y: number, snapshot: Snapshot): number {
    const { hand, raise, card } = this.layout;
    if (y < hand.y - raise || y > hand.y + card.h) return -1;
    const index = cardAt(this.handLefts, card.w, x);
    if (index < 0) return -1;
    const slot = this.handSlots[index] ?? -1;
    const entry = snapshot.hand[index];
    // A raised card is hit where it is drawn.
    if (entry && !entry[2] && y < hand.y) return -1;
    return slot;
  }

  // The hand slot nearest to x, for a drag that left the cards' height.
  slotNear(x: number): number {
    const index = cardAt(this.handLefts, this.layout.card.w, x);
    if (index >= 0) return this.handSlots[index] ?? -1;
    if (this.handLefts.length === 0) return -1;
    const first = this.handLefts[0] ?? 0;
    return x < first ? (this.handSlots[0] ?? -1) : (this.handSlots[this.handSlots.length - 1] ?? -1);
  }

  render(snapshot: Snapshot, countdown: Countdown | null, width: number, height: number, ratio: number): void {
    const ctx = fitCanvas(this.canvas, width, height, ratio);
    this.layout = computeLayout(width, height);
    ctx.fillStyle = '#1f6b3a';
    ctx.fillRect(0, 0, width, height);
    const seated = snapshot.state >= GameState.Seated;
    for (let seat = 0; seat < 4; seat++) {
      const position = positionOf(seat, snapshot.ownSeat);
      if (seated || position === 0) this.drawSeat(ctx, snapshot, seat, countdown);
    }
    this.drawCentre(ctx, snapshot);
    this.drawHand(ctx, snapshot);
  }

  private drawSeat(ctx: CanvasRenderingContext2D, s: Snapshot, seat: number, countdown: Countdown | null): void {
    const info = s.seats[seat];
    if (!info) return;
    const position = positionOf(seat, s.ownSeat);
    const box = this.layout.seats[position];
    const icon = Math.min(box.h * 0.8, 44);
    ctx.fillStyle = s.currentSeat === seat && s.state >= GameState.MyBid ? 'rgba(255,215,0,0.35)' : 'rgba(0,0,0,0.25)';
    ctx.fillRect(box.x, box.y, box.w, box.h);
    if (!info.name) return;
    drawHead(ctx, box.x + 4, box.y + 4, icon, info.icon);
    drawService(ctx, box.x + 4 + icon * 0.65, box.y + 4 + icon * 0.65, icon * 0.4, info.service);
    ctx.fillStyle = '#fff';
    ctx.textAlign = 'left';
    ctx.textBaseline = 'top';
    const font = Math.max(11, Math.min(15, box.h * 0.22));
    ctx.font = `${font}px sans-serif`;
    const textX = box.x + icon + 10;
    ctx.fillText(`${this.texts.seats[seat] ?? ''} ${info.name}`, textX, box.y + 4, box.w - icon - 14);
    if (position !== 0 && info.count > 0) {
      const bw = font * 1.2;
      drawBack(ctx, textX, box.y + font + 8, bw, bw * 1.4);
      ctx.fillStyle = '#fff';
      ctx.fillText(`${info.count}${this.texts.cardsLeft}`, textX + bw + 4, box.y + font + 12);
    }
    let markX = box.x + box.w - 4;
    const mark = (text: string, color: string) => {
      ctx.font = `bold ${font}px sans-serif`;
      const w = ctx.measureText(text).width + 6;
      markX -= w;
      ctx.fillStyle = color;
      ctx.fillRect(markX, box.y + box.h - font - 8, w, font + 4);
      ctx.fillStyle = '#fff';
      ctx.fillText(text, markX + 3, box.y + box.h - font - 6);
      markX -= 3;
    };
    if (info.lord) mark(this.texts.landlord, '#b8860b');
    if (info.control !== 0) mark(this.texts.autoMark, '#6a1b9a');
    if (countdown && countdown.seat === seat) {
      const seconds = Math.ceil(Math.max(0, countdown.leftMs) / 1000);
      mark(String(seconds), countdown.leftMs <= 5000 ? '#a00000' : '#333');
    }
    this.drawMove(ctx, s, seat, position);
  }

  private drawMove(ctx: CanvasRenderingContext2D, s: Snapshot, seat: number, position: number): void {
    const info = s.seats[seat];
    const area = this.layout.moves[position as 0 | 1 | 2 | 3];
    if (!info || !info.acted) return;
    const { w, h } = this.layout.small;
    if (info.cards.length === 0) {
      ctx.fillStyle = '#ffe082';
      ctx.font = `bold ${Math.round(h * 0.35)}px sans-serif`;
      ctx.textAlign = 'center';
      ctx.textBaseline = 'middle';
      ctx.fillText(this.texts.passMark, area.x + area.w / 2, area.y + h / 2);
      return;
    }
    const lefts = spread(info.cards.length, area, w, w * 0.45);
    info.cards.forEach((card, i) => drawCard(ctx, lefts[i] ?? area.x, area.y, w, h, card));
  }

  // Where a passing note may end, in CSS pixels from the canvas top: just
  // above the table's caption, clear of every seat and of the hand.
  noteBottom(): number {
    return this.captionY() - this.captionSize() / 2 - 6;
  }

  private captionSize(): number {
    return Math.max(12, Math.round(this.layout.small.h * 0.25));
  }

  // The middle of the caption's line, near the foot of the centre.
  private captionY(): number {
    const { centre } = this.layout;
    return centre.y + centre.h - 10;
  }

  private drawCentre(ctx: CanvasRenderingContext2D, s: Snapshot): void {
    const { centre, small } = this.layout;
    ctx.textAlign = 'center';
    ctx.textBaseline = 'middle';
    ctx.fillStyle = '#e8f5e9';
    ctx.font = `${this.captionSize()}px sans-serif`;
    if (s.tableCaption) ctx.fillText(s.tableCaption, centre.x + centre.w / 2, this.captionY(), centre.w);
    if (this.lordCard > 0 && s.state >= GameState.AwaitDeal) {
      drawCard(ctx, centre.x + centre.w - small.w, centre.y, small.w, small.h, this.lordCard);
    }
  }

  private drawHand(ctx: CanvasRenderingContext2D, s: Snapshot): void {
    const { hand, card, raise } = this.layout;
    this.handLefts = spread(s.hand.length, hand, card.w, card.w * 0.42);
    this.handSlots = s.hand.map(([slot]) => slot);
    s.hand.forEach(([slot, number, raised], i) => {
      const x = this.handLefts[i] ?? hand.x;
      drawCard(ctx, x, hand.y - (raised ? raise : 0), card.w, card.h, number, raised);
      if (slot === s.cursor) {
        ctx.strokeStyle = '#ffeb3b';
        ctx.lineWidth = 3;
        ctx.strokeRect(x + 1, hand.y - (raised ? raise : 0) + 1, card.w - 2, card.h - 2);
      }
    });
  }
}
