// Boots the page: texts first (the login form shows at once), then the
// WebAssembly, then the table.
import { App } from './app';
import { drawIcon } from './draw';
import { applyTexts, byId } from './panels';
import { QuarnModule } from './quarn';
import { LANGUAGE_KEY, Language, parseCatalogue, pickLanguage, textsOf } from './texts';

declare global {
  interface Window {
    quarn?: App;
  }
}

type Factory = (options?: object) => Promise<QuarnModule>;

function remembered(): string | null {
  try {
    return localStorage.getItem(LANGUAGE_KEY);
  } catch {
    return null; // a browser that keeps nothing
  }
}

// The language menu: the choice is remembered and the page loads again in it.
function offerLanguages(language: Language): void {
  const menu = byId<HTMLSelectElement>('language');
  menu.value = language;
  menu.addEventListener('change', () => {
    try {
      localStorage.setItem(LANGUAGE_KEY, menu.value);
    } catch {
      // kept for this visit by the address below
    }
    const url = new URL(location.href);
    url.searchParams.set('lang', menu.value);
    location.assign(url.href);
  });
}

// The game's own texts (status lines, messages, card and combination names)
// come from the C++; in English it takes the window's catalogue.
async function translateGame(quarn: QuarnModule, language: Language): Promise<void> {
  if (language !== 'en') return;
  const response = await fetch(new URL('./quarn_en.xml', import.meta.url).href);
  if (!response.ok) return; // the page stays usable, its own texts in English
  for (const [context, source, text] of parseCatalogue(await response.text())) quarn.addText(context, source, text);
}

// The tab's icon, drawn here like every card.
function showIcon(): void {
  const canvas = document.createElement('canvas');
  canvas.width = canvas.height = 192;
  const ctx = canvas.getContext('2d');
  if (!ctx) return;
  drawIcon(ctx, canvas.width);
  const link = document.querySelector<HTMLLinkElement>('link[rel="icon"]');
  if (link) link.href = canvas.toDataURL('image/png');
}

async function boot(): Promise<void> {
  showIcon();
  const language = pickLanguage(new URLSearchParams(location.search).get('lang'), remembered(), navigator.languages);
  const texts = textsOf(language);
  document.documentElement.lang = language;
  applyTexts(texts);
  offerLanguages(language);
  byId<HTMLButtonElement>('loginSubmit').disabled = true;
  byId('loginNote').textContent = texts.loading;
  try {
    const url = new URL('./quarn.mjs', import.meta.url).href;
    const module = (await import(url)) as { default: Factory };
    const quarn = await module.default();
    await translateGame(quarn, language);
    byId('loginNote').textContent = '';
    window.quarn = new App(quarn, texts);
  } catch (error) {
    byId('loginNote').textContent = texts.loadFailed;
    console.error(error);
  }
}

void boot();
