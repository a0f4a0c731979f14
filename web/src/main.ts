// Boots the page: texts first (the login form shows at once), then the
// WebAssembly, then the table.
import { App } from './app';
import { applyTexts, byId } from './panels';
import { QuarnModule } from './quarn';
import { pickTexts } from './texts';

declare global {
  interface Window {
    quarn?: App;
  }
}

type Factory = (options?: object) => Promise<QuarnModule>;

async function boot(): Promise<void> {
  const texts = pickTexts(navigator.languages);
  applyTexts(texts);
  byId<HTMLButtonElement>('loginSubmit').disabled = true;
  byId('loginNote').textContent = texts.loading;
  try {
    const url = new URL('./quarn.mjs', import.meta.url).href;
    const module = (await import(url)) as { default: Factory };
    const quarn = await module.default();
    byId('loginNote').textContent = '';
    window.quarn = new App(quarn, texts);
  } catch (error) {
    byId('loginNote').textContent = texts.loadFailed;
    console.error(error);
  }
}

void boot();
