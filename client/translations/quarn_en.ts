<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Cards</name>
    <message>
        <source>选牌错误或者操作发生错误：</source>
        <translation>Wrong cards chosen or a failed action: </translation>
    </message>
    <message>
        <source>方块</source>
        <translation>♦</translation>
    </message>
    <message>
        <source>梅花</source>
        <translation>♣</translation>
    </message>
    <message>
        <source>红心</source>
        <translation>♥</translation>
    </message>
    <message>
        <source>黑桃</source>
        <translation>♠</translation>
    </message>
    <message>
        <source>小王</source>
        <translation>small joker</translation>
    </message>
    <message>
        <source>大王</source>
        <translation>big joker</translation>
    </message>
    <message>
        <source>未知错误。</source>
        <translation>Unknown error.</translation>
    </message>
    <message>
        <source>单张牌错误。</source>
        <translation>Wrong single.</translation>
    </message>
    <message>
        <source>对牌错误。</source>
        <translation>Wrong pair.</translation>
    </message>
    <message>
        <source>组牌错误。</source>
        <translation>Wrong triple.</translation>
    </message>
    <message>
        <source>炸弹牌错误。</source>
        <translation>Wrong bomb.</translation>
    </message>
    <message>
        <source>对牌必须连续。</source>
        <translation>Pairs must run in sequence.</translation>
    </message>
    <message>
        <source>组牌必须连续。</source>
        <translation>Triples must run in sequence.</translation>
    </message>
    <message>
        <source>非法的飞牌。</source>
        <translation>Not a valid plane.</translation>
    </message>
    <message>
        <source>飞牌中不能带王。</source>
        <translation>A plane cannot carry the jokers.</translation>
    </message>
    <message>
        <source>对牌中不能带王。</source>
        <translation>A run of pairs cannot carry the jokers.</translation>
    </message>
    <message>
        <source>这是错误的一把牌，不能出哦。</source>
        <translation>These cards cannot be played together.</translation>
    </message>
    <message>
        <source>未知的一把牌，不给出。</source>
        <translation>Unknown combination; not played.</translation>
    </message>
    <message>
        <source>取到一张非法的扑克。</source>
        <translation>An invalid card was drawn.</translation>
    </message>
    <message>
        <source>手上牌太多啦。</source>
        <translation>Too many cards in the hand.</translation>
    </message>
    <message>
        <source>发牌时出现内部错误！</source>
        <translation>Internal error while dealing!</translation>
    </message>
    <message>
        <source>扑克图形索引出现错误。</source>
        <translation>Wrong card image index.</translation>
    </message>
    <message>
        <source>非法的空地址调用。</source>
        <translation>Invalid null call.</translation>
    </message>
    <message>
        <source>非法牌型</source>
        <translation>invalid</translation>
    </message>
    <message>
        <source>两对</source>
        <translation>two pairs</translation>
    </message>
    <message>
        <source>炸弹带花</source>
        <translation>bomb with extra</translation>
    </message>
    <message>
        <source>单张</source>
        <translation>single</translation>
    </message>
    <message>
        <source>一对</source>
        <translation>pair</translation>
    </message>
    <message>
        <source>一组</source>
        <translation>triple</translation>
    </message>
    <message>
        <source>炸弹</source>
        <translation>bomb</translation>
    </message>
    <message>
        <source>天炸</source>
        <translation>joker bomb</translation>
    </message>
    <message>
        <source>单飞</source>
        <translation>plane</translation>
    </message>
    <message>
        <source>三姊妹</source>
        <translation>three pairs</translation>
    </message>
    <message>
        <source>双三</source>
        <translation>two triples</translation>
    </message>
    <message>
        <source>小火箭</source>
        <translation>small rocket</translation>
    </message>
    <message>
        <source>小导弹</source>
        <translation>small missile</translation>
    </message>
    <message>
        <source>大火箭</source>
        <translation>big rocket</translation>
    </message>
    <message>
        <source>双飞</source>
        <translation>double plane</translation>
    </message>
    <message>
        <source>超级火箭</source>
        <translation>super rocket</translation>
    </message>
    <message>
        <source>大导弹</source>
        <translation>big missile</translation>
    </message>
    <message>
        <source>超级导弹</source>
        <translation>super missile</translation>
    </message>
    <message>
        <source>三飞</source>
        <translation>triple plane</translation>
    </message>
    <message>
        <source>超级大火箭</source>
        <translation>super big rocket</translation>
    </message>
    <message>
        <source>超级大导弹</source>
        <translation>super big missile</translation>
    </message>
    <message>
        <source>四飞</source>
        <translation>quad plane</translation>
    </message>
    <message>
        <source>地飞</source>
        <translation>earth plane</translation>
    </message>
    <message>
        <source>无敌大火箭</source>
        <translation>invincible rocket</translation>
    </message>
    <message>
        <source>天飞</source>
        <translation>sky plane</translation>
    </message>
    <message>
        <source>无敌大导弹</source>
        <translation>invincible missile</translation>
    </message>
