// quarnd's web port against bad input: paths that leave the page folder,
// methods, headers that never end or grow too long, and WebSocket messages
// the game cannot take. The client's side of the WebSocket framing is written
// out here on purpose: the server's library must meet broken frames.
import assert from 'node:assert/strict';
import { randomBytes } from 'node:crypto';
import { Socket, connect } from 'node:net';
import { after, before, test } from 'node:test';
import { env } from './wasm_loader';
import { Quarnd, startQuarnd, stop } from './servers';

const bin = env('QUARN_BIN');
let server: Quarnd;
before(async () => (server = await startQuarnd(bin)));
after(async () => stop(server.process));

function open(port: number): Promise<Socket> {
  return new Promise((resolve, reject) => {
    const socket = connect(port, '127.0.0.1', () => resolve(socket));
    socket.once('error', reject);
  });
}

// Everything the server sends until it closes, `enough` says so, or `ms` pass.
function collect(socket: Socket, ms: number, enough = (_: Buffer) => false): Promise<{ data: Buffer; closed: boolean }> {
  return new Promise((resolve) => {
    const chunks: Buffer[] = [];
    const done = (closed: boolean) => resolve({ data: Buffer.concat(chunks), closed });
    const timer = setTimeout(() => done(false), ms);
    socket.on('data', (chunk: Buffer) => {
      chunks.push(chunk);
      if (enough(Buffer.concat(chunks))) {
        clearTimeout(timer);
        done(false);
      }
    });
    socket.once('close', () => {
      clearTimeout(timer);
      done(true);
    });
    socket.once('error', () => undefined);
  });
}

// A whole answer: its header, then Content-Length bytes (none after HEAD).
function answered(data: Buffer, head: boolean): boolean {
  const end = data.indexOf('\r\n\r\n');
  if (end < 0) return false;
  const length = Number(/content-length: *(\d+)/i.exec(data.subarray(0, end).toString('latin1'))?.[1] ?? 0);
  return data.length >= end + 4 + (head ? 0 : length);
}

async function http(raw: string, ms = 3000): Promise<{ data: Buffer; closed: boolean }> {
  const socket = await open(server.webPort);
  const reply = collect(socket, ms, (data) => answered(data, raw.startsWith('HEAD')));
  socket.write(raw);
  const result = await reply;
  socket.destroy();
  return result;
}

function status(data: Buffer): number {
  return Number(/^HTTP\/1\.1 (\d{3})/.exec(data.toString('latin1'))?.[1] ?? 0);
}

test('requests for the page folder and outside it', async () => {
  const table: Array<[string, number]> = [
    ['GET / HTTP/1.1', 200],
    ['GET /app.js HTTP/1.1', 200],
    ['HEAD /quarn.wasm HTTP/1.1', 200],
    ['GET /../CMakeCache.txt HTTP/1.1', 404],
    ['GET /%2e%2e/CMakeCache.txt HTTP/1.1', 404],
    ['GET /%2E%2E%2F%2E%2E%2Fquarnd HTTP/1.1', 404],
    ['GET /web/../../quarnd HTTP/1.1', 404],
    ['GET //etc/passwd HTTP/1.1', 404],
    ['GET /./index.html HTTP/1.1', 404],
    ['GET /..%5c..%5cquarnd HTTP/1.1', 404],
    ['GET /nothing.js HTTP/1.1', 404],
    ['GET http://x/../../etc/passwd HTTP/1.1', 404],
    ['POST / HTTP/1.1', 405],
    ['PUT /index.html HTTP/1.1', 405],
    ['DELETE /index.html HTTP/1.1', 405],
  ];
  for (const [line, expected] of table) {
    const { data } = await http(`${line}\r\nHost: x\r\nConnection: close\r\nContent-Length: 0\r\n\r\n`);
    assert.equal(status(data), expected, line);
    if (line.startsWith('HEAD')) assert.ok(data.length < 1000, 'HEAD sends no body');
  }
});

test('a header that never ends is dropped, one too long is refused', async () => {
  const slow = await open(server.webPort);
  const result = collect(slow, 9000);
  slow.write('GET / HTTP/1.1\r\nHost: x\r\n');
  const started = Date.now();
  const dropped = await result;
  assert.ok(dropped.closed && dropped.data.length === 0, 'dropped without an answer');
  assert.ok(Date.now() - started < 8000);
  const long = await http(`GET / HTTP/1.1\r\nHost: x\r\nX-Long: ${'a'.repeat(20000)}\r\n\r\n`);
  assert.equal(status(long.data), 431);
});

// A client's WebSocket: handshake, then frames (masked, as a client must send).
async function webSocket(path = '/ws'): Promise<{ socket: Socket; reply: string }> {
  const socket = await open(server.webPort);
  const key = randomBytes(16).toString('base64');
  const reply = await new Promise<string>((resolve) => {
    socket.once('data', (chunk: Buffer) => resolve(chunk.toString('latin1')));
    socket.write(`GET ${path} HTTP/1.1\r\nHost: x\r\nUpgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Key: ${key}\r\nSec-WebSocket-Version: 13\r\n\r\n`);
  });
  return { socket, reply };
}

