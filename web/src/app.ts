// The page's table: the C++ client model in WebAssembly, fed from the
// WebSocket, drawn on the canvas, driven by buttons, keys, mouse and touch.
import { Connection, reconnectDelayMs, socketUrl } from './connection';
import { keyFor } from './keys';
import { HeroBoard, LoginForm, byId, fillCounter, fillReplays, fillScores, fillStandings } from './panels';
import {
  ClientEvent, GameState, QuarnModule, ReplayArrival, Snapshot, TableButton, TableKey, WebClient, parseEvents, parseReplay, parseReplayList,
  parseSnapshot, parseStandings,
} from './quarn';
import { ReplayView } from './replay_view';
import { LoginChoice, readLogin, saveLogin } from './remembered';
import { Countdown, TableView } from './table_view';
import { Texts } from './texts';

// Automatic reconnects after a drop before only the button is left.
const MAX_RECONNECTS = 6;
// A server that keeps no games never answers a standings request: after this
// long the panel says so.
const STANDINGS_WAIT_MS = 3000;

export class App {
  private readonly client: WebClient;
  private readonly connection: Connection;
  private readonly view: TableView;
  private readonly login: LoginForm;
  private readonly hero = new HeroBoard(byId<HTMLTableElement>('heroTable'));
  private readonly canvas = byId<HTMLCanvasElement>('table');
  private snapshot: Snapshot;
  private countdown: { seat: number; leftMs: number; since: number } | null = null;
  private choice: LoginChoice;
  private pendingLogin = false;
  private reconnects = 0;
  private reconnectTimer = 0;
  private frame = 0;
  private toastTimer = 0;
  private standingsTimer = 0;
  private standingsTimedOut = false;
  private replaysAsked = false;
  private readonly replayView: ReplayView;
  private winnerText = '';
  private lastPointer = 'mouse';
  private dragging = false;

  constructor(
    private readonly quarn: QuarnModule,
    private readonly texts: Texts,
  ) {
    this.client = new quarn.WebClient();
    this.view = new TableView(this.canvas, texts);
    this.replayView = new ReplayView(byId<HTMLCanvasElement>('replayTable'), texts);
    this.choice = readLogin(localStorage);
    this.login = new LoginForm(texts, this.choice);
    this.connection = new Connection(() => socketUrl(window.location, this.choice.table), {
      opened: () => this.opened(),
      bytes: (data) => {
        this.client.feed(data);
        this.flush();
      },
      closed: () => this.closed(),
    });
    this.snapshot = parseSnapshot(this.client.snapshot());
    this.wire();
    this.login.enable(true);
    this.flush();
    setInterval(() => {
      if (this.countdown) this.schedule();
    }, 250);
  }

  // What the page shows, for tests and tools.
  get state(): Snapshot {
    return this.snapshot;
  }

  // Cuts the WebSocket as a network drop would.
  cutConnection(): void {
    this.connection.drop();
    this.closed();
  }

  private wire(): void {
    this.login.form.addEventListener('submit', (event) => {
      event.preventDefault();
      this.submitLogin();
    });
    const click = (id: string, action: () => void) => byId(id).addEventListener('click', action);
    click('btnSend', () => this.button(TableButton.Send));
    click('btnPass', () => this.button(TableButton.Pass));
    click('btnCancel', () => this.button(TableButton.Cancel));
    click('btnHint', () => this.button(TableButton.Hint));
    click('btnBid', () => this.button(TableButton.Bid));
    click('btnAuto', () => this.button(TableButton.AutoPlay));
    click('btnCounter', () => this.toggle('counter'));
    click('btnChat', () => this.toggle('chat'));
    click('btnHero', () => {
      byId('standings').hidden = true;
      this.hero.render(this.texts);
      this.toggle('hero');
    });
    click('heroClose', () => (byId('hero').hidden = true));
    click('btnStandings', () => this.toggleStandings());
    click('standingsClose', () => (byId('standings').hidden = true));
    click('replayFirst', () => this.replayGo(() => 0));
    click('replayPrevious', () => this.replayGo((step) => step - 1));
    click('replayNext', () => this.replayGo((step) => step + 1));
    click('replayLast', () => this.replayGo((_, steps) => steps - 1));
    click('replayClose', () => (byId('replay').hidden = true));
    new ResizeObserver(() => this.renderReplay()).observe(byId('replayTable'));
    click('resultClose', () => (byId('result').hidden = true));
    click('btnReconnect', () => this.reconnect());
    click('bidPass', () => {
      byId('bid').hidden = true;
      this.client.passBid();
      this.flush();
    });
    byId<HTMLFormElement>('bid').addEventListener('submit', (event) => {
      event.preventDefault();
      this.offerBid();
    });
    byId<HTMLFormElement>('chatForm').addEventListener('submit', (event) => {
      event.preventDefault();
      const input = byId<HTMLInputElement>('chatInput');
      if (this.client.chat(input.value)) input.value = '';
      this.flush();
    });
    document.addEventListener('keydown', (event) => this.keyDown(event));
    this.canvas.addEventListener('pointerdown', (event) => this.pointerDown(event));
    this.canvas.addEventListener('pointermove', (event) => this.pointerMove(event));
    const end = () => {
      if (!this.dragging) return;
      this.dragging = false;
      this.client.endDrag();
    };
    this.canvas.addEventListener('pointerup', end);
    this.canvas.addEventListener('pointercancel', end);
    this.canvas.addEventListener('contextmenu', (event) => {
      event.preventDefault();
      // A right click plays the selection; a long press on touch does nothing.
      if (this.lastPointer === 'mouse') this.button(TableButton.Send);
    });
    new ResizeObserver(() => this.schedule()).observe(this.canvas);
  }