</context>
<context>
    <name>Quarn</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>发牌，%1 先叫</source>
        <translation>Deal; %1 bids first</translation>
    </message>
    <message>
        <source>%1 不叫</source>
        <translation>%1 passes</translation>
    </message>
    <message>
        <source>%1 叫 %2 分</source>
        <translation>%1 bids %2</translation>
    </message>
    <message>
        <source>，%1 当地主（%2 分）</source>
        <translation>; %1 is the landlord (%2 points)</translation>
    </message>
    <message>
        <source>%1 不出</source>
        <translation>%1 passes</translation>
    </message>
    <message>
        <source>%1 出 %2</source>
        <translation>%1 plays %2</translation>
    </message>
    <message>
        <source>请在英雄榜的回放页选择一局</source>
        <translation>Choose a game on the hall of fame&apos;s replay page</translation>
    </message>
    <message>
        <source>正在接收第 %1 局……</source>
        <translation>Receiving game %1…</translation>
    </message>
    <message>
        <source>第 %1 局没有完整收到，无法回放</source>
        <translation>Game %1 did not arrive whole; no replay</translation>
    </message>
    <message>
        <source>第 %1 局的记录有误，无法回放（%2）</source>
        <translation>Game %1&apos;s record is damaged; no replay (%2)</translation>
    </message>
    <message>
        <source>服务器上没有你的第 %1 局</source>
        <translation>The server has no game %1 of yours</translation>
    </message>
    <message>
        <source>呵呵，一缺三，喂——有人玩吗？（回音...）</source>
        <translation>One seated, three to go. Anyone there? (echo...)</translation>
    </message>
    <message>
        <source>一桌哥俩好嘞，哥们，二缺二，怎么样？</source>
        <translation>Two of us here, two seats free. Coming?</translation>
    </message>
    <message>
        <source>三缺一啦，三缺一啦...</source>
        <translation>Three here, one seat free...</translation>
    </message>
    <message>
        <source>Vardel吧，来来来——就两把！</source>
        <translation>Vardel! Come on, just a couple of games!</translation>
    </message>
    <message>
        <source>竞价：%1</source>
        <translation>Bid: %1</translation>
    </message>
    <message>
        <source>我是小Lumo，让我们斗呀斗呀Vardel...</source>
        <translation>I&apos;m little Lumo, let&apos;s play Vardel...</translation>
    </message>
    <message>
        <source>已经向服务器注册，等待应答...</source>
        <translation>Logged in to the server, waiting for an answer...</translation>
    </message>
    <message>
        <source>等待发牌，您歇会儿先...</source>
        <translation>Waiting for the deal, take a rest...</translation>
    </message>
    <message>
        <source>别烦，轮到咱家了...</source>
        <translation>Hush, it&apos;s my turn...</translation>
    </message>
    <message>
        <source>叫牌，叫牌，叫牌，烦什么烦？！</source>
        <translation>Bid, bid, bid, why the fuss?!</translation>
    </message>
    <message>
        <source>嘘——，%1正在叫牌呢...</source>
        <translation>Shh, %1 is bidding...</translation>
    </message>
    <message>
        <source>嘿嘿，%1，请出牌吧...</source>
        <translation>Hey %1, your play...</translation>
    </message>
    <message>
        <source>等待%1出牌...</source>
        <translation>Waiting for %1 to play...</translation>
    </message>
    <message>
        <source>程序状态出错了，请写信告诉我们：%1</source>
        <translation>The program is in a wrong state; please write to %1</translation>
    </message>
    <message>
        <source>%1出的一手&quot;%2&quot;</source>
        <translation>%1 led a &quot;%2&quot;</translation>
    </message>
    <message>
        <source>赢家就是我%1，发啦，发啦！</source>
        <translation>The winner is me, %1! Rich, rich!</translation>
    </message>
    <message>
        <source>赢家是%1，哎，让这个臭皮蛋赚了...</source>
        <translation>The winner is %1. Oh well, the rascal wins...</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>“某某”是地主，我们斗呀斗呀Vardel！</source>
        <translation>&quot;Someone&quot; is the landlord, let&apos;s play Vardel!</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>系统初始化尚未完成！</source>
        <translation>The program has not finished starting!</translation>
    </message>
    <message>
        <source>对不起，网络断线啦！</source>
        <translation>Sorry, the connection is lost!</translation>
    </message>
    <message>
        <source>通信模块发现错误！</source>
        <translation>The connection reported an error!</translation>
    </message>
    <message>
        <source>你不可以PASS自己耶，宝贝。</source>
        <translation>You cannot pass your own lead, dear.</translation>
    </message>
    <message>
        <source>嘿！先登录到服务器上再说啊。</source>
        <translation>Hey! Log in to a server first.</translation>
    </message>
    <message>
        <source>没有大过上家的牌，不要吧（P）</source>
        <translation>Nothing beats the table; pass (P)</translation>
    </message>
    <message>
        <source>，地主胜</source>
        <translation>, the landlord wins</translation>
    </message>
    <message>
        <source>，地主败</source>
        <translation>, the landlord loses</translation>
    </message>
    <message>
        <source>观看第%1桌：%2正在叫牌</source>
        <translation>Watching table %1: %2 is bidding</translation>
    </message>
    <message>
        <source>观看第%1桌：等待%2出牌</source>
        <translation>Watching table %1: %2 to play</translation>
    </message>
    <message>
        <source>观看第%1桌：等待发牌</source>
        <translation>Watching table %1: waiting for the deal</translation>
    </message>
    <message>
        <source>观看第%1桌：%2人入座，等待开局</source>
        <translation>Watching table %1: %2 seated, waiting for the game</translation>
    </message>
    <message>
        <source>观看第%1桌 - Vardel</source>
        <translation>Watching table %1 - Vardel</translation>
    </message>
    <message>
        <source>这张桌子的观众已经满了，请换一张桌子。</source>
        <translation>This table has all the watchers it may have; please pick another table.</translation>
    </message>
    <message>
        <source>服务器上没有这张桌子。</source>
        <translation>The server has no such table.</translation>
    </message>
    <message>
        <source>这个服务器不让观看。</source>
        <translation>This server does not let anyone watch.</translation>
    </message>
    <message>
        <source>%1（观众）：%2</source>
        <translation>%1 (watching): %2</translation>
    </message>
    <message>
        <source>服务器拒绝了登录：这一桌的座位已满，或这个名字的密码不对。</source>
        <translation>The server refused the login: the table is full, or the name has another password.</translation>
    </message>
