<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>NamePrompt</name>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>ホシフルツルギ２</source>
        <translation>Hoshifuru Tsurugi 2</translation>
    </message>
    <message>
        <source>ホシフルツルギⅡ</source>
        <translation>Hoshifuru Tsurugi II</translation>
    </message>
    <message>
        <source>名前を教えてちょ</source>
        <translation>Tell me your name, 'kay?</translation>
    </message>
    <message>
        <source>あなた</source>
        <translation>You</translation>
    </message>
    <message>
        <source>ようこそ!冒険の島へ!さあ旅の始まりです。</source>
        <translation>Welcome! To the Island of Adventure! Now your journey begins.</translation>
    </message>
    <message>
        <source>北に向かうことにした。しばらく歩くと怪しい人影を見つけた。</source>
        <translation>You decided to head north. After walking a while, you spotted a suspicious figure.</translation>
    </message>
    <message>
        <source>西に進んでしばらくたつと、前方に小さな人影を見つけた。</source>
        <translation>You went west, and after a while you spotted a small figure up ahead.</translation>
    </message>
    <message>
        <source>先に進むと目の前に城が見える。</source>
        <translation>Moving on, you see a castle before you.</translation>
    </message>
    <message>
        <source>%1は先に進むためしばらく歩いた。</source>
        <translation>%1 walked on for a while.</translation>
    </message>
    <message>
        <source>！！！！！！！</source>
        <translation>!!!!!!!</translation>
    </message>
    <message>
        <source>%1はホシフル城の中に入ってみた。</source>
        <translation>%1 stepped inside Hoshifuru Castle.</translation>
    </message>
    <message>
        <source>城に入らず先に進むことにした。</source>
        <translation>You decided to pass the castle by and move on.</translation>
    </message>
    <message>
        <source>しばらく歩いて行くとどうやら迷いの森に迷い込んだようだ。</source>
        <translation>After walking a while, it seems you have strayed into the Lost Woods.</translation>
    </message>
    <message>
        <source>%1は立ち去ることにした。 </source>
        <translation>%1 decided to leave. </translation>
    </message>
    <message>
        <source>しばらく歩いていると.....。</source>
        <translation>You walked on for a while.....</translation>
    </message>
    <message>
        <source>しばらく進むとモンスターに遭遇した。</source>
        <translation>Before long, you ran into a monster.</translation>
    </message>
    <message>
        <source>%1は『マリリン・サンダ―』の魔法を覚えた。</source>
        <translation>%1 learned the spell “Marilyn Thunder”.</translation>
    </message>
    <message>
        <source>そして新たに冒険を再開した。</source>
        <translation>And so the adventure began anew.</translation>
    </message>
    <message>
        <source>しばらく歩いていると小さな街を見つけた。</source>
        <translation>After walking a while, you found a small town.</translation>
    </message>
    <message>
        <source>バ――ン！</source>
        <translation>BA-BAAM!</translation>
    </message>
    <message>
        <source>スライムを倒した。</source>
        <translation>You defeated the slime.</translation>
    </message>
    <message>
        <source>するとスライムが立ちあがって仲間になりたそうにしています。</source>
        <translation>Then the slime got back up. It looks like it wants to join you.</translation>
    </message>
    <message>
        <source>必死にスライムから逃げようとしたらかなり遠くまで来てしまった。</source>
        <translation>You fled the slime so desperately that you ended up quite far away.</translation>
    </message>
    <message>
        <source>どうやら迷いの森に迷い込んだようだ。</source>
        <translation>It seems you have strayed into the Lost Woods.</translation>
    </message>
    <message>
        <source>するとどんどんモンスターや動物たちが寄ってきます。</source>
        <translation>Then more and more monsters and animals come flocking to you.</translation>
    </message>
    <message>
        <source>とりあえず先に進むことにした。</source>
        <translation>You decided to move on for now.</translation>
    </message>
    <message>
        <source>しばらく進むと...。</source>
        <translation>A while later...</translation>
    </message>
    <message>
        <source>%1は動物王国を開くことにした。</source>
        <translation>%1 decided to found an Animal Kingdom.</translation>
    </message>
    <message>
        <source>めでたし。めでたし。</source>
        <translation>And they all lived happily ever after.</translation>
    </message>
    <message>
        <source>先に進むことにした。しばらく進むと...。</source>
        <translation>You decided to move on. A while later...</translation>
    </message>
    <message>
        <source>城から出ることにした。</source>
        <translation>You decided to leave the castle.</translation>
    </message>
    <message>
        <source>城から出てしばらく歩いているとどうやら迷いの森に迷いこんだようだ</source>
        <translation>After leaving the castle and walking a while, it seems you have strayed into the Lost Woods.</translation>
    </message>
    <message>
        <source>残念ながら王様は留守だった。</source>
        <translation>Sadly, the King was out.</translation>
    </message>
    <message>
        <source>と言う事で城から出ることにした。</source>
        <translation>So you decided to leave the castle.</translation>
    </message>
    <message>
        <source>とりあえず城内を回ってみることにした。</source>
        <translation>You decided to have a look around the castle.</translation>
    </message>
    <message>
        <source>%1はお城から追い出された。仕方なく先に進むことにした。</source>
        <translation>%1 got thrown out of the castle. No choice but to move on.</translation>
    </message>
    <message>
        <source>しばらく進むと...</source>
        <translation>A while later...</translation>
    </message>
    <message>
        <source>見事に姫は恋に落ちた</source>
        <translation>The princess fell head over heels in love.</translation>
    </message>
    <message>
        <source>二人は幸せな家庭を築くため新たな旅に出た。</source>
        <translation>The two set off on a new journey to build a happy home.</translation>
    </message>
    <message>
        <source>見事にふられてしまった。と言う事で城から出よう。</source>
        <translation>Turned down flat. Well then, time to leave the castle.</translation>
    </message>
    <message>
        <source>しばらくの間歩いていると...。</source>
        <translation>You walked along for some time...</translation>
    </message>
    <message>
        <source>サスライの剣士・ガイ疾風が仲間になった。</source>
        <translation>The wandering swordsman Gai Hayate joined you.</translation>
    </message>
    <message>
        <source>とりあえず二人は城から出て先に進むことにした。</source>
        <translation>For now, the two of you left the castle and moved on.</translation>
    </message>
    <message>
        <source>しばらく進むと....。</source>
        <translation>A while later....</translation>
    </message>
    <message>
        <source>仲間にせずとりあえず一人で先に進むことにした。</source>
        <translation>You turned him down and moved on alone for now.</translation>
    </message>
    <message>
        <source>時間が戻った.....。</source>
        <translation>Time turned back.....</translation>
    </message>
    <message>
        <source>先に進むことにした。</source>
        <translation>You decided to move on.</translation>
    </message>
    <message>
        <source>どうやら迷いの森から抜け出せたようだ。</source>
        <translation>It seems you made it out of the Lost Woods.</translation>
    </message>
    <message>
        <source>大変だ！底無し沼にはまったようだ！</source>
        <translation>Oh no! You seem to be stuck in a bottomless swamp!</translation>
    </message>
    <message>
        <source>街から出てしばらく進むと...。</source>
        <translation>You left the town, and a while later...</translation>
    </message>
    <message>
        <source>悪いけどちょっとそれは品切れなんだよ。</source>
        <translation>Sorry, that one's kinda sold out right now.</translation>
    </message>
    <message>
        <source>すまん！それはもう売りきれちゃったよぉ。</source>
        <translation>My bad! That's all sold out already, aww.</translation>
    </message>
    <message>
        <source>また来て下さいな！</source>
        <translation>Come again, y'hear!</translation>
    </message>
    <message>
        <source>とりあえず逃げ切ることには成功した。</source>
        <translation>Well, at least you managed to get away.</translation>
    </message>
    <message>
        <source>しかしずいぶん遠くまで逃げて来たようだ。</source>
        <translation>But it seems you ran a very long way.</translation>
    </message>
    <message>
        <source>どうやら迷いの森に迷い込んだらしい。</source>
        <translation>Apparently you have strayed into the Lost Woods.</translation>
    </message>
    <message>
        <source>%1は覇王絶滅拳を使った！</source>
        <translation>%1 used the Tyrant Doom Fist!</translation>
    </message>
    <message>
        <source>バシッ！大魔王に５ポイントのダメ―ジをあたえた</source>
        <translation>WHAP! Dealt the Demon King 5 points of damage.</translation>
    </message>
    <message>
        <source>大魔王の攻撃！！</source>
        <translation>The Demon King attacked!!</translation>
    </message>
    <message>
        <source>ドカ――ン！！5000000のダメージをくらった！</source>
        <translation>KA-BOOOM!! You took 5000000 damage!</translation>
    </message>
    <message>
        <source>%1はサンダーストームを使った！</source>
        <translation>%1 used Thunderstorm!</translation>
    </message>
    <message>
        <source>チュドーン！18ポイントのダメージをあたえた。</source>
        <translation>KABLAM! Dealt 18 points of damage.</translation>
    </message>
    <message>
        <source>ボカーン！！3500000のダメージをくらった。</source>
        <translation>BOOM!! You took 3500000 damage.</translation>
    </message>
    <message>
        <source>%1の攻撃！</source>
        <translation>%1 attacked!</translation>
    </message>
    <message>
        <source>ぺこん！</source>
        <translation>Boink!</translation>
    </message>
    <message>
        <source>ぜんぜん効かない</source>
        <translation>Didn't even tickle.</translation>
    </message>
    <message>
        <source>『メラゾーマ！！』</source>
        <translation>“Kafrizzle!!”</translation>
    </message>
    <message>
        <source>チュド―――ン！！</source>
        <translation>KABLAAAAM!!</translation>
    </message>
    <message>
        <source>しかし効かない！</source>
        <translation>But it had no effect!</translation>
    </message>
    <message>
        <source>『ムロマチバクファー！！』</source>
        <translation>“Muromachi Bakufu!!”</translation>
    </message>
    <message>
        <source>22のダメージをあたえた。！</source>
        <translation>Dealt 22 damage!</translation>
    </message>
    <message>
        <source>15のダメージをあたえた！</source>
        <translation>Dealt 15 damage!</translation>
    </message>
    <message>
        <source>『パナソニックス！！』</source>
        <translation>“Panasonix!!”</translation>
    </message>
    <message>
        <source>45のダメージをあたえた！</source>
        <translation>Dealt 45 damage!</translation>
    </message>
    <message>
        <source>『イソノワカメデュ―ム！！』</source>
        <translation>“Isono Wakamedoom!!”</translation>
    </message>
    <message>
        <source>１億３千万のダメージをあたえた！</source>
        <translation>Dealt 130 million damage!</translation>
    </message>
    <message>
        <source>道具は持ってない。</source>
        <translation>You don't have any items.</translation>
    </message>
    <message>
        <source>%1は逃げる事にした。</source>
        <translation>%1 decided to run away.</translation>
    </message>
    <message>
        <source>スタタタタタタタ....</source>
        <translation>Scurry-scurry-scurry....</translation>
    </message>
    <message>
        <source>ずいぶん遠くまで逃げて来たようだ。</source>
        <translation>It seems you ran a very long way.</translation>
    </message>
    <message>
        <source>『くらえ！』</source>
        <translation>“Take this!”</translation>
    </message>
    <message>
        <source>ピキ――――ン！</source>
        <translation>SHIIIIING!</translation>
    </message>
    <message>
        <source>『ステラフィナーレ！！』</source>
        <translation>“Stella Finale!!”</translation>
    </message>
    <message>
        <source>%1『.....。』</source>
        <translation>%1: “.....”</translation>
    </message>
    <message>
        <source>そして世界に平和が戻った。</source>
        <translation>And peace returned to the world.</translation>
    </message>
    <message>
        <source>ズドン！！</source>
        <translation>THOOM!!</translation>
    </message>
    <message>
        <source>1のダメージしか与えられない。</source>
        <translation>You could only deal 1 damage.</translation>
    </message>
    <message>
        <source>ガイ疾風の攻撃</source>
        <translation>Gai Hayate attacked!</translation>
    </message>
    <message>
        <source>スパッ！！</source>
        <translation>SLASH!!</translation>
    </message>
    <message>
        <source>急所を突いた。</source>
        <translation>Struck a vital spot.</translation>
    </message>
    <message>
        <source>そして.....、</source>
        <translation>And then.....,</translation>
    </message>
    <message>
        <source>ドドドドド――――ン！！！！</source>
        <translation>BA-DA-DA-DA-DOOOOM!!!!</translation>
    </message>
    <message>
        <source>大魔王を倒した。</source>
        <translation>You defeated the Demon King.</translation>
    </message>
    <message>
        <source>そして世界は恐怖の大王の魔の手から救われた。</source>
        <translation>And so the world was saved from the clutches of the King of Terror.</translation>
    </message>