function frame(opcode: number, payload: Buffer, fin = true, masked = true): Buffer {
  const head: number[] = [(fin ? 0x80 : 0) | opcode];
  const maskBit = masked ? 0x80 : 0;
  if (payload.length < 126) head.push(maskBit | payload.length);
  else if (payload.length < 65536) head.push(maskBit | 126, payload.length >> 8, payload.length & 0xff);
  else head.push(maskBit | 127, 0, 0, 0, 0, (payload.length >>> 24) & 0xff, (payload.length >> 16) & 0xff, (payload.length >> 8) & 0xff, payload.length & 0xff);
  if (!masked) return Buffer.concat([Buffer.from(head), payload]);
  const mask = randomBytes(4);
  const body = Buffer.from(payload.map((b, i) => b ^ mask[i % 4]!));
  return Buffer.concat([Buffer.from(head), mask, body]);
}

// The close code of the server's close frame in `data`, or 0.
function closeCode(data: Buffer): number {
  for (let i = 0; i + 3 < data.length; i++) {
    if (data[i] === 0x88 && (data[i + 1]! & 0x7f) >= 2) return data.readUInt16BE(i + 2);
  }
  return 0;
}

test('WebSocket messages the game cannot take close that connection with their code', async () => {
  const table: Array<[string, Buffer, number]> = [
    ['a text message', frame(0x1, Buffer.from('hello')), 1003],
    ['a message over 64 KiB', frame(0x2, Buffer.alloc(70000)), 1009],
    ['a frame with a reserved bit set', frame(0x40 | 0x2, Buffer.from([1, 2, 3])), 1002],
    ['a reserved opcode', frame(0x3, Buffer.from([1])), 1002],
    ['a control frame cut in two', frame(0x9, Buffer.from('ping'), false), 1002],
  ];
  for (const [what, bytes, code] of table) {
    const { socket, reply } = await webSocket();
    assert.match(reply, /^HTTP\/1\.1 101/, what);
    const result = collect(socket, 5000, (data) => closeCode(data) !== 0);
    socket.write(bytes);
    const { data } = await result;
    assert.equal(closeCode(data), code, what);
    socket.destroy();
  }
  const other = await webSocket('/other');
  const early = Buffer.from(other.reply, 'latin1');
  const later = closeCode(early) !== 0 ? Buffer.alloc(0) : (await collect(other.socket, 5000, (data) => closeCode(data) !== 0)).data;
  assert.equal(closeCode(Buffer.concat([early, later])), 1008);
  other.socket.destroy();
});

test('garbage in binary messages is skipped as on TCP: a login after it is answered', async () => {
  const { socket } = await webSocket('/ws?table=1'); // the address the page opens
  const reply = Buffer.from('ABAB01C1', 'hex');
  const result = collect(socket, 3000, (data) => data.includes(reply));
  socket.write(frame(0x2, Buffer.from(randomBytes(300).map((b) => (b === 0xce ? 0 : b)))));
  // A login request split over two messages (as a stream may split it).
  const login = Buffer.alloc(180);
  Buffer.from('CEF1CEF1CEF1CEF1514E120301000000ABAB00C1000000B4', 'hex').copy(login, 0);
  login.writeUInt32BE(1, 32);
  login.write('web', 48);
  login.writeUInt32BE(1, 112);
  login.writeUInt32BE(1, 128);
  login.writeUInt32BE(1, 164);
  Buffer.from('F1CEF1CEF1CEF1CE', 'hex').copy(login, 172);
  socket.write(frame(0x2, login.subarray(0, 70)));
  socket.write(frame(0x2, login.subarray(70)));
  const { data } = await result;
  // The reply comes as binary messages holding whole packets.
  assert.ok(data.includes(reply), 'a login reply came back');
  socket.destroy();
});

// Idle game connections opened in small batches (the listen backlog is short);
// each notes whether the server turned it away (a close frame or a closed socket).
async function holdIdle(count: number, openOne: () => Promise<Socket>): Promise<Array<{ socket: Socket; refused: () => boolean }>> {
  const held: Array<{ socket: Socket; refused: () => boolean }> = [];
  for (let i = 0; i < count; i += 50) {
    const batch = await Promise.all(Array.from({ length: Math.min(50, count - i) }, openOne));
    for (const socket of batch) {
      let refused = socket.destroyed;
      socket.on('data', (data: Buffer) => (refused ||= closeCode(data) !== 0));
      socket.once('close', () => (refused = true));
      socket.on('error', () => undefined);
      held.push({ socket, refused: () => refused });
    }
  }
  return held;
}

// Waits until `done` holds, or `ms` pass.
async function until(done: () => boolean, ms = 3000): Promise<void> {
  for (const end = Date.now() + ms; !done() && Date.now() < end; ) await new Promise((resolve) => setTimeout(resolve, 20));
}

async function webSocketOnly(): Promise<Socket> {
  const { socket, reply } = await webSocket();
  if (closeCode(Buffer.from(reply, 'latin1')) !== 0) socket.destroy();
  return socket;
}

test('1000 idle WebSockets and 1000 idle TCP connections meet the same stranger limit', async () => {
  const strangerLimit = 32; // one table
  const tcp = () => open(server.port);
  for (const [kind, first, other] of [['WebSocket', webSocketOnly, tcp], ['TCP', tcp, webSocketOnly]] as const) {
    const held = await holdIdle(1000, first);
    const kept = () => held.filter((c) => !c.refused()).length;
    await until(() => kept() <= strangerLimit);
    await new Promise((resolve) => setTimeout(resolve, 200)); // no more than those are closed
    assert.equal(kept(), strangerLimit, kind);
    // The limit counts both ports together: one more of the other kind is turned away.
    const [extra] = await holdIdle(1, other);
    await until(() => extra!.refused());
    assert.ok(extra!.refused(), `${kind}: one more on the other port`);
    for (const c of [...held, extra!]) c.socket.destroy();
    await new Promise((resolve) => setTimeout(resolve, 300));
  }
});
