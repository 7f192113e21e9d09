<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>DialogBox</name>
    <message>
        <source>全て(*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>ファイルを開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>名前を付けて保存</source>
        <translation>Save As</translation>
    </message>
</context>
<context>
    <name>EndOfGame</name>
    <message>
        <source>%1時間%2分%3秒</source>
        <translation>%1:%2:%3</translation>
    </message>
    <message>
        <source>%1分%2秒</source>
        <translation>%1:%2</translation>
    </message>
    <message>
        <source>この手で解けなくなりました。</source>
        <translation>After this move the board can no longer be cleared.</translation>
    </message>
    <message>
        <source>この局面からはもう解けません。</source>
        <translation>This position can no longer be cleared.</translation>
    </message>
    <message numerus="yes">
        <source>%n手戻すと解ける局面に戻ります。</source>
        <translation>
            <numerusform>Taking back %n move returns to a position that can be cleared.</numerusform>
            <numerusform>Taking back %n moves returns to a position that can be cleared.</numerusform>
        </translation>
    </message>
    <message>
        <source>解けない局面</source>
        <translation>Cannot be cleared</translation>
    </message>
    <message>
        <source>戻す</source>
        <translation>Take back</translation>
    </message>
    <message>
        <source>続ける</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>取れる牌がなくなりました。</source>
        <translation>There are no more tiles you can take.</translation>
    </message>
    <message>
        <source>手詰まり</source>
        <translation>No more moves</translation>
    </message>
    <message>
        <source>一手戻す</source>
        <translation>Take back one move</translation>
    </message>
    <message>
        <source>やり直し</source>
        <translation>Restart</translation>
    </message>
    <message>
        <source>新しいゲーム</source>
        <translation>New game</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>クリア</source>
        <translation>Cleared</translation>
    </message>
    <message>
        <source>クリアしました。</source>
        <translation>You cleared the board.</translation>
    </message>
    <message>
        <source>プレイ時間: %1</source>
        <translation>Time played: %1</translation>
    </message>
    <message>
        <source>ヒント: %1回&#x3000;戻した手: %2手</source>
        <translation>Hints: %1   Moves taken back: %2</translation>
    </message>
    <message>
        <source>保存から続けたゲームは記録に残りません。</source>
        <translation>A game continued from a save is not recorded.</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>none</translation>
    </message>
    <message>
        <source>この陣形の最短記録: %1</source>
        <translation>Best time on this layout: %1</translation>
    </message>
    <message>
        <source>（新記録）</source>
        <translation> (new record)</translation>
    </message>
    <message>
        <source>やり直したゲームは記録に残りません。</source>
        <translation>A cleared game played again after a restart is not recorded.</translation>
    </message>
    <message>
        <source>クリア %1回 / 開始 %2回</source>
        <translation>Cleared %1 / started %2</translation>
    </message>
    <message>
        <source>混ぜ直す</source>
        <translation>Shuffle</translation>
    </message>
    <message numerus="yes">
        <source>%n手戻す</source>
        <translation>
            <numerusform>Take back %n</numerusform>
            <numerusform>Take back %n</numerusform>
        </translation>
    </message>
    <message>
        <source>混ぜ直し: %1回（最短記録は残りません）</source>
        <translation>Shuffles: %1 (no best time is kept)</translation>
    </message>
</context>
<context>
    <name>FormMain</name>
    <message>
        <source>操作を続けられませんでした。</source>
        <translation>The game could not go on.</translation>
    </message>
</context>
<context>
    <name>FormQues</name>
    <message>
        <source>陣形の選択</source>
        <translation>Layout</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>問題選択</source>
        <translation>Problem</translation>
    </message>
    <message>
        <source>ランダム</source>
        <translation>Random</translation>
    </message>
    <message>
        <source>番号指定</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>(1～100000)</source>
        <translation>(1-100000)</translation>
    </message>
    <message>
        <source>自動</source>
        <translation>Pick</translation>
    </message>
    <message>
        <source>裏牌モード</source>
        <translation>Face-down tiles</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>全部</source>
        <translation>All</translation>
    </message>
    <message>
        <source>任意</source>
        <translation>Some</translation>
    </message>
    <message>
        <source>陣形ファイルがありません。</source>
        <translation>There are no layout files.</translation>
    </message>
    <message>
        <source>この陣形ファイルは読み込めません。</source>
        <translation>This layout file cannot be read.</translation>
    </message>
    <message>
        <source>%1枚</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>ゲームを開始できません。</source>
        <translation>The game cannot be started.</translation>
    </message>
    <message>
        <source>編集</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>新規</source>
        <translation>New</translation>
    </message>
</context>
<context>
    <name>FormSub</name>
    <message>
        <source>セーブできません。</source>
        <translation>The game cannot be saved.</translation>
    </message>
    <message>
        <source>ロードできません。</source>
        <translation>The game cannot be loaded.</translation>
    </message>
    <message>
        <source>リスタートできません。</source>
        <translation>The game cannot be restarted.</translation>
    </message>
    <message>
        <source>実行できません。</source>
        <translation>That cannot be done.</translation>
    </message>
    <message>
        <source>ファイル書き込みエラー</source>
        <translation>File write error</translation>
    </message>
    <message>
        <source>ファイル読み込みエラー</source>
        <translation>File read error</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>最初からやり直しますか？</source>
        <translation>Start this game over from the beginning?</translation>
    </message>
    <message>
        <source>リスタート</source>
        <translation>Restart</translation>
    </message>
    <message>
        <source>ゲーム未選択</source>
        <translation>No game chosen</translation>
    </message>
    <message>
        <source>セーブしますか？</source>
        <translation>Save the game?</translation>
    </message>
    <message>
        <source>セーブ</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>ロードするファイルがありません</source>
        <translation>There is no saved game to load</translation>
    </message>
    <message>
        <source>ロードしますか？</source>
        <translation>Load the saved game?</translation>
    </message>
    <message>
        <source>ロード</source>
        <translation>Load</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>遊び方</source>
        <translation>How to play</translation>
    </message>
    <message>
        <source>&lt;b&gt;目的&lt;/b&gt;&#x3000;同じ組の自由な牌をそろえて取り、盤面の牌をすべて片付けます。</source>
        <translation>&lt;b&gt;Goal&lt;/b&gt;  Take matching free tiles in sets until the board is clear.</translation>
    </message>
    <message>
        <source>&lt;b&gt;自由な牌と取れない牌&lt;/b&gt;&#x3000;上に牌が載っておらず、左右の少なくとも一方が空いている牌は自由です。左右ともふさがった牌や、上に牌が載った牌は取れません。下の絵では、印の付いた牌が自由です。</source>
        <translation>&lt;b&gt;Free and blocked tiles&lt;/b&gt;  A tile is free when no tile lies on it and its left or right side is open. A tile with neighbours on both sides, or with a tile on top, cannot be taken. In the picture the marked tiles are free.</translation>
    </message>
    <message>
        <source>&lt;b&gt;組&lt;/b&gt;&#x3000;一組の枚数は陣形で決まり、2枚、3枚または4枚です。同じ組の牌を選んでいき、最後の一枚で組が取れます。選んだ牌をもう一度押すと選択をやめます。</source>
        <translation>&lt;b&gt;Sets&lt;/b&gt;  The layout sets how many tiles make a set: 2, 3 or 4. Select tiles of one kind; the last one takes the set. Pressing a selected tile again drops it.</translation>
    </message>
    <message>
        <source>&lt;b&gt;裏牌モード&lt;/b&gt;&#x3000;「全部」では牌は選ぶまで裏向き、「任意」では指定した枚数の牌が自由になるまで裏向きです。</source>
        <translation>&lt;b&gt;Face-down tiles&lt;/b&gt;  With &quot;All&quot; every tile stays face down until selected; with &quot;Some&quot; the chosen number of tiles stay face down until they are free.</translation>
    </message>
    <message>
        <source>&lt;b&gt;ヒントと自動ヒント&lt;/b&gt;&#x3000;ヒントを押すと取れる牌に印が付きます。メニューの自動ヒントを入れると、印がいつも付き、解けなくなった手をすぐに知らせます。</source>
        <translation>&lt;b&gt;Hint and auto hint&lt;/b&gt;  Hint marks the tiles you can take. With Auto hint on in the menu the marks stay, and a move that makes the board impossible to clear is told at once.</translation>
    </message>
    <message>
        <source>&lt;b&gt;ゲームの終わり&lt;/b&gt;&#x3000;取れる組がなくなると手詰まりの知らせが出て、解ける局面まで戻す、一手戻す、混ぜ直す、やり直し、新しいゲームを選べます。混ぜ直すと残りの牌の絵柄が解ける並びに入れ替わります（最短記録には残りません）。すべて取るとクリアの知らせに時間と記録が出ます。</source>
        <translation>&lt;b&gt;The end of a game&lt;/b&gt;  When no set can be taken, a notice offers to take back to a position that can be cleared, take back one move, shuffle, restart or start a new game. Shuffle rearranges the faces of the tiles left so that they can be cleared (no best time is kept then). Clearing the board shows your time and records.</translation>
    </message>
    <message>
        <source>&lt;b&gt;キー操作&lt;/b&gt;</source>
        <translation>&lt;b&gt;Keys&lt;/b&gt;</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>LayoutEditor</name>
    <message>
        <source>陣形ファイルを読めません: %1
%2</source>
        <translation>The layout file cannot be read: %1
%2</translation>
    </message>
    <message>
        <source>左右に鏡写し</source>
        <translation>Mirror left-right</translation>
    </message>
    <message>
        <source>上下に鏡写し</source>
        <translation>Mirror top-bottom</translation>
    </message>
    <message>
        <source>保存 (Ctrl+S)</source>
        <translation>Save (Ctrl+S)</translation>
    </message>
    <message>
        <source>組の枚数</source>
        <translation>Set size</translation>
    </message>
    <message>
        <source>メッセージ</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>サイドバーでの見え方</source>
        <translation>As the side bar shows it</translation>
    </message>
    <message>
        <source>鏡写しで %1 枚足しました。</source>
        <translation>Mirroring added %1 tiles.</translation>
    </message>
    <message>
        <source>同じ段の牌と重なるので置けません。</source>
        <translation>A tile cannot go there: it overlaps a tile of the same level.</translation>
    </message>
    <message>
        <source>盤からはみ出すので置けません。</source>
        <translation>A tile cannot go there: it would leave the board.</translation>
    </message>
    <message>
        <source>下の段に支える牌がないので置けません。</source>
        <translation>A tile cannot go there: no tile of the level below holds it up.</translation>
    </message>
    <message>
        <source>牌は 512 枚までです。</source>
        <translation>A layout holds at most 512 tiles.</translation>
    </message>
    <message>
        <source>上の段の牌を支えているので取れません。</source>
        <translation>This tile cannot be taken away: it holds up a tile of the level above.</translation>
    </message>
    <message>
        <source>段 %1 / %2 (PgUp, PgDn)</source>
        <translation>Level %1 / %2 (PgUp, PgDn)</translation>
    </message>
    <message>
        <source>%1 枚: %2 枚組に合います</source>
        <translation>%1 tiles: fits sets of %2</translation>
    </message>
    <message>
        <source>%1 枚: %2 枚組には偶数で %2 の倍数が要ります</source>
        <translation>%1 tiles: sets of %2 need an even count that is a multiple of %2</translation>
    </message>
    <message>
        <source>512 枚を超えています</source>
        <translation>over 512 tiles</translation>
    </message>
    <message>
        <source>%1 枚が盤からはみ出します</source>
        <translation>%1 tiles leave the board</translation>
    </message>
    <message>
        <source>問題 1～20 を確認中…</source>
        <translation>trying problems 1-20…</translation>
    </message>
    <message>
        <source>問題 1～20 のうち %1 問が配れます</source>
        <translation>%1 of problems 1-20 deal</translation>
    </message>
    <message>
        <source>この陣形はまだ保存できません。
%1</source>
        <translation>This layout cannot be saved yet.
%1</translation>
    </message>
    <message>
        <source>問題 1～20 のどれも配れないので保存できません。上の段を支える牌を増やすか、取れる牌が最初から足りるように置き直してください。</source>
        <translation>The layout cannot be saved: none of problems 1-20 deals. Give the upper levels more support, or place the tiles so that enough are free from the start.</translation>
    </message>
    <message>
        <source>保存できませんでした: %1</source>
        <translation>The layout could not be saved: %1</translation>
    </message>
    <message>
        <source>%1 に保存しました</source>
        <translation>Saved to %1</translation>
    </message>
    <message>
        <source>保存しました。ただし問題 1～20 のうち配れるのは %1 問だけです。</source>
        <translation>Saved. But only %1 of problems 1-20 deal.</translation>
    </message>
    <message>
        <source>新しい陣形</source>
        <translation>new layout</translation>
    </message>
    <message>
        <source>陣形エディタ - %1%2</source>
        <translation>Layout editor - %1%2</translation>
    </message>
    <message>
        <source>変更を保存せずに閉じますか？</source>
        <translation>Close without saving the changes?</translation>
    </message>
</context>
<context>
    <name>LayoutMessage</name>
    <message>
        <source>はじめての方に<byte value="xd"/>
向いた小さな配置<byte value="xd"/>
です。７２枚</source>
        <comment>beginner.tvm</comment>
        <translation>For first-timers:<byte value="xd"/>
a small layout.<byte value="xd"/>
72 tiles</translation>
    </message>
    <message>
        <source>大河に架かる橋です。<byte value="xd"/>
橋桁の下の柱に<byte value="xd"/>
気をつけて</source>
        <comment>bridge.tvm</comment>
        <translation>A bridge over a<byte value="xd"/>
great river. Mind<byte value="xd"/>
the piers below.</translation>
    </message>
    <message>
        <source>羽を広げた蝶です。<byte value="xd"/>
胴の高い牌が<byte value="xd"/>
鍵になります</source>
        <comment>butterfly.tvm</comment>
        <translation>A butterfly with<byte value="xd"/>
open wings. The<byte value="xd"/>
tall body tiles<byte value="xd"/>
are the key.</translation>
    </message>
    <message>
        <source>伝統的な配置です。<byte value="xd"/>
１４４枚</source>
        <comment>classic.tvm</comment>
        <translation>The traditional<byte value="xd"/>
layout.<byte value="xd"/>
144 tiles</translation>
    </message>
    <message>
        <source>十字に組んだ配置。<byte value="xd"/>
四方の腕から<byte value="xd"/>
中央へ進みましょう</source>
        <comment>cross.tvm</comment>
        <translation>A cross. Work<byte value="xd"/>
from the four arms<byte value="xd"/>
to the centre.</translation>
    </message>
    <message>
        <source>城壁と四つの塔に<byte value="xd"/>
守られた要塞です。<byte value="xd"/>
塔の上から<byte value="xd"/>
攻めましょう</source>
        <comment>fortress.tvm</comment>
        <translation>A fortress with<byte value="xd"/>
walls and four<byte value="xd"/>
towers. Attack<byte value="xd"/>
from the towers.</translation>
    </message>
    <message>
        <source>季節と花の牌が<byte value="xd"/>
咲きそろう花園です</source>
        <comment>garden.tvm</comment>
        <translation>A garden where<byte value="xd"/>
season and flower<byte value="xd"/>
tiles all bloom.</translation>
    </message>
    <message>
        <source>盤面いっぱいに<byte value="xd"/>
三百枚余りを並べた<byte value="xd"/>
大きな配置です</source>
        <comment>large.tvm</comment>
        <translation>Over three hundred<byte value="xd"/>
tiles across the<byte value="xd"/>
whole board.</translation>
    </message>
    <message>
        <source>四段に積み上げた<byte value="xd"/>
ピラミッドです。<byte value="xd"/>
頂上から崩して<byte value="xd"/>
いきましょう</source>
        <comment>pyramid.tvm</comment>
        <translation>A pyramid four<byte value="xd"/>
levels high. Take<byte value="xd"/>
it down from<byte value="xd"/>
the top.</translation>
    </message>
    <message>
        <source>同じ牌を四枚<byte value="xd"/>
そろえて取る<byte value="xd"/>
五つの島です</source>
        <comment>quartet.tvm</comment>
        <translation>Five islands:<byte value="xd"/>
take matching<byte value="xd"/>
tiles four at<byte value="xd"/>
a time.</translation>
    </message>
    <message>
        <source>外から内へ<byte value="xd"/>
渦を巻いて高くなる<byte value="xd"/>
配置です</source>
        <comment>spiral.tvm</comment>
        <translation>A spiral that<byte value="xd"/>
climbs as it winds<byte value="xd"/>
from out to in.</translation>
    </message>
    <message>
        <source>同じ牌を三枚ずつ<byte value="xd"/>
取る三つ山です</source>
        <comment>trio.tvm</comment>
        <translation>Three mountains:<byte value="xd"/>
take matching<byte value="xd"/>
tiles three at<byte value="xd"/>
a time.</translation>
    </message>
</context>
<context>
    <name>Message</name>
    <message>
        <source>ファイルまたはフォルダーがありません</source>
        <translation>No such file or directory</translation>
    </message>
    <message>
        <source>フォルダーではありません</source>
        <translation>Not a directory</translation>
    </message>
    <message>
        <source>フォルダーです</source>
        <translation>Is a directory</translation>
    </message>
    <message>
        <source>アクセスが許可されていません</source>
        <translation>Permission denied</translation>
    </message>
    <message>
        <source>読み取り専用のファイルシステムです</source>
        <translation>Read-only file system</translation>
    </message>
    <message>
        <source>ディスクに空きがありません</source>
        <translation>No space left on device</translation>
    </message>
    <message>
        <source>ディスクの割り当てを超えました</source>
        <translation>Disk quota exceeded</translation>
    </message>
    <message>
        <source>ファイルが大きすぎます</source>
        <translation>File too large</translation>
    </message>
    <message>
        <source>入出力エラーです</source>
        <translation>Input/output error</translation>
    </message>
    <message>
        <source>ファイル名が長すぎます</source>
        <translation>File name too long</translation>
    </message>
</context>
<context>
    <name>ModuleMain</name>
    <message>
        <source>解答作成モード</source>
        <translation>Answer-making mode</translation>
    </message>
    <message>
        <source>背景画を選択してください</source>
        <translation>Choose a wallpaper picture</translation>
    </message>
    <message>
        <source>ゲームを終了しますか？</source>
        <translation>Quit the game?</translation>
    </message>
    <message>
        <source>この画像は読み込めません。</source>
        <translation>This picture cannot be read.</translation>
    </message>
    <message>
        <source>壁紙</source>
        <translation>Wallpaper</translation>
    </message>
    <message>
        <source>解ける配置が見つからなかったので、混ぜ直しませんでした。</source>
        <translation>No arrangement that can be cleared was found, so the tiles were not shuffled.</translation>
    </message>
    <message>
        <source>混ぜ直す</source>
        <translation>Shuffle</translation>
    </message>
</context>
<context>
    <name>ShortcutTable</name>
    <message>
        <source>矢印</source>
        <translation>Arrows</translation>
    </message>
    <message>
        <source>カーソルを動かす</source>
        <translation>Move the cursor</translation>
    </message>
    <message>
        <source>Enter, X, 左ボタン</source>
        <translation>Enter, X, left button</translation>
    </message>
    <message>
        <source>カーソルの下の牌を取る、ボタンを押す</source>
        <translation>Take the tile under the cursor, or press the button</translation>
    </message>
    <message>
        <source>Esc, Z, 右ボタン</source>
        <translation>Esc, Z, right button</translation>
    </message>
    <message>
        <source>選択をやめる</source>
        <translation>Drop the selection</translation>
    </message>
    <message>
        <source>ヒント</source>
        <translation>Hint</translation>
    </message>
    <message>
        <source>Backspace, Ctrl+Z</source>
        <translation>Backspace, Ctrl+Z</translation>
    </message>
    <message>
        <source>一手戻す</source>
        <translation>Take back one move</translation>
    </message>
    <message>
        <source>戻した手をやり直す</source>
        <translation>Redo a move taken back</translation>
    </message>
    <message>
        <source>メニュー</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>新しいゲーム</source>
        <translation>New game</translation>
    </message>
    <message>
        <source>最初からやり直す</source>
        <translation>Restart</translation>
    </message>
    <message>
        <source>セーブ、ロード</source>
        <translation>Save, load</translation>
    </message>
    <message>
        <source>P, Pause</source>
        <translation>P, Pause</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>混ぜ直す</source>
        <translation>Shuffle</translation>
    </message>
    <message>
        <source>遊び方</source>
        <translation>How to play</translation>
    </message>
    <message>
        <source>全画面表示の切り替え</source>
        <translation>Full screen on and off</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Quit</translation>
    </message>
</context>
<context>
    <name>StatusPainter</name>
    <message>
        <source>時間 %1</source>
        <translation>Time %1</translation>
    </message>
    <message>
        <source>取れる組 %1</source>
        <translation>Sets open %1</translation>
    </message>
    <message>
        <source>一時停止中</source>
        <translation>Paused</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>設定ファイルを使えないため、初期設定で始めます。</source>
        <translation>The settings file cannot be used; the game starts with the default settings.</translation>
    </message>
    <message>
        <source>元のファイルは次の名前で残してあります:</source>
        <translation>The file was kept as:</translation>
    </message>
    <message>
        <source>通常のファイルではありません。</source>
        <translation>It is not a regular file.</translation>
    </message>
    <message>
        <source>1 MiB を超えています。</source>
        <translation>It is larger than 1 MiB.</translation>
    </message>
    <message>
        <source>読み込めません。</source>
        <translation>It cannot be read.</translation>
    </message>
    <message>
        <source>設定ファイルの形式ではありません。</source>
        <translation>It is not a settings file.</translation>
    </message>
    <message>
        <source>設定を保存できません。変更はこのゲームを終えるまで有効です。</source>
        <translation>The settings cannot be saved. Changes hold until the game ends.</translation>
    </message>
</context>
<context>
    <name>StartupChecks</name>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
</context>
</TS>
