// The page's own code, and the WebAssembly against the native programs.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { test } from 'node:test';
import { cardAt, computeLayout, positionOf, spread } from '../src/layout';
import { keyFor } from '../src/keys';
import { TableKey } from '../src/quarn';
import { DEFAULT_LOGIN, readLogin, saveLogin } from '../src/remembered';
import { rankOf, suitOf } from '../src/cards';
import { en, Language, parseCatalogue, pickLanguage } from '../src/texts';
import { env, loadQuarn } from './wasm_loader';

const bin = env('QUARN_BIN');
const web = join(bin, 'web');

test('the layout fits a full hand and finds every card again, at any size', () => {
  for (const [w, h] of [[1280, 800], [412, 915], [915, 412], [320, 480], [1920, 1080], [800, 600]] as const) {
    const layout = computeLayout(w, h);
    for (const count of [1, 2, 17, 25, 33]) {
      const lefts = spread(count, layout.hand, layout.card.w, layout.card.w * 0.42);
      const last = lefts[count - 1] ?? 0;
      assert.ok(lefts[0]! >= 0 && last + layout.card.w <= w + 0.001, `${w}x${h} ${count} cards fit`);
      lefts.forEach((left, i) => assert.equal(cardAt(lefts, layout.card.w, left + 0.5), i));
    }
    for (const seat of layout.seats) assert.ok(seat.x >= 0 && seat.x + seat.w <= w && seat.y >= 0, `${w}x${h} seats on screen`);
  }
  assert.deepEqual([0, 1, 2, 3].map((seat) => positionOf(seat, 2)), [2, 3, 0, 1]);
});

test('keys stand for the window keys', () => {
  const table: Array<[string, TableKey | undefined]> = [
    ['Enter', TableKey.Play], ['Escape', TableKey.Clear], ['p', TableKey.Pass], ['P', TableKey.Pass],
    ['h', TableKey.Hint], ['ArrowLeft', TableKey.Left], ['ArrowRight', TableKey.Right], [' ', TableKey.Toggle],
    ['ArrowUp', TableKey.Raise], ['ArrowDown', TableKey.Lower], ['T', TableKey.AutoPlay], ['x', undefined],
  ];
  for (const [key, expected] of table) assert.equal(keyFor(key), expected, key);
});

test('a remembered login survives whatever the store holds', () => {
  const store = new Map<string, string>();
  const storage = { getItem: (k: string) => store.get(k) ?? null, setItem: (k: string, v: string) => void store.set(k, v) };
  assert.deepEqual(readLogin(storage), DEFAULT_LOGIN);
  const choice = { name: '张三', head: 40, service: 20, table: 1000999, seat: 3 };
  saveLogin(storage, choice);
  assert.deepEqual(readLogin(storage), choice);
  for (const bad of ['{', '[]', '"x"', '{"name":5,"head":99,"service":-1,"table":1.5,"seat":"2"}']) {
    store.set('quarn.login', bad);
    const read = readLogin(storage);
    assert.deepEqual({ ...read, name: '' }, { ...DEFAULT_LOGIN });
  }
});

test('card faces match the core: every number has the core\'s name', async () => {
  const quarn = await loadQuarn(web);
  const suits = ['方块', '梅花', '红心', '黑桃'];
  for (let card = 1; card <= 108; card++) {
    const name = quarn.cardName(card);
    const rank = rankOf(card);
    if (rank >= 14) assert.equal(name, rank === 14 ? '小王' : '大王');
    else assert.ok(name.startsWith(suits[suitOf(card)]!), `${card} ${name}`);
  }
  assert.equal(quarn.cardName(0), '');
});

// English: the page picks it by ?lang=, the remembered choice or the browser,
// has every text of its own in it, and the window's catalogue turns the
// game's texts from the C++ into English too.
test('the page and the game speak English when asked', async () => {
  const cases: [string | null, string | null, string[], Language][] = [
    [null, null, ['de-DE', 'en-US'], 'en'],
    [null, null, ['fr'], 'zh'],
    [null, 'zh', ['en-US'], 'zh'],
    ['en', 'zh', ['zh-CN'], 'en'],
    ['xx', 'en', [], 'en'],
  ];
  for (const [query, stored, browser, expected] of cases) assert.equal(pickLanguage(query, stored, browser), expected);
  for (const [key, text] of Object.entries(en)) {
    const texts = Array.isArray(text) ? text : [text];
    assert.ok(texts.every((t) => !/[\u3000-\u9fff\uff00-\uffef]/.test(t)), `${key}: ${String(text)}`);
  }
  const quarn = await loadQuarn(web);
  assert.equal(quarn.hintNothingBeats(), '没有大过上家的牌，不要吧（P）');
  const catalogue = parseCatalogue(readFileSync(join(env('QUARN_SOURCE'), 'client/translations/quarn_en.ts'), 'utf8'));
  assert.ok(catalogue.some(([context, source, text]) => context === 'Cards' && source === '黑桃' && text === '♠'));
  for (const [context, source, text] of catalogue) quarn.addText(context, source, text);
  assert.equal(quarn.hintNothingBeats(), 'Nothing beats the table; pass (P)');
  const client = new quarn.WebClient();
  assert.ok(client.login('ann', '', 1, 1, 1, 0));
  client.takeEvents();
  client.connectionLost();
  const lost = (JSON.parse(client.takeEvents()) as Array<{ type: string; caption?: string; text?: string }>).find((e) => e.type === 'message');
  assert.deepEqual([lost?.caption, lost?.text], ['Warning', 'Sorry, the connection is lost!']);
});

