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
  askReplays(): boolean;
  replayList(): string;
  openReplay(index: number): boolean;
  replayGo(step: number): void;
  replay(): string;
  takeEvents(): string;
  takePackets(): Uint8Array[];
  snapshot(): string;
}

export interface QuarnModule {
  WebClient: new () => WebClient;
  cardName(card: number): string;
  describeStream(bytes: Uint8Array): string;
  hintNothingBeats(): string;
  // Adds a translation of the game's texts (context, Chinese source, text shown).
  addText(context: string, source: string, text: string): void;
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

// One of the own recent games (web/wasm/replay_json.cpp).
export interface ReplayGame {
  id: string;
  finished: number; // seconds since 1970-01-01 UTC
  table: number;
  seat: number; // the asker's seat in it
  landlord: number;
  points: number;
  change: string; // the asker's score change, signed
  names: string[];
}

export interface ReplayList {
  waiting: number;
  games: ReplayGame[];
}

// client::ReplayArrival.
export enum ReplayArrival { None, Arriving, Ready, NotWhole, NotSound, NotFound }

export interface ReplaySeat {
  name: string;
  lord: boolean;
  hand: number[];
  acted: boolean;
  play: number[]; // empty with acted: a pass
  change: string; // at the end only
}

// The game asked for at one step; the frame's fields only when it is Ready.
export interface ReplayFrame {
  arrival: ReplayArrival;
  fault: string;
  ownSeat: number;
  step: number;
  steps: number;
  caption?: string;
  actor?: number;
  finished?: boolean;
  seats?: ReplaySeat[];
}

export type ClientEvent =
  | { type: 'state'; state: GameState }
  | { type: 'lordCard'; card: number }
  | { type: 'tableCards' | 'scores' | 'refused' | 'reset' | 'restored' | 'controls' | 'clock' | 'standings' | 'replays' }
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

export function parseReplayList(json: string): ReplayList {
  return JSON.parse(json) as ReplayList;
}

export function parseReplay(json: string): ReplayFrame {
  return JSON.parse(json) as ReplayFrame;
}

export function parseEvents(json: string): ClientEvent[] {
  return JSON.parse(json) as ClientEvent[];
}