</context>
<context>
    <name>accessibility</name>
    <message>
        <source>押すとゲームが終わります</source>
        <translation>Pressing it ends the game</translation>
    </message>
</context>
<context>
    <name>layout</name>
    <message>
        <source>村人の並木さん</source>
        <translation>Mr. Namiki, a villager</translation>
    </message>
    <message>
        <source>嘆きの老人</source>
        <translation>Old Man of Woe</translation>
    </message>
    <message>
        <source>ホシフル城</source>
        <translation>Hoshifuru Castle</translation>
    </message>
    <message>
        <source>大魔王</source>
        <translation>Demon King</translation>
    </message>
    <message>
        <source>森の先生</source>
        <translation>The forest professor</translation>
    </message>
    <message>
        <source>スライム</source>
        <translation>Slime</translation>
    </message>
    <message>
        <source>お姫様</source>
        <translation>Princess</translation>
    </message>
    <message>
        <source>サスライの剣士</source>
        <translation>Wandering swordsman</translation>
    </message>
    <message>
        <source>武器屋の主人</source>
        <translation>The weapon shop's owner</translation>
    </message>
    <message>
        <source>吹き出し「いらっしゃい 何を買う？」</source>
        <translation>Speech balloon: “Welcome! What'll it be?”</translation>
    </message>
    <message>
        <source>自由の酪農家</source>
        <translation>Liberty Farmer</translation>
    </message>
    <message>
        <source>龍神の弟</source>
        <translation>Ryujin's brother</translation>
    </message>
    <message>
        <source>分かれ道</source>
        <translation>Crossroads</translation>
    </message>
    <message>
        <source>並木さん</source>
        <translation>Mr. Namiki</translation>
    </message>
    <message>
        <source>仲間たち</source>
        <translation>Companions</translation>
    </message>
    <message>
        <source>ホシフル城の広間</source>
        <translation>Hall of Hoshifuru Castle</translation>
    </message>
    <message>
        <source>時間の井戸</source>
        <translation>Well of Time</translation>
    </message>
    <message>
        <source>迷いの森</source>
        <translation>Lost Woods</translation>
    </message>
    <message>
        <source>梢先生</source>
        <translation>Professor Kozue</translation>
    </message>
    <message>
        <source>ボンジュールの街</source>
        <translation>Town of Bonjour</translation>
    </message>
    <message>
        <source>武器屋</source>
        <translation>Weapon shop</translation>
    </message>
    <message>
        <source>酒場</source>
        <translation>Tavern</translation>
    </message>
    <message>
        <source>魔法</source>
        <translation>Magic</translation>
    </message>
    <message>
        <source>ホシフルツルギⅡ</source>
        <translation>Hoshifuru Tsurugi II</translation>
    </message>
    <message>
        <source>行き先を選んで下さい</source>
        <translation>Choose where to go</translation>
    </message>
    <message>
        <source>まずは北に向かう</source>
        <translation>Head north first</translation>
    </message>
    <message>
        <source>とりあえず西へ行く</source>
        <translation>Go west for now</translation>
    </message>
    <message>
        <source>並木さんに出会った</source>
        <translation>You meet Mr. Namiki</translation>
    </message>
    <message>
        <source>　　　　　　　　どうしますか？</source>
        <translation>                  What'll you do?</translation>
    </message>
    <message>
        <source>とりあえず話す</source>
        <translation>Talk to him</translation>
    </message>
    <message>
        <source>立ち去る</source>
        <translation>Leave</translation>
    </message>
    <message>
        <source>どうちます？</source>
        <translation>Whatcha gonna do?</translation>
    </message>
    <message>
        <source>並木さん
