// Cards, backs, head and service icons, drawn by our own code as vector
// shapes, so they are sharp at every devicePixelRatio.
import { BIG_JOKER, RANK_LABELS, foldCard, isRed, rankOf, suitOf } from './cards';

const RED = '#c8102e';
const BLACK = '#1b1b1b';

// Sizes the canvas backing store to its CSS box times the pixel ratio and
// lets the drawing code work in CSS pixels.
export function fitCanvas(canvas: HTMLCanvasElement, width: number, height: number, ratio: number): CanvasRenderingContext2D {
  const w = Math.max(1, Math.round(width * ratio));
  const h = Math.max(1, Math.round(height * ratio));
  if (canvas.width !== w || canvas.height !== h) {
    canvas.width = w;
    canvas.height = h;
  }
  const ctx = canvas.getContext('2d');
  if (!ctx) throw new Error('no 2d canvas');
  ctx.setTransform(ratio, 0, 0, ratio, 0, 0);
  return ctx;
}

function roundRect(ctx: CanvasRenderingContext2D, x: number, y: number, w: number, h: number, r: number): void {
  ctx.beginPath();
  ctx.moveTo(x + r, y);
  ctx.arcTo(x + w, y, x + w, y + h, r);
  ctx.arcTo(x + w, y + h, x, y + h, r);
  ctx.arcTo(x, y + h, x, y, r);
  ctx.arcTo(x, y, x + w, y, r);
  ctx.closePath();
}

// One suit sign centred on (cx, cy), `s` wide.
export function drawSuit(ctx: CanvasRenderingContext2D, suit: number, cx: number, cy: number, s: number): void {
  const h = s / 2;
  ctx.beginPath();
  switch (suit) {
    case 0: // diamond
      ctx.moveTo(cx, cy - h * 1.2);
      ctx.lineTo(cx + h * 0.85, cy);
      ctx.lineTo(cx, cy + h * 1.2);
      ctx.lineTo(cx - h * 0.85, cy);
      break;
    case 2: // heart
      ctx.moveTo(cx, cy + h);
      ctx.bezierCurveTo(cx - h * 1.6, cy - h * 0.2, cx - h * 0.7, cy - h * 1.5, cx, cy - h * 0.5);
      ctx.bezierCurveTo(cx + h * 0.7, cy - h * 1.5, cx + h * 1.6, cy - h * 0.2, cx, cy + h);
      break;
    case 3: // spade
      ctx.moveTo(cx, cy - h * 1.1);
      ctx.bezierCurveTo(cx + h * 1.6, cy + h * 0.1, cx + h * 0.7, cy + h * 1.1, cx, cy + h * 0.35);
      ctx.bezierCurveTo(cx - h * 0.7, cy + h * 1.1, cx - h * 1.6, cy + h * 0.1, cx, cy - h * 1.1);
      ctx.moveTo(cx, cy + h * 0.2);
      ctx.lineTo(cx + h * 0.4, cy + h * 1.1);
      ctx.lineTo(cx - h * 0.4, cy + h * 1.1);
      break;
    case 1: // club
      ctx.arc(cx, cy - h * 0.5, h * 0.48, 0, Math.PI * 2);
      ctx.moveTo(cx - h * 0.05, cy + h * 0.1);
      ctx.arc(cx - h * 0.55, cy + h * 0.15, h * 0.48, 0, Math.PI * 2);
      ctx.moveTo(cx + h * 1.03, cy + h * 0.15);
      ctx.arc(cx + h * 0.55, cy + h * 0.15, h * 0.48, 0, Math.PI * 2);
      ctx.moveTo(cx, cy);
      ctx.lineTo(cx + h * 0.35, cy + h * 1.1);
      ctx.lineTo(cx - h * 0.35, cy + h * 1.1);
      break;
    default:
      return;
  }
  ctx.closePath();
  ctx.fill();
}

