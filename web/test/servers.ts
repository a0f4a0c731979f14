// Starts quarnd and quarn-bot for the page's tests, each in a scratch folder,
// and stops them by their process ids.
import { ChildProcess, spawn } from 'node:child_process';
import { mkdtempSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

export interface Quarnd {
  process: ChildProcess;
  port: number;
  webPort: number;
  dir: string;
  output: () => string;
}

// With `keepGames`, the finished games go to a game file in the scratch folder.
export async function startQuarnd(bin: string, args: readonly string[] = [], keepGames = false): Promise<Quarnd> {
  const dir = mkdtempSync(join(tmpdir(), 'quarn-web-'));
  const db = keepGames ? ['--db', join(dir, 'games.db')] : [];
  const child = spawn(join(bin, 'quarnd'), ['--port', '0', '--web', '0', '--dir', dir, ...db, ...args], { stdio: ['ignore', 'pipe', 'pipe'] });
  let out = '';
  child.stdout?.on('data', (chunk: Buffer) => (out += chunk.toString('utf8')));
  child.stderr?.on('data', (chunk: Buffer) => (out += chunk.toString('utf8')));
  for (let i = 0; i < 100; i++) {
    const port = /listening on port (\d+)/.exec(out);
    const web = /web port (\d+)/.exec(out);
    if (port && web) return { process: child, port: Number(port[1]), webPort: Number(web[1]), dir, output: () => out };
    if (child.exitCode !== null) break;
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  child.kill('SIGKILL');
  throw new Error(`quarnd did not start: ${out}`);
}

export function startBot(bin: string, port: number, seat: number, name: string, args: readonly string[] = []): ChildProcess {
  return spawn(join(bin, 'quarn-bot'), ['--port', String(port), '--seat', String(seat), '--name', name, ...args], { stdio: 'ignore' });
}

export async function stop(child: ChildProcess): Promise<void> {
  if (child.exitCode !== null || child.signalCode !== null) return;
  const exited = new Promise((resolve) => child.once('exit', resolve));
  child.kill('SIGTERM');
  const timer = setTimeout(() => child.kill('SIGKILL'), 5000);
  await exited;
  clearTimeout(timer);
}
