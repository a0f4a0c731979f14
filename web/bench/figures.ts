// The web port's figures (a benchmark, not a test): PlayCards to PlayNotice
// over WebSocket against TCP, the page's transfer size, navigation to the
// login form in headless chromium, and quarnd's memory with 1000 WebSocket
// players at 250 tables. Run: node --experimental-websocket figures.mjs
// with QUARN_BIN set (the folder of quarnd, quarn-bot and web/).
import { ChildProcess } from 'node:child_process';
import { readFileSync, statSync, mkdtempSync } from 'node:fs';
import { Socket, connect } from 'node:net';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { GameState, TableButton, WebClient, QuarnModule, parseSnapshot } from '../src/quarn';
import { startBot, startQuarnd, stop } from '../test/servers';
import { env, loadQuarn } from '../test/wasm_loader';

const bin = env('QUARN_BIN');
const web = join(bin, 'web');

function percentile(sorted: number[], p: number): number {
  return sorted[Math.min(sorted.length - 1, Math.floor((sorted.length * p) / 100))] ?? NaN;
}

// A byte pipe to quarnd, over TCP or over the web port's WebSocket.
interface Pipe {
  send(bytes: Uint8Array): void;
  onBytes(handler: (bytes: Uint8Array) => void): void;
  close(): void;
}

function tcpPipe(port: number): Promise<Pipe> {
  return new Promise((resolve) => {
    const socket: Socket = connect(port, '127.0.0.1', () => {
      socket.setNoDelay(true);
      resolve({ send: (b) => socket.write(b), onBytes: (h) => socket.on('data', (d: Buffer) => h(new Uint8Array(d))), close: () => socket.destroy() });
    });
  });
}

function wsPipe(port: number): Promise<Pipe> {
  return new Promise((resolve, reject) => {
    const socket = new WebSocket(`ws://127.0.0.1:${port}/ws`);
    socket.binaryType = 'arraybuffer';
    socket.onerror = reject;
    socket.onopen = () =>
      resolve({
        send: (b) => socket.send(b),
        onBytes: (h) => (socket.onmessage = (m: MessageEvent) => h(new Uint8Array(m.data as ArrayBuffer))),
        close: () => socket.close(),
      });
  });
}

// Seat 0 played by the page's own model (hint, then play or pass); the time
// from each PlayCards sent to the first bytes back (the PlayNotice).
async function playLatency(quarn: QuarnModule, transport: 'tcp' | 'ws', samples: number): Promise<number[]> {
  const server = await startQuarnd(bin, ['--no-delay', '--bid']);
  const bots: ChildProcess[] = [1, 2, 3].map((seat) => startBot(bin, server.port, seat, `b${seat}`, ['--think', '0']));
  const pipe = transport === 'tcp' ? await tcpPipe(server.port) : await wsPipe(server.webPort);
  const client: WebClient = new quarn.WebClient();
  const times: number[] = [];
  let sentAt = 0;
  const flush = () => {
    for (const packet of client.takePackets()) pipe.send(packet);
    client.takeEvents();
  };
  const act = () => {
    const s = parseSnapshot(client.snapshot());
    if (s.state === GameState.MyBid) client.passBid();
    else if (s.state === GameState.InPlay && s.buttons.send) {
      if (client.hint()) {
        client.press(TableButton.Send);
        sentAt = performance.now();
      } else client.press(TableButton.Pass);
    }
    flush();
  };
  await new Promise<void>((resolve) => {
    pipe.onBytes((bytes) => {
      if (sentAt > 0) {
        times.push(performance.now() - sentAt);
        sentAt = 0;
      }
      client.feed(bytes);
      flush();
      if (times.length >= samples) resolve();
      else setImmediate(act);
    });
    client.login('measure', '', 1, 1, 1, 0);
    flush();
  });
  pipe.close();
  for (const bot of bots) await stop(bot);
  await stop(server.process);
  return times.sort((a, b) => a - b);
}