  private submitLogin(): void {
    const choice = this.login.choice();
    if (!choice.name) {
      this.login.show(this.texts.nameMissing);
      return;
    }
    this.choice = choice;
    saveLogin(localStorage, choice);
    this.login.enable(false);
    this.pendingLogin = true;
    this.connection.connect();
  }

  private opened(): void {
    if (this.pendingLogin) {
      this.pendingLogin = false;
      const c = this.choice;
      this.client.login(c.name, this.login.passwordText(), c.service, c.head, c.table, c.seat);
    } else {
      this.client.relogin();
    }
    this.flush();
  }

  private closed(): void {
    const hadLogin = this.snapshot.state !== GameState.Offline || this.client.hasLogin();
    this.client.connectionLost();
    this.flush();
    this.login.enable(true);
    if (this.pendingLogin || !this.client.hasLogin()) {
      this.pendingLogin = false;
      this.login.show(this.texts.connectFailed);
      return;
    }
    if (!hadLogin) return;
    byId('btnReconnect').hidden = false;
    if (this.reconnects < MAX_RECONNECTS) {
      this.toast(this.texts.reconnecting);
      window.clearTimeout(this.reconnectTimer);
      this.reconnectTimer = window.setTimeout(() => this.reconnect(), reconnectDelayMs(this.reconnects));
      this.reconnects++;
    }
  }

  private reconnect(): void {
    window.clearTimeout(this.reconnectTimer);
    if (this.snapshot.state !== GameState.Offline || this.connection.open) return;
    byId('btnReconnect').hidden = true;
    this.connection.connect();
  }

  // Writes what the model wrote, handles what it showed, redraws.
  private flush(): void {
    if (!this.connection.send(this.client.takePackets())) {
      // The socket is gone; its close handler takes over.
    }
    const events = parseEvents(this.client.takeEvents());
    this.snapshot = parseSnapshot(this.client.snapshot());
    for (const event of events) this.handle(event);
    this.refreshControls();
    this.schedule();
  }

  private handle(event: ClientEvent): void {
    switch (event.type) {
      case 'state':
        if (event.state >= GameState.Seated) {
          this.login.hide();
          this.reconnects = 0;
          byId('btnReconnect').hidden = true;
        }
        if (event.state === GameState.MyBid) this.openBid();
        else byId('bid').hidden = true;
        if (event.state === GameState.Offline && !this.client.hasLogin()) this.login.show();
        break;
      case 'lordCard':
        this.view.lordCard = event.card;
        break;
      case 'winner':
        this.view.lordCard = 0;
        this.winnerText = event.text;
        byId('resultTitle').textContent = event.text;
        break;
      case 'scores':
        this.hero.add(this.snapshot);
        byId('resultTitle').textContent = this.winnerText || this.texts.gameOver;
        fillScores(byId<HTMLTableElement>('resultTable'), this.snapshot, this.texts);
        byId('result').hidden = false;
        byId('toast').hidden = true; // a note on the last move would cover the scores
        break;
      case 'clearSeat':
        this.view.lordCard = 0;
        break;
      case 'clock':
        this.countdown =
          this.snapshot.clockSeat >= 0 ? { seat: this.snapshot.clockSeat, leftMs: this.snapshot.clockLeftMs, since: performance.now() } : null;
        break;
      case 'standings':
        this.renderStandings();
        this.askReplays();
        break;
      case 'replays':
        this.renderReplays();
        this.renderReplay();
        break;
      case 'talk':
        this.addTalk(event.line);
        break;
      case 'message':
        this.toast(event.text);
        break;
      case 'refused':
        // The next login connects afresh; the model has forgotten this one.
        this.connection.drop();
        this.login.enable(true);
        this.login.show(this.texts.loginRefused);
        break;
      default:
        break;
    }
  }

