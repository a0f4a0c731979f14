// The table's keys, as the window has them.
import { TableKey } from './quarn';

export function keyFor(key: string): TableKey | undefined {
  switch (key) {
    case 'Enter':
      return TableKey.Play;
    case 'Escape':
      return TableKey.Clear;
    case 'p':
    case 'P':
      return TableKey.Pass;
    case 'h':
    case 'H':
      return TableKey.Hint;
    case 'ArrowLeft':
      return TableKey.Left;
    case 'ArrowRight':
      return TableKey.Right;
    case ' ':
      return TableKey.Toggle;
    case 'ArrowUp':
      return TableKey.Raise;
    case 'ArrowDown':
      return TableKey.Lower;
    case 't':
    case 'T':
      return TableKey.AutoPlay;
    default:
      return undefined;
  }
}