　「ここら辺は気を
付けた方がいいよ
。魔物がうろつい
てるからね。」</source>
        <translation>Mr. Namiki
 “Mind how you
go around here.
Monsters are on
the prowl.”</translation>
    </message>
    <message>
        <source>先に進む</source>
        <translation>Move on</translation>
    </message>
    <message>
        <source>　　　　　ホシフル城</source>
        <translation>Hoshifuru Castle</translation>
    </message>
    <message>
        <source>ＯＫ</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>城に入る</source>
        <translation>Enter the castle</translation>
    </message>
    <message>
        <source>危険なので立ち去る</source>
        <translation>Risky. Walk away</translation>
    </message>
    <message>
        <source>嘆きの老人が現れた</source>
        <translation>Old Man of Woe appears</translation>
    </message>
    <message>
        <source>どうしますか？</source>
        <translation>What'll you do?</translation>
    </message>
    <message>
        <source>話かける</source>
        <translation>Talk to him</translation>
    </message>
    <message>
        <source>殺す</source>
        <translation>Kill him</translation>
    </message>
    <message>
        <source>嘆きの老人
　「東の村には蛇
がでるそうじゃ。気
を付けなされ。」</source>
        <translation>Old Man of Woe
 “They say there
be snakes in the
east village. Take
care, lad.”</translation>
    </message>
    <message>
        <source>嘆きの老人