</context>
<context>
    <name>Seat</name>
    <message>
        <source>东</source>
        <translation>East</translation>
    </message>
    <message>
        <source>北</source>
        <translation>North</translation>
    </message>
    <message>
        <source>西</source>
        <translation>West</translation>
    </message>
    <message>
        <source>南</source>
        <translation>South</translation>
    </message>
</context>
<context>
    <name>SeatLetter</name>
    <message>
        <source>东</source>
        <translation>E</translation>
    </message>
    <message>
        <source>北</source>
        <translation>N</translation>
    </message>
    <message>
        <source>西</source>
        <translation>W</translation>
    </message>
    <message>
        <source>南</source>
        <translation>S</translation>
    </message>
</context>
<context>
    <name>TFormGameResult</name>
    <message>
        <source>名次</source>
        <translation>Rank</translation>
    </message>
    <message>
        <source>玩家</source>
        <translation>Player</translation>
    </message>
    <message>
        <source>局数</source>
        <translation>Games</translation>
    </message>
    <message>
        <source>胜局</source>
        <translation>Won</translation>
    </message>
    <message>
        <source>地主胜/局</source>
        <translation>Lord won/games</translation>
    </message>
    <message>
        <source>积分</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>桌</source>
        <translation>Table</translation>
    </message>
    <message>
        <source>东 北 西 南（*地主）</source>
        <translation>East North West South (*landlord)</translation>
    </message>
    <message>
        <source>得分</source>
        <translation>Score</translation>
    </message>
