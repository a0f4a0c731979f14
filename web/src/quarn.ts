// The WebAssembly module's surface (web/wasm/bindings.cpp) and the shapes of
// its JSON, typed once for the rest of the page.
export interface WebClient {
  feed(bytes: Uint8Array): number;
  connectionLost(): void;
  login(name: string, password: string, service: number, head: number, table: number, seat: number): boolean;
  relogin(): boolean;
  hasLogin(): boolean;
  key(key: TableKey): TableButton;
  press(button: TableButton): void;
  bid(points: number): boolean;
  passBid(): boolean;
  hint(): boolean;
  chat(text: string): boolean;
  beginDrag(slot: number): void;
  dragOver(slot: number): void;
  endDrag(): void;
  askStandings(): boolean;
  standings(): string;
  takeEvents(): string;
  takePackets(): Uint8Array[];
  snapshot(): string;
}

export interface QuarnModule {
  WebClient: new () => WebClient;
  cardName(card: number): string;
  describeStream(bytes: Uint8Array): string;
  hintNothingBeats(): string;
}

// client::TableKey and client::TableButton, by value.
export enum TableKey { Play, Clear, Pass, Hint, Left, Right, Toggle, Raise, Lower, AutoPlay }
export enum TableButton { None, Send, Bid, Login, Cancel, Pass, Hint, AutoPlay }
// client::TGameState.
export enum GameState { Offline, LoggingIn, Seated, AwaitDeal, MyBid, OtherBid, InPlay, PlaySent }

export interface Seat {
  name: string;
  icon: number;
  service: number;
  count: number;
  lord: boolean;
  score: number;
  games: number;
  control: number; // 0: its player; else the computer plays it
  acted: boolean;
  cards: number[];
}

export interface Buttons {
  send: boolean;
  bid: boolean;
  pass: boolean;
  cancel: boolean;
  login: boolean;
  speak: boolean;
  hint: boolean;
  autoPlay: boolean;
}

export interface Snapshot {
  state: GameState;
  ownSeat: number;
  table: number;
  currentSeat: number;
  leadSeat: number;
  lordSeat: number;
  bidPoints: number;
  title: string;
  panel0: string;
  panel1: string;
  tableCaption: string;
  buttons: Buttons;
  hand: Array<[number, number, boolean]>; // slot, card, raised
  cursor: number;
  tableCards: number[];
  seats: Seat[];
  unseen: number[];
  clockSeat: number;
  clockLeftMs: number;
  clockTurnMs: number;
}

// One line of a server's standings (web/wasm/standings_json.cpp).
export interface StandingsRow {
  rank: number;
  name: string;
  games: number;
  wins: number;
  landlordGames: number;
  landlordWins: number;
  points: string; // a 64-bit sum, exact as text
  lastPlayed: number;
  own: boolean;
}

export interface Standings {
  waiting: number; // requests the server has not answered yet
  rows: StandingsRow[];
}

export type ClientEvent =
  | { type: 'state'; state: GameState }
  | { type: 'lordCard'; card: number }
  | { type: 'tableCards' | 'scores' | 'reset' | 'restored' | 'controls' | 'clock' | 'standings' }
  | { type: 'pass' | 'clearSeat'; seat: number }
  | { type: 'winner'; seat: number; text: string }
  | { type: 'talk'; seat: number; line: string }
  | { type: 'message'; icon: number; caption: string; text: string };

export function parseSnapshot(json: string): Snapshot {
  return JSON.parse(json) as Snapshot;
}

export function parseStandings(json: string): Standings {
  return JSON.parse(json) as Standings;
}

export function parseEvents(json: string): ClientEvent[] {
  return JSON.parse(json) as ClientEvent[];
}
