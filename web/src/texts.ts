// Every text the page shows itself, by language: a second language is one
// more object of the same shape. The game's own texts (status lines, messages,
// card and combination names) come from the C++ as the window shows them.
export interface Texts {
  locale: string; // for dates and times
  title: string;
  loading: string;
  loadFailed: string;
  name: string;
  password: string;
  table: string;
  seat: string;
  seats: readonly [string, string, string, string];
  jokers: readonly [string, string]; // small, big: the card counter's labels
  headIcon: string;
  serviceIcon: string;
  login: string;
  play: string;
  bid: string;
  bidPoints: string;
  bidTooSmall: string;
  bidTooLarge: string;
  pass: string;
  bidPass: string;
  reselect: string;
  hint: string;
  autoPlay: string;
  autoMark: string;
  counter: string;
  chat: string;
  send: string;
  hero: string;
  standings: string;
  standingsAsking: string;
  standingsNone: string;
  standingsEmpty: string;
  rank: string;
  player: string;
  wins: string;
  landlordWins: string;
  points: string;
  lastPlayed: string;
  replays: string;
  replay: string;
  replaysNone: string;
  replayArriving: string;
  replayNotWhole: string;
  replayNotSound: string;
  replayNotFound: string;
  time: string;
  landlord: string;
  first: string;
  previous: string;
  next: string;
  last: string;
  close: string;
  reconnect: string;
  reconnecting: string;
  gameOver: string;
  score: string;
  games: string;
  cardsLeft: string;
  nameMissing: string;
  connectFailed: string;
  loginRefused: string;
  passMark: string;
  keysHelp: string;
}

export const zh: Texts = {
  locale: 'zh-CN',
  title: 'Quarn',
  loading: '正在载入…',
  loadFailed: '载入失败，请刷新页面。',
  name: '名字',
  password: '密码',
  table: '桌号',
  seat: '座位',
  seats: ['东', '北', '西', '南'],
  jokers: ['小王', '大王'],
  headIcon: '头像',
  serviceIcon: '服务图标',
  login: '登录',
  play: '出牌',
  bid: '叫牌',
  bidPoints: '叫牌点数',
  bidTooSmall: '太小气了一点点吧？',
  bidTooLarge: '叫牌点数最多为255点。',
  pass: '不要',
  bidPass: '不叫',
  reselect: '重选',
  hint: '提示',
  autoPlay: '托管',
  autoMark: '托',
  counter: '记牌器',
  chat: '聊天',
  send: '发送',
  hero: '英雄榜',
  standings: '排行榜',
  standingsAsking: '正在查询排行榜…',
  standingsNone: '本服务器不保存对局，没有排行榜。',
  standingsEmpty: '还没有打完的对局。',
  rank: '名次',
  player: '玩家',
  wins: '胜局',
  landlordWins: '地主胜/局',
  points: '积分',
  lastPlayed: '最近一局：',
  replays: '我的对局',
  replay: '回放',
  replaysNone: '还没有你打完的对局。',
  replayArriving: '正在取回这一局…',
  replayNotWhole: '这一局没有完整收到，请再试一次。',
  replayNotSound: '这一局的记录重放不通：',
  replayNotFound: '服务器上没有这一局。',
  time: '时间',
  landlord: '地主',
  first: '开头',
  previous: '◀ 上一步',
  next: '下一步 ▶',
  last: '结尾',
  close: '关闭',
  reconnect: '重新连接',
  reconnecting: '网络断线，正在重新连接…',
  gameOver: '本局结束',
  score: '得分',
  games: '局数',
  cardsLeft: '张',
  nameMissing: '请输入名字。',
  connectFailed: '连接不上服务器。',
  loginRefused: '服务器拒绝了登录：这一桌的座位已满，或这个名字的密码不对。',
  passMark: '不要',
  keysHelp: '回车出牌 · P 不要 · H 提示 · Esc 重选 · ←→ 选牌 · 空格 选中 · T 托管',
};