  private refreshControls(): void {
    const s = this.snapshot;
    const b = s.buttons;
    const set = (id: string, enabled: boolean) => (byId<HTMLButtonElement>(id).disabled = !enabled);
    set('btnSend', b.send);
    set('btnPass', b.pass);
    set('btnCancel', b.cancel);
    set('btnHint', b.hint);
    set('btnBid', b.bid);
    set('btnAuto', b.autoPlay);
    set('btnStandings', s.state >= GameState.Seated || !byId('standings').hidden);
    set('btnChat', b.speak || !byId('chat').hidden);
    const own = s.seats[s.ownSeat];
    byId('btnAuto').setAttribute('aria-pressed', String(!!own && own.control !== 0 && s.state >= GameState.Seated));
    byId('panel0').textContent = s.panel0;
    byId('panel1').textContent = s.panel1;
    document.title = s.state === GameState.Offline ? this.texts.title : s.title;
    if (!byId('counter').hidden) fillCounter(byId('counterGrid'), s.unseen, this.texts);
    if (s.hand.length > 0 && s.state >= GameState.MyBid) byId('result').hidden = true;
    if (s.clockSeat < 0) this.countdown = null;
  }

  private button(button: TableButton): void {
    switch (button) {
      case TableButton.None:
        return;
      case TableButton.Login:
        if (!this.login.visible) this.login.show();
        else this.submitLogin();
        return;
      case TableButton.Bid:
        this.openBid();
        return;
      case TableButton.Hint:
        if (this.snapshot.buttons.hint && !this.client.hint()) this.toast(this.quarn.hintNothingBeats());
        break;
      default:
        this.client.press(button);
    }
    this.flush();
  }

  private openBid(): void {
    if (this.snapshot.state !== GameState.MyBid) return;
    const input = byId<HTMLInputElement>('bidPoints');
    input.value = String(this.snapshot.bidPoints + 1);
    byId('bid').hidden = false;
    input.focus();
    input.select();
  }

  private offerBid(): void {
    const points = Number.parseInt(byId<HTMLInputElement>('bidPoints').value, 10);
    if (!Number.isInteger(points) || points <= this.snapshot.bidPoints) {
      this.toast(this.texts.bidTooSmall);
      return;
    }
    if (points > 255) {
      this.toast(this.texts.bidTooLarge);
      return;
    }
    byId('bid').hidden = true;
    this.client.bid(points);
    this.flush();
  }

  private keyDown(event: KeyboardEvent): void {
    const target = event.target as HTMLElement | null;
    if (target && (target.tagName === 'INPUT' || target.tagName === 'SELECT' || target.tagName === 'TEXTAREA')) return;
    if (event.ctrlKey || event.altKey || event.metaKey) return;
    if (!byId('replay').hidden && this.replayKey(event.key)) {
      event.preventDefault();
      return;
    }
    const key = keyFor(event.key);
    if (key === undefined) return;
    if (key === TableKey.Play && target?.tagName === 'BUTTON') return; // the button's own Enter
    event.preventDefault();
    const button = this.client.key(key);
    this.flush();
    this.button(button);
  }

  // The replay's keys while it is open: arrows step, Home and End jump, Escape closes.
  private replayKey(key: string): boolean {
    const moves: Record<string, (step: number, steps: number) => number> = {
      ArrowLeft: (step) => step - 1,
      ArrowRight: (step) => step + 1,
      Home: () => 0,
      End: (_, steps) => steps - 1,
    };
    const move = moves[key];
    if (move) this.replayGo(move);
    else if (key === 'Escape') byId('replay').hidden = true;
    return move !== undefined || key === 'Escape';
  }

  private point(event: PointerEvent): { x: number; y: number } {
    const box = this.canvas.getBoundingClientRect();
    return { x: event.clientX - box.left, y: event.clientY - box.top };
  }

  private pointerDown(event: PointerEvent): void {
    this.lastPointer = event.pointerType;
    if (event.button !== 0) return;
    const { x, y } = this.point(event);
    const slot = this.view.slotAt(x, y, this.snapshot);
    if (slot < 0) return;
    this.canvas.setPointerCapture(event.pointerId);
    this.dragging = true;
    this.client.beginDrag(slot);
    this.flush();
  }

  private pointerMove(event: PointerEvent): void {
    if (!this.dragging) return;
    this.client.dragOver(this.view.slotNear(this.point(event).x));
    this.flush();
  }