　「わしを殺そう
など百万年早い
わい。じゃが、そ
の度胸に念じて
お主に『マリリン
・サンダ―』の魔
法を授けよう。」</source>
        <translation>Old Man of Woe
 “Kill me? Ye're
a million years
too early! Yet
for such nerve I
grant ye the
spell ‘Marilyn
Thunder’.”</translation>
    </message>
    <message>
        <source>どうする？</source>
        <translation>What now?</translation>
    </message>
    <message>
        <source>ダイナマイトクラッシュ</source>
        <translation>Dynamite Crash</translation>
    </message>
    <message>
        <source>逃げる</source>
        <translation>Run away</translation>
    </message>
    <message>
        <source>スライムが現れた</source>
        <translation>A slime appears</translation>
    </message>
    <message>
        <source>仲間にする</source>
        <translation>Team up</translation>
    </message>
    <message>
        <source>しない</source>
        <translation>No thanks</translation>
    </message>
    <message>
        <source>みんな仲間にする</source>
        <translation>Team up with all</translation>
    </message>
    <message>
        <source>城から出る</source>
        <translation>Leave the castle</translation>
    </message>
    <message>
        <source>王様に会う</source>
        <translation>See the King</translation>
    </message>
    <message>
        <source>お姫様に会いに行く</source>
        <translation>Visit the Princess</translation>
    </message>
    <message>
        <source>城内をうろつく</source>
        <translation>Roam the castle</translation>
    </message>
    <message>
        <source>闘う</source>
        <translation>Fight</translation>
    </message>
    <message>
        <source>口説く</source>
        <translation>Woo her</translation>
    </message>
    <message>
        <source>その場から去る</source>
        <translation>Walk away</translation>
    </message>
    <message>
        <source>姫様
