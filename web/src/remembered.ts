// The login the browser remembers (localStorage): name, icons, table and
// seat. The password is not kept.
export interface LoginChoice {
  name: string;
  head: number;
  service: number;
  table: number;
  seat: number;
}

const KEY = 'quarn.login';
// The highest table servers behind one router may run: 1000 tables from
// quarnd's highest --first-table.
export const HIGHEST_TABLE = 1000999;
export const DEFAULT_LOGIN: LoginChoice = { name: '', head: 1, service: 1, table: 1, seat: 0 };

function inRange(value: unknown, low: number, high: number, fallback: number): number {
  return typeof value === 'number' && Number.isInteger(value) && value >= low && value <= high ? value : fallback;
}

// Whatever the store holds, a usable choice comes back.
export function readLogin(storage: Pick<Storage, 'getItem'>): LoginChoice {
  let raw: unknown;
  try {
    raw = JSON.parse(storage.getItem(KEY) ?? 'null');
  } catch {
    raw = null;
  }
  if (typeof raw !== 'object' || raw === null) return { ...DEFAULT_LOGIN };
  const r = raw as Record<string, unknown>;
  return {
    name: typeof r['name'] === 'string' ? r['name'].slice(0, 15) : '',
    head: inRange(r['head'], 1, 40, 1),
    service: inRange(r['service'], 1, 20, 1),
    table: inRange(r['table'], 1, HIGHEST_TABLE, 1),
    seat: inRange(r['seat'], 0, 3, 0),
  };
}

export function saveLogin(storage: Pick<Storage, 'setItem'>, choice: LoginChoice): void {
  try {
    storage.setItem(KEY, JSON.stringify(choice));
  } catch {
    // A browser that keeps nothing (private mode, full store) still plays.
  }
}