// The golden packets of the C++ tests: the page decodes them as quarn-dump does.
function goldenStream(text: string): Uint8Array {
  const bytes: number[] = [];
  let packet: number[] | null = null;
  const finish = () => {
    if (packet) bytes.push(...packet);
    packet = null;
  };
  for (const raw of text.split('\n')) {
    const line = raw.replace(/#.*/, '');
    if (!line.trim()) continue;
    if (!/^\s/.test(line)) {
      finish();
      packet = [];
      continue;
    }
    const match = /^\s+(\d+):\s*([0-9A-Fa-f ]+)$/.exec(line);
    if (!match || !packet) continue;
    const at = Number(match[1]);
    const hex = match[2]!.replace(/\s+/g, '');
    for (let i = 0; i < hex.length / 2; i++) {
      while (packet.length <= at + i) packet.push(0);
      packet[at + i] = Number.parseInt(hex.slice(2 * i, 2 * i + 2), 16);
    }
  }
  finish();
  return Uint8Array.from(bytes);
}

test('the golden packets decode alike in the page and in quarn-dump', async () => {
  const quarn = await loadQuarn(web);
  const stream = goldenStream(readFileSync(join(env('QUARN_SOURCE'), 'tests/protocol/vectors.txt'), 'utf8'));
  const native = execFileSync(join(bin, 'quarn-dump'), ['-'], { input: stream })
    .toString('utf8')
    .split('\n')
    .filter((line) => line.startsWith('#'))
    .map((line) => line.replace(/ @\d+ /, ' '));
  const page = quarn.describeStream(stream).trimEnd().split('\n');
  assert.ok(native.length >= 20, `${native.length} golden packets`);
  assert.deepEqual(page, native);
});

test('names go out in GBK as the native programs write them, cut at 15 bytes', async () => {
  const quarn = await loadQuarn(web);
  const gbk = new TextDecoder('gbk');
  for (const name of ['abc', '张三', '电脑北', '一二三四五六七八', 'ａｂ€', 'x😀y']) {
    const client = new quarn.WebClient();
    assert.ok(client.login(name, '', 1, 1, 1, 0));
    const [packet] = client.takePackets();
    assert.ok(packet && packet.length === 180);
    const field = packet.subarray(48, 64);
    const end = field.indexOf(0);
    const decoded = gbk.decode(field.subarray(0, end));
    const expected = execFileSync('iconv', ['-c', '-f', 'UTF-8', '-t', 'GBK'], { input: name.replace('😀', '?') });
    assert.equal(decoded, gbk.decode(expected.subarray(0, end)), name);
    assert.ok(end <= 15);
  }
});

test('a refused login leaves the page free to log in afresh', async () => {
  const quarn = await loadQuarn(web);
  const client = new quarn.WebClient();
  assert.ok(client.login('张三', 'wrong', 1, 1, 1, 0));
  const [request] = client.takePackets();
  assert.ok(request);
  // The server answers in the request's own buffer: the reply's type, table -1, seat 255.
  const reply = request.slice();
  const type = reply.findIndex((b, i) => b === 0xab && reply[i + 1] === 0xab && reply[i + 2] === 0x00 && reply[i + 3] === 0xc1);
  reply[type + 2] = 0x01;
  reply.fill(0xff, 164, 169);
  client.takeEvents();
  assert.equal(client.feed(reply), 1);
  const events = JSON.parse(client.takeEvents()) as Array<{ type: string; state?: number }>;
  assert.deepEqual(events.map((e) => e.type), ['state', 'refused']);
  assert.equal(events[0]?.state, 0); // Offline
  assert.equal(client.hasLogin(), false); // no reconnect with what was refused
});