</context>
<context>
    <name>TFormReplay</name>
    <message>
        <source>不出</source>
        <translation>Pass</translation>
    </message>
    <message>
        <source> 地主</source>
        <translation> landlord</translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>托管中：电脑替这位玩家出牌</source>
        <translation>Auto-play: the computer plays for this player</translation>
    </message>
    <message>
        <source>超时两次，托管中：电脑替这位玩家出牌，直到玩家自己出牌</source>
        <translation>Timed out twice: the computer plays for this player until the player plays again</translation>
    </message>
    <message>
        <source>掉线：电脑替这位玩家出牌，玩家可以重新登录回来</source>
        <translation>Disconnected: the computer plays for this player, who may log in again</translation>
    </message>
</context>
<context>
    <name>quarn::client::TCardCounter</name>
    <message>
        <source>记牌器：每种牌还有几张没见过（两副牌，减去自己的牌和出过的牌）</source>
        <translation>Card counter: how many of each rank are still unseen (two decks, less your own cards and those played)</translation>
    </message>
    <message>
        <source>小</source>
        <translation>SJ</translation>
    </message>
    <message>
        <source>大</source>
        <translation>BJ</translation>
    </message>
</context>
<context>
    <name>quarn::client::TDlgHead</name>
    <message>
        <source>玩家图标选择窗</source>
        <translation>Choose a player icon</translation>
    </message>
</context>
<context>
    <name>quarn::client::TDlgIconPicker</name>
    <message>
        <source>确定(&amp;Y)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>放弃(&amp;N)</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>quarn::client::TDlgService</name>
    <message>
        <source>选择服务项目的窗口</source>
        <translation>Choose a service</translation>
    </message>
</context>
<context>
    <name>quarn::client::TFormBid</name>
    <message>
        <source>叫牌窗</source>
        <translation>Bid</translation>
    </message>
    <message>
        <source>玩家某某所叫点数为：</source>
        <translation>The bid so far:</translation>
    </message>
    <message>
        <source>我要的点数：</source>
        <translation>My bid:</translation>
    </message>
    <message>
        <source>确认(&amp;Y)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>放弃(&amp;N)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>“%1”不是有效的点数。</source>
        <translation>&quot;%1&quot; is not a valid bid.</translation>
    </message>
    <message>
        <source>太小气了一点点吧？</source>
        <translation>A bit stingy, aren&apos;t we?</translation>
    </message>
    <message>
        <source>叫牌点数最多为%1点。</source>
        <translation>A bid is at most %1 points.</translation>
    </message>
</context>
<context>
    <name>quarn::client::TFormGameResult</name>
    <message>
        <source>“Vardel”英雄榜</source>
        <translation>Vardel hall of fame</translation>
    </message>
    <message>
        <source>本次登录</source>
        <translation>This session</translation>
    </message>
    <message>
        <source>排行榜</source>
        <translation>Standings</translation>
    </message>
    <message>
        <source>观看回放</source>
        <translation>Watch replay</translation>
    </message>
    <message>
        <source>%1家:%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>回放</source>
        <translation>Replays</translation>
    </message>
    <message>
        <source>第 %1 局</source>
        <translation>Game %1</translation>
    </message>
