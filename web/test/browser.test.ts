// The page in a real browser: Debian's chromium, driven by playwright-core,
// against quarnd --web and three quarn-bots. The page logs in, bids, plays a
// whole game to the scores by keyboard and mouse, takes the hint, turns 托管
// on and off, comes back after its WebSocket is cut (kept seats), shows the
// server's standings with the game in them and replays the game. Then a phone (412x915, touch)
// takes the same kept seat back, the page in English. With QUARN_SHOTS set, screenshots of both go
// there.
import assert from 'node:assert/strict';
import { ChildProcess } from 'node:child_process';
import { existsSync, mkdirSync, mkdtempSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { test } from 'node:test';
import type { BrowserContext, Page } from 'playwright-core';
import type { Snapshot } from '../src/quarn';
import { Quarnd, startBot, startQuarnd, stop } from './servers';
import { env } from './wasm_loader';

const CHROMIUM = process.env['QUARN_CHROMIUM'] ?? '/usr/bin/chromium';
const FLAGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];
const shots = process.env['QUARN_SHOTS'];

// GameState values (client/model/game_state.h).
const SEATED = 2;
const MY_BID = 4;
const IN_PLAY = 6;

async function openBrowser(options: object): Promise<BrowserContext> {
  const { chromium } = await import('playwright-core');
  return chromium.launchPersistentContext(mkdtempSync(join(tmpdir(), 'quarn-chromium-')), {
    executablePath: CHROMIUM, headless: true, args: FLAGS, ignoreDefaultArgs: ['--headless=new'], ...options,
  });
}

function state(page: Page): Promise<Snapshot | null> {
  return page.evaluate(() => (window.quarn ? window.quarn.state : null));
}

async function until(page: Page, what: string, test: (s: Snapshot) => boolean, ms = 30000): Promise<Snapshot> {
  const end = Date.now() + ms;
  while (Date.now() < end) {
    const s = await state(page);
    if (s && test(s)) return s;
    await page.waitForTimeout(50);
  }
  throw new Error(`waited in vain for ${what}: ${JSON.stringify(await state(page))}`);
}

async function shot(page: Page, name: string): Promise<void> {
  if (!shots) return;
  mkdirSync(shots, { recursive: true });
  await page.screenshot({ path: join(shots, name) });
}

async function login(page: Page, url: string, name: string): Promise<void> {
  await page.goto(url);
  await page.fill('#loginName', name);
  await page.fill('#loginTable', '1');
  await page.selectOption('#loginSeat', '0');
  await page.click('#headPicker .next');
  await page.click('#loginSubmit:not([disabled])');
  await until(page, 'a seat', (s) => s.state >= SEATED);
}

const ownTurn = (s: Snapshot) => (s.state === MY_BID || (s.state === IN_PLAY && s.buttons.send)) && s.seats[s.ownSeat]?.control === 0;

// One move of the own seat, by keyboard or by mouse.
async function move(page: Page, s: Snapshot, byMouse: boolean): Promise<void> {
  if (s.state === MY_BID) {
    if (s.bidPoints < 3) {
      await page.fill('#bidPoints', String(s.bidPoints + 1));
      await page.press('#bidPoints', 'Enter');
    } else {
      await page.click('#bidPass');
    }
    return;
  }
  if (byMouse) {
    await page.click('#btnHint');
    const after = await state(page);
    if (after && after.hand.some(([, , raised]) => raised)) {
      await page.click('#table', { button: 'right', position: { x: 640, y: 300 } });
    } else {
      await page.click('#btnPass');
    }
  } else {
    await page.keyboard.press('h');
    const after = await state(page);
    await page.keyboard.press(after && after.hand.some(([, , raised]) => raised) ? 'Enter' : 'p');
  }
}

// Drags across the first cards of the hand, then takes them back with Escape.
async function dragAndClear(page: Page): Promise<void> {
  const box = await page.locator('#table').boundingBox();
  assert.ok(box);
  const y = box.y + box.height - 40;
  const middle = box.x + box.width / 2;
  await page.mouse.move(middle - 60, y);
  await page.mouse.down();
  await page.mouse.move(middle + 60, y, { steps: 5 });
  await page.mouse.up();
  const raised = (await state(page))?.hand.filter(([, , r]) => r).length ?? 0;
  assert.ok(raised >= 2, `a drag raised ${raised} cards`);
  await page.keyboard.press('Escape');
  await until(page, 'no raised card', (s) => s.hand.every(([, , r]) => !r));
}

