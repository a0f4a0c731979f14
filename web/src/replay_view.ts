// Draws one step of a replayed game: a band per seat with its name, landlord
// mark and score change, the cards it still holds and its last play of the
// round. Wide screens put hand and play side by side; narrow ones stack them.
import { drawCard, fitCanvas } from './draw';
import { Rect, spread } from './layout';
import { ReplayFrame, ReplaySeat } from './quarn';
import { Texts } from './texts';

const WIDE = 700;

export class ReplayView {
  constructor(
    private readonly canvas: HTMLCanvasElement,
    private readonly texts: Texts,
  ) {}

  render(frame: ReplayFrame, width: number, height: number, ratio: number): void {
    const ctx = fitCanvas(this.canvas, width, height, ratio);
    ctx.fillStyle = '#1f6b3a';
    ctx.fillRect(0, 0, width, height);
    const bandH = height / 4;
    (frame.seats ?? []).forEach((seat, i) => {
      this.drawBand(ctx, frame, seat, i, { x: 0, y: i * bandH, w: width, h: bandH });
    });
  }

  private drawBand(ctx: CanvasRenderingContext2D, frame: ReplayFrame, seat: ReplaySeat, index: number, band: Rect): void {
    const pad = 6;
    ctx.fillStyle = index === frame.actor ? 'rgba(255,215,0,0.22)' : index % 2 === 0 ? 'rgba(0,0,0,0.18)' : 'rgba(0,0,0,0.08)';
    ctx.fillRect(band.x, band.y, band.w, band.h);
    const font = Math.max(12, Math.min(16, band.h * 0.12));
    ctx.font = `${index === frame.ownSeat ? 'bold ' : ''}${font}px sans-serif`;
    ctx.textAlign = 'left';
    ctx.textBaseline = 'top';
    ctx.fillStyle = index === frame.ownSeat ? '#ffe082' : '#fff';
    const lord = seat.lord ? ` · ${this.texts.landlord}` : '';
    const change = seat.change ? ` · ${seat.change}` : '';
    ctx.fillText(`${this.texts.seats[index] ?? ''} ${seat.name}${lord}${change}`, band.x + pad, band.y + pad, band.w - 2 * pad);
    const top = band.y + font + pad * 2;
    const rest = band.y + band.h - pad - top;
    const wide = band.w >= WIDE;
    const handArea: Rect = wide
      ? { x: band.x + pad, y: top, w: band.w * 0.62 - pad, h: rest }
      : { x: band.x + pad, y: top, w: band.w - 2 * pad, h: rest * 0.56 };
    const playArea: Rect = wide
      ? { x: band.x + band.w * 0.62 + pad, y: top, w: band.w * 0.38 - 2 * pad, h: rest }
      : { x: band.x + pad, y: top + rest * 0.6, w: band.w - 2 * pad, h: rest * 0.4 };
    this.drawCards(ctx, seat.hand, handArea, false);
    if (seat.acted && seat.play.length === 0) {
      ctx.fillStyle = '#ffe082';
      ctx.font = `bold ${Math.round(Math.min(playArea.h * 0.5, 20))}px sans-serif`;
      ctx.textAlign = 'left';
      ctx.textBaseline = 'middle';
      ctx.fillText(this.texts.passMark, playArea.x, playArea.y + playArea.h / 2);
    } else if (seat.acted) {
      this.drawCards(ctx, seat.play, playArea, true);
    }
  }

  private drawCards(ctx: CanvasRenderingContext2D, cards: readonly number[], area: Rect, marked: boolean): void {
    const h = Math.min(area.h, 96);
    const w = h * 0.7;
    const lefts = spread(cards.length, { ...area, w: Math.max(area.w, w) }, w, w * 0.45);
    // Left-aligned, so that a shrinking hand keeps its place.
    const shift = (lefts[0] ?? area.x) - area.x;
    cards.forEach((card, i) => drawCard(ctx, (lefts[i] ?? area.x) - shift, area.y, w, h, card, marked));
  }
}