</context>
<context>
    <name>quarn::client::TFormLogin</name>
    <message>
        <source>登录到“Vardel”服务器</source>
        <translation>Log in to a Vardel server</translation>
    </message>
    <message>
        <source>姓名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>服务器</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>桌号</source>
        <translation>Table</translation>
    </message>
    <message>
        <source>方位</source>
        <translation>Seat</translation>
    </message>
    <message>
        <source>东</source>
        <translation>East</translation>
    </message>
    <message>
        <source>北</source>
        <translation>North</translation>
    </message>
    <message>
        <source>西</source>
        <translation>West</translation>
    </message>
    <message>
        <source>南</source>
        <translation>South</translation>
    </message>
    <message>
        <source>头像</source>
        <translation>Player icon (double-click to change)</translation>
    </message>
    <message>
        <source>服务</source>
        <translation>Service (double-click to change)</translation>
    </message>
    <message>
        <source>双击换头像</source>
        <translation>Dbl-click</translation>
    </message>
    <message>
        <source>双击换服务</source>
        <translation>Dbl-click</translation>
    </message>
    <message>
        <source>Vardel 四人斗地主
两副牌，一人当地主</source>
        <translation>Vardel for four
two decks, one lord</translation>
    </message>
    <message>
        <source>登录(&amp;L)</source>
        <translation>&amp;Login</translation>
    </message>
    <message>
        <source>放弃(&amp;A)</source>
        <translation>C&amp;ancel</translation>
    </message>
    <message>
        <source>玩家名字必须输入!</source>
        <translation>Please enter a player name!</translation>
    </message>
    <message>
        <source>请检查服务器网络地址设置。</source>
        <translation>Please check the server&apos;s address.</translation>
    </message>
    <message>
        <source>确定要向此服务器登录吗？</source>
        <translation>Log in to this server?</translation>
    </message>
    <message>
        <source>语言</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>任意桌子</source>
        <translation>Any table</translation>
    </message>
    <message>
        <source>等人</source>
        <translation>waiting</translation>
    </message>
    <message>
        <source>发牌</source>
        <translation>dealing</translation>
    </message>
    <message>
        <source>叫分</source>
        <translation>bidding</translation>
    </message>
    <message>
        <source>出牌</source>
        <translation>playing</translation>
    </message>
    <message>
        <source>第%1桌 %2 %3/4人</source>
        <translation>Table %1 %2 %3/4</translation>
    </message>
    <message>
        <source> 观众%1</source>
        <translation> %1 watching</translation>
    </message>
    <message>
        <source>服务器上正在使用的桌子；选一张桌子和它的空位</source>
        <translation>The tables in use on the server; pick a table and a free seat</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>观看(&amp;W)</source>
        <translation>&amp;Watch</translation>
    </message>
    <message>
        <source>不入座，观看选中的桌子</source>
        <translation>Watch the chosen table without taking a seat</translation>
    </message>
    <message>
        <source>服务器没有回答观看请求。</source>
        <translation>The server did not answer the request to watch.</translation>
    </message>
</context>
<context>
    <name>quarn::client::TFormReplay</name>
    <message>
        <source>牌局回放</source>
        <translation>Game replay</translation>
    </message>
    <message>
        <source>开头</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>上一步</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>下一步</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>结尾</source>
        <translation>End</translation>
    </message>
    <message>
        <source>第 %1 / %2 步</source>
        <translation>Step %1 of %2</translation>
    </message>
</context>
<context>
    <name>quarn::client::TFormTalk</name>
    <message>
        <source>讲话(&amp;Y)</source>
        <translation>&amp;Say</translation>
    </message>
    <message>
        <source>隐藏(&amp;H)</source>
        <translation>&amp;Hide</translation>
    </message>