function drawStar(ctx: CanvasRenderingContext2D, cx: number, cy: number, r: number): void {
  ctx.beginPath();
  for (let i = 0; i < 10; i++) {
    const angle = -Math.PI / 2 + (i * Math.PI) / 5;
    const radius = i % 2 === 0 ? r : r * 0.45;
    ctx.lineTo(cx + Math.cos(angle) * radius, cy + Math.sin(angle) * radius);
  }
  ctx.closePath();
  ctx.fill();
}

// A card face, w x h at (x, y). Only the left strip shows when cards overlap,
// so rank and suit sit in the top left corner; the middle carries a big sign.
export function drawCard(ctx: CanvasRenderingContext2D, x: number, y: number, w: number, h: number, card: number, marked = false): void {
  const r = Math.max(2, w * 0.08);
  roundRect(ctx, x, y, w, h, r);
  ctx.fillStyle = marked ? '#fff6c8' : '#ffffff';
  ctx.fill();
  ctx.lineWidth = 1;
  ctx.strokeStyle = marked ? '#d08a00' : '#555';
  ctx.stroke();
  const color = isRed(card) ? RED : BLACK;
  ctx.fillStyle = color;
  const rank = rankOf(card);
  const fontSize = w * 0.3;
  ctx.textBaseline = 'top';
  ctx.textAlign = 'center';
  if (rank >= 14) {
    // Jokers: the word down the corner, a star in the middle.
    ctx.font = `bold ${fontSize * 0.8}px sans-serif`;
    const word = 'JOKER';
    for (let i = 0; i < word.length; i++) ctx.fillText(word.charAt(i), x + w * 0.16, y + h * 0.05 + i * fontSize * 0.78);
    ctx.fillStyle = foldCard(card) === BIG_JOKER ? RED : BLACK;
    drawStar(ctx, x + w * 0.6, y + h * 0.55, w * 0.28);
    return;
  }
  ctx.font = `bold ${fontSize}px sans-serif`;
  const label = RANK_LABELS[rank] ?? '?';
  ctx.save();
  if (label.length > 1) {
    ctx.translate(x + w * 0.17, y + h * 0.05);
    ctx.scale(0.78, 1);
    ctx.fillText(label, 0, 0);
  } else {
    ctx.fillText(label, x + w * 0.17, y + h * 0.05);
  }
  ctx.restore();
  const suit = suitOf(card);
  drawSuit(ctx, suit, x + w * 0.17, y + h * 0.05 + fontSize * 1.45, w * 0.2);
  drawSuit(ctx, suit, x + w * 0.6, y + h * 0.6, w * 0.42);
}

export function drawBack(ctx: CanvasRenderingContext2D, x: number, y: number, w: number, h: number): void {
  const r = Math.max(2, w * 0.08);
  roundRect(ctx, x, y, w, h, r);
  ctx.fillStyle = '#24508f';
  ctx.fill();
  ctx.strokeStyle = '#f0f0f0';
  ctx.lineWidth = Math.max(1, w * 0.05);
  ctx.stroke();
  ctx.save();
  roundRect(ctx, x + w * 0.12, y + w * 0.12, w * 0.76, h - w * 0.24, r * 0.6);
  ctx.clip();
  ctx.strokeStyle = 'rgba(255,255,255,0.35)';
  ctx.lineWidth = 1;
  for (let d = -h; d < w + h; d += w * 0.16) {
    ctx.beginPath();
    ctx.moveTo(x + d, y);
    ctx.lineTo(x + d + h, y + h);
    ctx.moveTo(x + d + h, y);
    ctx.lineTo(x + d, y + h);
    ctx.stroke();
  }
  ctx.restore();
}

// The page's own icon, as the window's: a card back with a Q on a white disc.
export function drawIcon(ctx: CanvasRenderingContext2D, size: number): void {
  const w = size * 0.7;
  drawBack(ctx, (size - w) / 2, size * 0.03, w, size * 0.94); // its border stays inside
  ctx.beginPath();
  ctx.arc(size / 2, size / 2, w * 0.36, 0, Math.PI * 2);
  ctx.fillStyle = '#f0f0f0';
  ctx.fill();
  ctx.fillStyle = '#24508f';
  ctx.font = `bold ${Math.round(w * 0.5)}px sans-serif`;
  ctx.textAlign = 'center';
  ctx.textBaseline = 'middle';
  ctx.fillText('Q', size / 2, size / 2 + w * 0.02);
}

