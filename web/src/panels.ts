// The page's panels beside the table: login form, bid, card counter, chat,
// hero board and the game's end. Each fills itself from a snapshot.
import { RANK_LABELS } from './cards';
import { iconCanvas } from './draw';
import { HIGHEST_TABLE, LoginChoice } from './remembered';
import { ReplayList, Snapshot, Standings } from './quarn';
import { Texts } from './texts';

export function byId<T extends HTMLElement>(id: string): T {
  const element = document.getElementById(id);
  if (!element) throw new Error(`#${id} is missing`);
  return element as T;
}

// Puts the texts of the language into every element that names one.
export function applyTexts(texts: Texts): void {
  for (const element of document.querySelectorAll<HTMLElement>('[data-text]')) {
    const key = element.dataset['text'] as keyof Texts;
    const text = texts[key];
    if (typeof text === 'string') element.textContent = text;
  }
}

// An icon chooser: ‹ icon ›, cycling through 1..count.
export class IconPicker {
  value = 1;
  constructor(
    private readonly root: HTMLElement,
    private readonly kind: 'head' | 'service',
    private readonly count: number,
  ) {
    root.querySelector('.prev')?.addEventListener('click', () => this.set(this.value - 1));
    root.querySelector('.next')?.addEventListener('click', () => this.set(this.value + 1));
  }
  set(value: number): void {
    this.value = ((((value - 1) % this.count) + this.count) % this.count) + 1;
    const holder = this.root.querySelector('.icon');
    holder?.replaceChildren(iconCanvas(this.kind, this.value, 36, window.devicePixelRatio || 1));
  }
}

export class LoginForm {
  readonly head = new IconPicker(byId('headPicker'), 'head', 40);
  readonly service = new IconPicker(byId('servicePicker'), 'service', 20);
  readonly form = byId<HTMLFormElement>('login');
  private readonly name = byId<HTMLInputElement>('loginName');
  private readonly password = byId<HTMLInputElement>('loginPassword');
  private readonly table = byId<HTMLInputElement>('loginTable');
  private readonly seat = byId<HTMLSelectElement>('loginSeat');
  private readonly note = byId<HTMLElement>('loginNote');

  constructor(texts: Texts, choice: LoginChoice) {
    texts.seats.forEach((name, i) => this.seat.add(new Option(name, String(i))));
    this.name.value = choice.name;
    this.table.value = String(choice.table);
    this.seat.value = String(choice.seat);
    this.head.set(choice.head);
    this.service.set(choice.service);
  }

  get visible(): boolean {
    return !this.form.hidden;
  }
  show(note = ''): void {
    this.note.textContent = note;
    this.form.hidden = false;
    this.name.focus();
  }
  hide(): void {
    this.form.hidden = true;
  }
  enable(on: boolean): void {
    byId<HTMLButtonElement>('loginSubmit').disabled = !on;
  }
  choice(): LoginChoice {
    const table = Number.parseInt(this.table.value, 10);
    return {
      name: this.name.value.trim(),
      head: this.head.value,
      service: this.service.value,
      table: Number.isInteger(table) && table >= 1 ? Math.min(table, HIGHEST_TABLE) : 1,
      seat: Number.parseInt(this.seat.value, 10) || 0,
    };
  }
  passwordText(): string {
    return this.password.value;
  }
}

export function fillCounter(grid: HTMLElement, unseen: readonly number[], texts: Texts): void {
  const cells: HTMLElement[] = [];
  for (let rank = 15; rank >= 1; rank--) {
    const cell = document.createElement('span');
    const label = rank >= 14 ? texts.jokers[rank - 14] : RANK_LABELS[rank];
    cell.textContent = `${label ?? ''}: ${unseen[rank] ?? 0}`;
    cells.push(cell);
  }
  grid.replaceChildren(...cells);
}

function row(cells: readonly string[], header = false): HTMLTableRowElement {
  const tr = document.createElement('tr');
  for (const text of cells) {
    const cell = document.createElement(header ? 'th' : 'td');
    cell.textContent = text;
    tr.append(cell);
  }
  return tr;
}

// The game's end: each seat's name, games and score.
export function fillScores(table: HTMLTableElement, s: Snapshot, texts: Texts): void {
  const rows = [row(['', texts.games, texts.score], true)];
  s.seats.forEach((seat, i) => rows.push(row([`${texts.seats[i] ?? ''} ${seat.name}`, String(seat.games), String(seat.score)])));
  table.replaceChildren(...rows);
}

// The hero board: one row per finished game, the four scores after it.
export class HeroBoard {
  private readonly rows: string[][] = [];
  constructor(private readonly table: HTMLTableElement) {}
  add(s: Snapshot): void {
    this.rows.push(s.seats.map((seat) => `${seat.name} ${seat.score}`));
  }
  clear(): void {
    this.rows.length = 0;
  }
  render(texts: Texts): void {
    this.table.replaceChildren(row(['#', ...texts.seats], true), ...this.rows.map((cells, i) => row([String(i + 1), ...cells])));
  }
}

// The server's standings: a table of the top lines and one's own (bold), or a
// note while the answer is awaited, when none came, or when no game is stored.
export function fillStandings(table: HTMLTableElement, note: HTMLElement, standings: Standings, timedOut: boolean, texts: Texts): void {
  const rows = standings.rows.map((line) => {
    const tr = row([String(line.rank), line.name, String(line.games), String(line.wins), `${line.landlordWins}/${line.landlordGames}`, line.points]);
    tr.classList.toggle('own', line.own);
    if (line.lastPlayed > 0) tr.title = `${texts.lastPlayed}${new Date(line.lastPlayed * 1000).toLocaleString(texts.locale)}`;
    return tr;
  });
  table.replaceChildren(row([texts.rank, texts.player, texts.games, texts.wins, texts.landlordWins, texts.points], true), ...rows);
  table.hidden = rows.length === 0;
  if (standings.waiting > 0) note.textContent = timedOut ? texts.standingsNone : texts.standingsAsking;
  else note.textContent = rows.length === 0 ? texts.standingsEmpty : '';
  note.hidden = note.textContent === '';
}

// The own recent games, newest first, each with a button that replays it.
export function fillReplays(table: HTMLTableElement, note: HTMLElement, list: ReplayList, texts: Texts, open: (index: number) => void): void {
  const when = (seconds: number) =>
    new Date(seconds * 1000).toLocaleString(texts.locale, { month: 'numeric', day: 'numeric', hour: '2-digit', minute: '2-digit' });
  const rows = list.games.map((game, i) => {
    const landlord = `${texts.seats[game.landlord] ?? ''} ${game.names[game.landlord] ?? ''}`;
    const tr = row([when(game.finished), String(game.table), landlord, game.change]);
    const button = document.createElement('button');
    button.textContent = texts.replay;
    button.addEventListener('click', () => open(i));
    const cell = document.createElement('td');
    cell.append(button);
    tr.append(cell);
    return tr;
  });
  table.replaceChildren(row([texts.time, texts.table, texts.landlord, texts.score, ''], true), ...rows);
  table.hidden = rows.length === 0;
  note.textContent = list.waiting > 0 && rows.length === 0 ? '…' : rows.length === 0 ? texts.replaysNone : '';
  note.hidden = note.textContent === '';
}