　「私と戦うなんて！なん
て失礼な人なの！お城か
ら出て行ってちょうだい！
」</source>
        <translation>Princess
 “Fight me?! How rude
can you be! Get out of
my castle this instant!”</translation>
    </message>
    <message>
        <source>口説き文句</source>
        <translation>Pick-up Lines</translation>
    </message>
    <message>
        <source>君の瞳にフォーリンラブ</source>
        <translation>Fallin' love in your eyes</translation>
    </message>
    <message>
        <source>俺とタイタニックに乗ってくれ</source>
        <translation>Ride the Titanic with me</translation>
    </message>
    <message>
        <source>僕は死にましぇん</source>
        <translation>I won't die, I shwear!</translation>
    </message>
    <message>
        <source>サスライの剣士に会った</source>
        <translation>A wandering swordsman!</translation>
    </message>
    <message>
        <source>ガイ疾風
　「よお、俺っちはサ
スライの剣士。俺っ
ちを仲間にしろよ！」</source>
        <translation>Gai Hayate
 “Yo! A wandering
swordsman, that's
me. Take me along!”</translation>
    </message>
    <message>
        <source>『時間の井戸』がある</source>
        <translation>The “Well of Time”</translation>
    </message>
    <message>
        <source>井戸に入る</source>
        <translation>Jump in</translation>
    </message>
    <message>
        <source>どちらへ行きますか？</source>
        <translation>Which way will you go?</translation>
    </message>
    <message>
        <source>右</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>真ん中</source>
        <translation>Middle</translation>
    </message>
    <message>
        <source>左</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>梢先生に出会った</source>
        <translation>You meet Professor Kozue</translation>
    </message>
    <message>
        <source>梢先生