// The standings from the game file: the four players of the games played,
// the own line marked. Then the newest own game replayed, stepped forward,
// back and to its end.
async function standingsAndReplay(page: Page, size: string, english = false): Promise<void> {
  await page.locator('#btnStandings').click();
  await page.waitForSelector('#standingsTable tr.own', { timeout: 10000 });
  const own = await page.locator('#standingsTable tr.own td').allTextContents();
  assert.equal(own[1], '网页玩家');
  assert.ok(Number(own[2]) >= 1, `own line: ${own.join(' ')}`);
  assert.equal(await page.locator('#standingsTable tr:has(td)').count(), 4);
  const replayButton = page.locator('#replaysTable button').first();
  await replayButton.waitFor({ timeout: 10000 });
  await shot(page, `standings-${size}.png`);
  await replayButton.click();
  await page.waitForFunction(() => /^1\/\d+$/.test(document.getElementById('replayStep')?.textContent ?? ''), null, { timeout: 10000 });
  const step = () => page.locator('#replayStep').textContent();
  await page.locator('#replayNext').click();
  await page.locator('#replayNext').click();
  await page.locator('#replayPrevious').click();
  assert.match((await step()) ?? '', /^2\//);
  await page.locator('#replayLast').click();
  const [at, steps] = ((await step()) ?? '').split('/');
  assert.equal(at, steps);
  assert.match((await page.locator('#replayCaption').textContent()) ?? '', english ? /the landlord (wins|loses)$/ : /地主(胜|败)$/);
  await shot(page, `replay-end-${size}.png`);
  for (let i = 0; i < 4; i++) await page.keyboard.press('ArrowLeft');
  assert.equal(await step(), `${Number(steps) - 4}/${steps}`);
  await shot(page, `replay-${size}.png`);
  await page.keyboard.press('Escape');
  assert.ok(await page.isHidden('#replay'));
}

test('a whole game in chromium, by keyboard, mouse and touch', { timeout: 240000 }, async (t) => {
  if (!existsSync(CHROMIUM)) {
    console.log(`SKIP web_browser: no browser at ${CHROMIUM} (apt-get install chromium)`);
    t.skip('no chromium');
    return;
  }
  const bin = env('QUARN_BIN');
  const server: Quarnd = await startQuarnd(bin, ['--bid', '--keep-seats', '--turn-time', '60', '--delay-deal', '50', '--delay-sync', '20'], true);
  const bots: ChildProcess[] = [1, 2, 3].map((seat) => startBot(bin, server.port, seat, `电脑${seat}`, ['--think', '30']));
  const url = `http://127.0.0.1:${server.webPort}/`;
  let desktop: BrowserContext | null = null;
  let phone: BrowserContext | null = null;
  try {
    desktop = await openBrowser({ viewport: { width: 1280, height: 800 }, deviceScaleFactor: 1, locale: 'zh-CN' });
    const page = desktop.pages()[0] ?? (await desktop.newPage());
    await login(page, url, '网页玩家');
    await until(page, 'the deal', (s) => s.hand.length >= 25);
    let moves = 0;
    let autoDone = false;
    let cutDone = false;
    let dragDone = false;
    let shotDone = false;
    const end = Date.now() + 200000;
    while (Date.now() < end) {
      // A game may end before every step was tried: then the next deal.
      const allDone = autoDone && cutDone && dragDone;
      if (allDone && (await page.isVisible('#result'))) break;
      const s = await state(page);
      if (!s) continue;
      if (s.state === IN_PLAY && !dragDone && s.buttons.send && s.hand.length > 4) {
        await dragAndClear(page);
        dragDone = true;
      }
      if (ownTurn(s)) {
        await move(page, s, moves % 2 === 1);
        moves++;
        if (!shotDone && s.state === IN_PLAY) {
          await page.waitForTimeout(300);
          await shot(page, 'desktop-1280x800.png');
          shotDone = true;
        }
      } else if (s.state === IN_PLAY && moves >= 2 && !autoDone) {
        // 托管 on: the server's computer takes the seat; then off again.
        await page.keyboard.press('t');
        await until(page, '托管 on', (x) => x.seats[x.ownSeat]?.control !== 0 || x.state !== IN_PLAY);
        await page.click('#btnAuto');
        await until(page, '托管 off', (x) => x.seats[x.ownSeat]?.control === 0 || x.state !== IN_PLAY);
        autoDone = true;
      } else if (s.state === IN_PLAY && autoDone && !cutDone) {
        const before = s.hand.length;
        await page.evaluate(() => window.quarn?.cutConnection());
        await until(page, 'the seat back after the cut', (x) => x.state >= MY_BID && x.hand.length > 0, 20000);
        assert.ok(before > 0);
        cutDone = true;
      }
      await page.waitForTimeout(40);
    }
    assert.ok(await page.isVisible('#result'), 'the game came to its end');
    const scores = await page.locator('#resultTable td').allTextContents();
    assert.ok(scores.some((text) => /^-?\d+$/.test(text) && text !== '0'), `scores shown: ${scores.join(' ')}`);
    assert.ok(moves > 0 && autoDone && cutDone && dragDone, `moves ${moves} auto ${autoDone} cut ${cutDone}`);
    await shot(page, 'desktop-scores-1280x800.png');
    await standingsAndReplay(page, 'desktop-1280x800');
    await desktop.close();
    desktop = null;

    // The next deal on a phone, in English: a tap raises a card, a slide raises a range.
    phone = await openBrowser({ viewport: { width: 412, height: 915 }, deviceScaleFactor: 2.625, isMobile: true, hasTouch: true });
    const mobile = phone.pages()[0] ?? (await phone.newPage());
    await login(mobile, `${url}?lang=en`, '网页玩家'); // the kept seat of the desktop's player
    assert.equal(await mobile.textContent('#btnSend'), 'Play');
    // The seat is back mid-game, or the next deal comes.
    for (let i = 0; i < 600; i++) {
      const s = await state(mobile);
      if (s && s.state >= IN_PLAY && s.hand.length > 0) break;
      if (s && s.state === MY_BID && (await mobile.isVisible('#bidPass'))) await mobile.tap('#bidPass');
      await mobile.waitForTimeout(100);
    }
    await until(mobile, 'play on the phone', (s) => s.state >= IN_PLAY && s.hand.length > 0, 1000);
    const box = await mobile.locator('#table').boundingBox();
    assert.ok(box);
    await mobile.touchscreen.tap(box.x + box.width / 2, box.y + box.height - 30);
    await until(mobile, 'a tapped card raised', (s) => s.hand.some(([, , r]) => r) || s.state !== IN_PLAY, 5000);
    await shot(mobile, 'phone-412x915.png');
    await standingsAndReplay(mobile, 'phone-412x915', true);
  } finally {
    await desktop?.close();
    await phone?.close();
    for (const bot of bots) await stop(bot);
    await stop(server.process);
  }
});