  private toggle(id: string): void {
    const panel = byId(id);
    panel.hidden = !panel.hidden;
    if (id === 'counter') fillCounter(byId('counterGrid'), this.snapshot.unseen, this.texts);
    if (id === 'chat' && !panel.hidden) byId<HTMLInputElement>('chatInput').focus();
  }

  private toggleStandings(): void {
    const panel = byId('standings');
    panel.hidden = !panel.hidden;
    if (panel.hidden) return;
    byId('hero').hidden = true;
    byId('result').hidden = true;
    byId('replays').hidden = true;
    this.replaysAsked = false;
    this.standingsTimedOut = false;
    window.clearTimeout(this.standingsTimer);
    this.standingsTimer = window.setTimeout(() => {
      this.standingsTimedOut = true;
      this.renderStandings();
    }, STANDINGS_WAIT_MS);
    this.client.askStandings();
    this.flush();
    this.renderStandings();
  }

  private renderStandings(): void {
    if (byId('standings').hidden) return;
    const standings = parseStandings(this.client.standings());
    fillStandings(byId<HTMLTableElement>('standingsTable'), byId('standingsNote'), standings, this.standingsTimedOut, this.texts);
  }

  // Once the server has answered the standings it keeps games: ask for the own.
  private askReplays(): void {
    if (this.replaysAsked || byId('standings').hidden) return;
    this.replaysAsked = this.client.askReplays();
    this.connection.send(this.client.takePackets());
  }

  private renderReplays(): void {
    if (!this.replaysAsked) return;
    const list = parseReplayList(this.client.replayList());
    byId('replays').hidden = false;
    fillReplays(byId<HTMLTableElement>('replaysTable'), byId('replaysNote'), list, this.texts, (index) => this.openReplay(index));
  }

  private openReplay(index: number): void {
    if (!this.client.openReplay(index)) return;
    this.connection.send(this.client.takePackets());
    byId('standings').hidden = true;
    byId('replay').hidden = false;
    this.renderReplay();
  }

  private replayGo(to: (step: number, steps: number) => number): void {
    const frame = parseReplay(this.client.replay());
    this.client.replayGo(to(frame.step, frame.steps));
    this.renderReplay();
  }

  private renderReplay(): void {
    if (byId('replay').hidden) return;
    const frame = parseReplay(this.client.replay());
    const notes: Record<ReplayArrival, string> = {
      [ReplayArrival.None]: '',
      [ReplayArrival.Arriving]: this.texts.replayArriving,
      [ReplayArrival.Ready]: frame.caption ?? '',
      [ReplayArrival.NotWhole]: this.texts.replayNotWhole,
      [ReplayArrival.NotSound]: this.texts.replayNotSound + frame.fault,
      [ReplayArrival.NotFound]: this.texts.replayNotFound,
    };
    byId('replayCaption').textContent = notes[frame.arrival] ?? '';
    byId('replayStep').textContent = frame.steps > 0 ? `${frame.step + 1}/${frame.steps}` : '';
    const set = (id: string, enabled: boolean) => (byId<HTMLButtonElement>(id).disabled = !enabled);
    set('replayFirst', frame.step > 0);
    set('replayPrevious', frame.step > 0);
    set('replayNext', frame.step + 1 < frame.steps);
    set('replayLast', frame.step + 1 < frame.steps);
    const canvas = byId<HTMLCanvasElement>('replayTable');
    const box = canvas.getBoundingClientRect();
    this.replayView.render(frame, box.width, box.height, window.devicePixelRatio || 1);
  }

  private addTalk(line: string): void {
    const log = byId('chatLog');
    const entry = document.createElement('div');
    entry.textContent = line;
    log.append(entry);
    while (log.childElementCount > 200) log.firstElementChild?.remove();
    log.scrollTop = log.scrollHeight;
    if (byId('chat').hidden) this.toast(line);
  }

  private toast(text: string): void {
    const toast = byId('toast');
    // Over the middle of the table: at the top it hid the seat across.
    toast.style.top = `${Math.max(0, this.view.noteBottom())}px`;
    toast.textContent = text;
    toast.hidden = false;
    window.clearTimeout(this.toastTimer);
    this.toastTimer = window.setTimeout(() => (toast.hidden = true), 3000);
  }

  private schedule(): void {
    if (this.frame) return;
    this.frame = requestAnimationFrame(() => {
      this.frame = 0;
      const box = this.canvas.getBoundingClientRect();
      let countdown: Countdown | null = null;
      if (this.countdown) {
        countdown = { seat: this.countdown.seat, leftMs: this.countdown.leftMs - (performance.now() - this.countdown.since) };
      }
      this.view.render(this.snapshot, countdown, box.width, box.height, window.devicePixelRatio || 1);
    });
  }
}