export const en: Texts = {
  locale: 'en-GB',
  title: 'Quarn',
  loading: 'Loading…',
  loadFailed: 'Loading failed; please reload the page.',
  name: 'Name',
  password: 'Password',
  table: 'Table',
  seat: 'Seat',
  seats: ['East', 'North', 'West', 'South'],
  jokers: ['Small joker', 'Big joker'],
  headIcon: 'Icon',
  serviceIcon: 'Service',
  login: 'Log in',
  play: 'Play',
  bid: 'Bid',
  bidPoints: 'Points',
  bidTooSmall: 'A bit stingy, aren\'t we?',
  bidTooLarge: 'A bid is at most 255 points.',
  pass: 'Pass',
  bidPass: 'No bid',
  reselect: 'Reset',
  hint: 'Hint',
  autoPlay: 'Auto',
  autoMark: 'A',
  counter: 'Card counter',
  chat: 'Chat',
  send: 'Send',
  hero: 'Hall of fame',
  standings: 'Standings',
  standingsAsking: 'Asking for the standings…',
  standingsNone: 'This server keeps no games: no standings.',
  standingsEmpty: 'No game finished yet.',
  rank: 'Rank',
  player: 'Player',
  wins: 'Won',
  landlordWins: 'Lord won/games',
  points: 'Points',
  lastPlayed: 'Last game: ',
  replays: 'My games',
  replay: 'Replay',
  replaysNone: 'No finished game of yours yet.',
  replayArriving: 'Fetching this game…',
  replayNotWhole: 'This game did not arrive whole; please try again.',
  replayNotSound: 'This game\'s record does not replay: ',
  replayNotFound: 'The server has no such game.',
  time: 'Time',
  landlord: 'Landlord',
  first: 'Start',
  previous: '◀ Back',
  next: 'Next ▶',
  last: 'End',
  close: 'Close',
  reconnect: 'Reconnect',
  reconnecting: 'Connection lost, reconnecting…',
  gameOver: 'Game over',
  score: 'Score',
  games: 'Games',
  cardsLeft: ' left',
  nameMissing: 'Please enter a name.',
  connectFailed: 'Cannot reach the server.',
  loginRefused: 'The server refused the login: the table is full, or the name has another password.',
  passMark: 'Pass',
  keysHelp: 'Enter play · P pass · H hint · Esc reset · ←→ pick · Space choose · T auto',
};

export type Language = 'zh' | 'en';
const TEXTS: Record<Language, Texts> = { zh, en };
export const LANGUAGE_KEY = 'quarn.lang';

function known(code: string | null | undefined): Language | null {
  const short = (code ?? '').slice(0, 2).toLowerCase();
  return short === 'zh' || short === 'en' ? short : null;
}

// ?lang=, else the one the page remembers, else the first of the browser's
// that we have; Chinese when none is.
export function pickLanguage(query: string | null, remembered: string | null, browser: readonly string[]): Language {
  return known(query) ?? known(remembered) ?? browser.map(known).find((l) => l !== null) ?? 'zh';
}

export function textsOf(language: Language): Texts {
  return TEXTS[language];
}

// The catalogue of the window's translations (client/translations/quarn_en.ts,
// served as quarn_en.xml): context, Chinese source and English, finished ones only.
export function parseCatalogue(xml: string): [string, string, string][] {
  const unescape = (text: string) =>
    text.replace(/&lt;/g, '<').replace(/&gt;/g, '>').replace(/&quot;/g, '"').replace(/&apos;/g, "'").replace(/&amp;/g, '&');
  const out: [string, string, string][] = [];
  for (const context of xml.split('<context>').slice(1)) {
    const name = /<name>([\s\S]*?)<\/name>/.exec(context)?.[1] ?? '';
    for (const message of context.split('<message>').slice(1)) {
      const source = /<source>([\s\S]*?)<\/source>/.exec(message)?.[1];
      const translation = /<translation>([\s\S]*?)<\/translation>/.exec(message)?.[1];
      if (source !== undefined && translation !== undefined) out.push([unescape(name), unescape(source), unescape(translation)]);
    }
  }
  return out;
}