　「ははは、この森から抜け
出すのは大変だぞ。ヒント
は次を右だ。その次は真ん
中。がんばれよ。」</source>
        <translation>Professor Kozue
 “Ha ha ha! Getting out of
these woods is tough. A
hint: next, go right. Then
the middle. Hang in there!”</translation>
    </message>
    <message>
        <source>立ち寄る</source>
        <translation>Drop in</translation>
    </message>
    <message>
        <source>街から出る</source>
        <translation>Leave town</translation>
    </message>
    <message>
        <source>覇王神の剣</source>
        <translation>Tyrant Blade</translation>
    </message>
    <message>
        <source>女神の杖</source>
        <translation>Venus Rod</translation>
    </message>
    <message>
        <source>店から出る</source>
        <translation>Leave shop</translation>
    </message>
    <message>
        <source>北酒場</source>
        <translation>North Tavern</translation>
    </message>
    <message>
        <source>自由の酪農家に会う</source>
        <translation>See Liberty Farmer</translation>
    </message>
    <message>
        <source>龍神の弟に会う</source>
        <translation>See Ryujin's brother</translation>
    </message>
    <message>
        <source>並木さんに会う</source>
        <translation>See Mr. Namiki</translation>
    </message>
    <message>
        <source>酒場から出る</source>
        <translation>Leave the tavern</translation>
    </message>
    <message>
        <source>自由の酪農家
　「カエルぴょこぴ
ょこみぴょこぴょ
こ。」</source>
        <translation>Liberty Farmer
 “Frogs hop, hop,
three frogs hop,
hop, hop.”</translation>
    </message>
    <message>
        <source>龍神の弟
　「私の兄は海底の城に住
んでいます。あとで会いに
行ってください。」</source>
        <translation>Ryujin's Brother
 “My big brother lives in a
castle under the sea. Do
go and visit him later.”</translation>
    </message>
    <message>
        <source>並木さん
　「この世界には二人の
達人がいます。おっと、
そろそろ行かなくては。
それではアディオス。</source>
        <translation>Mr. Namiki
 “In this world there are
two great masters.
Oops, I really must be
going. Well then, adios!”</translation>
    </message>
    <message>
        <source>大魔王が現れた</source>
        <translation>The Demon King appears</translation>
    </message>
    <message>
        <source>『奥義・覇王絶滅拳』</source>
        <translation>“Tyrant Doom Fist”</translation>
    </message>
    <message>
        <source>『サンダ―ストーム』</source>
        <translation>“Thunderstorm”</translation>
    </message>
    <message>
        <source>奥義・覇王絶滅拳</source>
        <translation>Tyrant Doom Fist</translation>
    </message>
    <message>
        <source>サンダ―ストーム</source>
        <translation>Thunderstorm</translation>
    </message>
    <message>
        <source>大魔王が現れた！</source>
        <translation>The Demon King appears!</translation>
    </message>
    <message>
        <source>攻撃</source>
        <translation>Attack</translation>
    </message>
    <message>
        <source>道具</source>
        <translation>Items</translation>
    </message>
    <message>
        <source>メラゾーマ</source>
        <translation>Kafrizzle</translation>
    </message>
    <message>
        <source>ムロマチバクファ―</source>
        <translation>Muromachi Bakufu</translation>
    </message>
    <message>
        <source>パナソニックス</source>
        <translation>Panasonix</translation>
    </message>
    <message>
        <source>イソノワカメデュ―ム</source>
        <translation>Isono Wakamedoom</translation>
    </message>
    <message>
        <source>大魔王が現れた！！</source>
        <translation>The Demon King appears!!</translation>
    </message>
    <message>
        <source>普通に攻撃</source>
        <translation>Just attack</translation>
    </message>
    <message>
        <source>ガイ疾風の攻撃</source>
        <translation>Let Gai attack</translation>
    </message>
    <message>
        <source>ゲームオーバー</source>
        <translation>GAME OVER</translation>
    </message>
    <message>
        <source>ハッピーエンド</source>
        <translation>Happy Ending</translation>
    </message>
    <message>
        <source>おわり</source>
        <translation>End</translation>
    </message>
</context>
</TS>