// Head icon 1..40: a face whose colours and hair follow the number.
export function drawHead(ctx: CanvasRenderingContext2D, x: number, y: number, size: number, icon: number): void {
  if (icon < 1) return;
  const hue = (icon * 47) % 360;
  const cx = x + size / 2;
  const cy = y + size / 2;
  const r = size / 2;
  ctx.beginPath();
  ctx.arc(cx, cy, r, 0, Math.PI * 2);
  ctx.fillStyle = `hsl(${hue}, 55%, 42%)`;
  ctx.fill();
  ctx.beginPath();
  ctx.arc(cx, cy + r * 0.08, r * 0.62, 0, Math.PI * 2);
  ctx.fillStyle = ['#f5d0a9', '#e0ac69', '#c68642', '#8d5524'][icon % 4] ?? '#f5d0a9';
  ctx.fill();
  ctx.fillStyle = `hsl(${(hue + 180) % 360}, 45%, 22%)`;
  ctx.beginPath();
  const style = Math.floor(icon / 4) % 3;
  if (style === 0) {
    ctx.arc(cx, cy - r * 0.2, r * 0.64, Math.PI, 0);
  } else if (style === 1) {
    ctx.ellipse(cx, cy - r * 0.45, r * 0.58, r * 0.25, 0, 0, Math.PI * 2);
  } else {
    for (let i = -2; i <= 2; i++) ctx.arc(cx + i * r * 0.22, cy - r * 0.5, r * 0.16, 0, Math.PI * 2);
  }
  ctx.fill();
  ctx.fillStyle = '#222';
  ctx.beginPath();
  ctx.arc(cx - r * 0.22, cy + r * 0.02, r * 0.07, 0, Math.PI * 2);
  ctx.arc(cx + r * 0.22, cy + r * 0.02, r * 0.07, 0, Math.PI * 2);
  ctx.fill();
  ctx.strokeStyle = '#7a2b2b';
  ctx.lineWidth = Math.max(1, r * 0.07);
  ctx.beginPath();
  ctx.arc(cx, cy + r * 0.2, r * 0.22, 0.15 * Math.PI, 0.85 * Math.PI);
  ctx.stroke();
}

// Service icon 1..20: a badge with one of five signs.
export function drawService(ctx: CanvasRenderingContext2D, x: number, y: number, size: number, icon: number): void {
  if (icon < 1) return;
  const hue = (icon * 71 + 30) % 360;
  roundRect(ctx, x, y, size, size, size * 0.2);
  ctx.fillStyle = `hsl(${hue}, 60%, 45%)`;
  ctx.fill();
  ctx.fillStyle = '#fff';
  const cx = x + size / 2;
  const cy = y + size / 2;
  switch (icon % 5) {
    case 0:
      drawStar(ctx, cx, cy, size * 0.35);
      break;
    case 1:
      drawSuit(ctx, 2, cx, cy, size * 0.5);
      break;
    case 2:
      drawSuit(ctx, 0, cx, cy, size * 0.5);
      break;
    case 3:
      ctx.beginPath();
      ctx.arc(cx, cy, size * 0.25, 0, Math.PI * 2);
      ctx.fill();
      break;
    default:
      drawSuit(ctx, 3, cx, cy, size * 0.5);
  }
}

// An icon picker's canvas: draws one icon sharply into a small canvas.
export function iconCanvas(kind: 'head' | 'service', icon: number, size: number, ratio: number): HTMLCanvasElement {
  const canvas = document.createElement('canvas');
  canvas.style.width = `${size}px`;
  canvas.style.height = `${size}px`;
  const ctx = fitCanvas(canvas, size, size, ratio);
  if (kind === 'head') drawHead(ctx, 0, 0, size, icon);
  else drawService(ctx, 0, 0, size, icon);
  return canvas;
}
