// Loads the page's WebAssembly in node for the tests: Debian's emscripten
// output reads __dirname, which an ES module lacks, so it is given here and
// the binary is handed over directly.
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import type { QuarnModule } from '../src/quarn';

export async function loadQuarn(webDir: string): Promise<QuarnModule> {
  (globalThis as Record<string, unknown>)['__dirname'] = webDir;
  const module = (await import(join(webDir, 'quarn.mjs'))) as { default: (options: object) => Promise<QuarnModule> };
  return module.default({ wasmBinary: readFileSync(join(webDir, 'quarn.wasm')) });
}

export function env(name: string): string {
  const value = process.env[name];
  if (!value) throw new Error(`${name} is not set`);
  return value;
}
