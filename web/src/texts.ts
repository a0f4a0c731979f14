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
  passMark: '不要',
  keysHelp: '回车出牌 · P 不要 · H 提示 · Esc 重选 · ←→ 选牌 · 空格 选中 · T 托管',
};

// The page's language: the one the browser prefers among those we have.
export function pickTexts(languages: readonly string[]): Texts {
  const known: Record<string, Texts> = { zh };
  for (const language of languages) {
    const found = known[language.slice(0, 2).toLowerCase()];
    if (found) return found;
  }
  return zh;
}