</context>
<context>
    <name>quarn::client::TMainForm</name>
    <message>
        <source>禁</source>
        <translation>M</translation>
    </message>
    <message>
        <source>禁止谈话</source>
        <translation>Mute the chat</translation>
    </message>
    <message>
        <source>谈</source>
        <translation>T</translation>
    </message>
    <message>
        <source>允许谈话</source>
        <translation>Allow the chat</translation>
    </message>
    <message>
        <source>榜</source>
        <translation>R</translation>
    </message>
    <message>
        <source>看看排行榜吧。</source>
        <translation>See the standings.</translation>
    </message>
    <message>
        <source>侍</source>
        <translation>W</translation>
    </message>
    <message>
        <source>Waiter!</source>
        <translation>Waiter!</translation>
    </message>
    <message>
        <source>登录(&amp;L)</source>
        <translation>&amp;Login</translation>
    </message>
    <message>
        <source>登录（回车）</source>
        <translation>Log in (Enter)</translation>
    </message>
    <message>
        <source>出牌(&amp;C)</source>
        <translation>Pla&amp;y</translation>
    </message>
    <message>
        <source>出选中的牌（回车，或在桌上点右键）</source>
        <translation>Play the chosen cards (Enter, or right-click the table)</translation>
    </message>
    <message>
        <source>叫牌(&amp;J)</source>
        <translation>&amp;Bid</translation>
    </message>
    <message>
        <source>叫牌（回车）</source>
        <translation>Bid (Enter)</translation>
    </message>
    <message>
        <source>重选(&amp;R)</source>
        <translation>&amp;Reset</translation>
    </message>
    <message>
        <source>放下所有选中的牌（Esc）</source>
        <translation>Put back every chosen card (Esc)</translation>
    </message>
    <message>
        <source>不要（P）</source>
        <translation>Pass (P)</translation>
    </message>
    <message>
        <source>退出(&amp;Q)</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>提示(&amp;H)</source>
        <translation>&amp;Hint</translation>
    </message>
    <message>
        <source>提示（H）：先是电脑的出法，再按换下一手能管上的牌</source>
        <translation>Hint (H): first the computer&apos;s play; press again for the next play that beats the table</translation>
    </message>
    <message>
        <source>记牌器</source>
        <translation>Counter</translation>
    </message>
    <message>
        <source>记牌器：显示每种牌还有几张没见过</source>
        <translation>Card counter: how many of each rank are still unseen</translation>
    </message>
    <message>
        <source>托管(&amp;T)</source>
        <translation>&amp;Auto</translation>
    </message>
    <message>
        <source>托管（T）：让电脑替你出牌；再按一次自己来</source>
        <translation>Auto-play (T): the computer plays for you; press again to play yourself</translation>
    </message>
    <message>
        <source>重新连接(&amp;E)</source>
        <translation>R&amp;econnect</translation>
    </message>
    <message>
        <source>用刚才的名字和密码重新登录，回到原来的座位</source>
        <translation>Log in again with the same name and password, back to your seat</translation>
    </message>
    <message>
        <source>托</source>
        <translation>A</translation>
    </message>
    <message>
        <source>还剩%1秒，时间到了电脑替他出牌</source>
        <translation>%1 s left; then the computer plays for this player</translation>
    </message>
    <message>
        <source>点牌选中或放下；按住拖过一串牌一起选上或放下
键盘：← → 移动，空格 选上/放下，↑ 选上，↓ 放下，回车 出牌，Esc 重选</source>
        <translation>Click a card to choose it or put it back; drag across cards to do so for all of them
Keys: ← → move, Space choose/put back, ↑ choose, ↓ put back, Enter play, Esc reset</translation>
    </message>
    <message>
        <source>观看第%1桌：不入座，看不到各家的手牌</source>
        <translation>Watching table %1: no seat, so no hand is shown</translation>
    </message>
</context>
<context>
    <name>quarn::client::TSeatActView</name>
    <message>
        <source>不要</source>
        <translation>Pass</translation>
    </message>
    <message>
        <source>不
要</source>
        <translation>P
a
s
s</translation>
    </message>
</context>
</TS>