function rssKb(pid: number): number {
  const status = readFileSync(`/proc/${pid}/status`, 'utf8');
  return Number(/VmRSS:\s+(\d+)/.exec(status)?.[1] ?? 0);
}

async function memoryWith1000(quarn: QuarnModule): Promise<[number, number]> {
  const server = await startQuarnd(bin, ['--tables', '250', '--no-delay']);
  const pid = server.process.pid ?? 0;
  await new Promise((r) => setTimeout(r, 300));
  const before = rssKb(pid);
  const pipes: Pipe[] = [];
  let answered = 0;
  for (let i = 0; i < 1000; i++) {
    const pipe = await wsPipe(server.webPort);
    let got = false;
    pipe.onBytes(() => {
      if (!got) answered++;
      got = true;
    });
    const client = new quarn.WebClient();
    client.login(`p${i}`, '', 1, 1, 1 + Math.floor(i / 4), i % 4);
    for (const packet of client.takePackets()) pipe.send(packet);
    pipes.push(pipe);
  }
  const end = Date.now() + 30000;
  while (answered < 1000 && Date.now() < end) await new Promise((r) => setTimeout(r, 100));
  await new Promise((r) => setTimeout(r, 2000)); // the deals of 250 tables
  const after = rssKb(pid);
  for (const pipe of pipes) pipe.close();
  await stop(server.process);
  if (answered < 1000) console.log(`  (only ${answered} of 1000 logins answered)`);
  return [before, after];
}

// Per visit: the login form painted (first contentful paint), and usable
// (the WebAssembly loaded, the button enabled), in ms from navigation.
async function navigation(): Promise<[number[], number[]]> {
  const { chromium } = await import('playwright-core');
  const server = await startQuarnd(bin);
  const context = await chromium.launchPersistentContext(mkdtempSync(join(tmpdir(), 'quarn-chromium-')), {
    executablePath: '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  const page = context.pages()[0] ?? (await context.newPage());
  const usable: number[] = [];
  const painted: number[] = [];
  for (let i = 0; i < 7; i++) {
    await page.goto('about:blank');
    await page.goto(`http://127.0.0.1:${server.webPort}/?${i}`);
    await page.waitForSelector('#loginSubmit:not([disabled])');
    usable.push(await page.evaluate(() => performance.now()));
    painted.push(await page.evaluate(() => performance.getEntriesByName('first-contentful-paint')[0]?.startTime ?? NaN));
  }
  await context.close();
  await stop(server.process);
  return [painted.sort((a, b) => a - b), usable.sort((a, b) => a - b)];
}

async function main(): Promise<void> {
  const quarn = await loadQuarn(web);
  const files = ['index.html', 'style.css', 'app.js', 'quarn.mjs', 'quarn.wasm'];
  const raw = files.reduce((sum, f) => sum + statSync(join(web, f)).size, 0);
  const gz = files.reduce((sum, f) => sum + statSync(join(web, `${f}.gz`)).size, 0);
  console.log(`page transfer: ${(gz / 1024).toFixed(0)} KiB gzip (${(raw / 1024).toFixed(0)} KiB raw), ${files.join(' ')}`);
  const [painted, usable] = await navigation();
  console.log(`navigation to the login form: painted median ${percentile(painted, 50).toFixed(0)} ms; usable median ${percentile(usable, 50).toFixed(0)} ms, max ${usable[usable.length - 1]?.toFixed(0)} ms`);
  for (const transport of ['tcp', 'ws'] as const) {
    const t = await playLatency(quarn, transport, 200);
    console.log(`PlayCards -> PlayNotice over ${transport}: p50 ${percentile(t, 50).toFixed(3)} ms, p99 ${percentile(t, 99).toFixed(3)} ms (${t.length} plays)`);
  }
  const [before, after] = await memoryWith1000(quarn);
  console.log(`quarnd memory: ${(before / 1024).toFixed(1)} MiB idle, ${(after / 1024).toFixed(1)} MiB with 1000 WebSocket players at 250 tables`);
}

void main();
