<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP" sourcelanguage="en">
<context>
    <name>CliCommands</name>
    <message>
        <source>song information, rows and lyrics ([--json] [--words] FILE...)</source>
        <translation>曲の情報、行と歌詞 ([--json] [--words] FILE...)</translation>
    </message>
    <message>
        <source>the merged event list of a song (FILE)</source>
        <translation>曲のイベントを一本にまとめた一覧 (FILE)</translation>
    </message>
    <message>
        <source>print the playlist that adding the paths would make (PATH...)</source>
        <translation>パスを追加したときにできるプレイリストを表示 (PATH...)</translation>
    </message>
    <message>
        <source>list the MIDI output devices</source>
        <translation>MIDI 出力デバイスの一覧</translation>
    </message>
    <message>
        <source>play songs in real time (see play --help)</source>
        <translation>曲をリアルタイムで再生 (play --help を参照)</translation>
    </message>
    <message>
        <source>render a song to a WAV file (see render --help)</source>
        <translation>曲を WAV ファイルに書き出す (render --help を参照)</translation>
    </message>
</context>
<context>
    <name>CliDevices</name>
    <message>
        <source>Usage: druvel-cli devices
</source>
        <translation>使い方: druvel-cli devices
</translation>
    </message>
    <message>
        <source>%1  (default)</source>
        <translation>%1  (既定)</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(なし)</translation>
    </message>
    <message>
        <source>SoundFont: %1</source>
        <translation>サウンドフォント: %1</translation>
    </message>
    <message>
        <source>Audio driver: %1</source>
        <translation>オーディオドライバー: %1</translation>
    </message>
</context>
<context>
    <name>CliEvents</name>
    <message>
        <source>Usage: druvel-cli events FILE
</source>
        <translation>使い方: druvel-cli events FILE
</translation>
    </message>
</context>
<context>
    <name>CliInfo</name>
    <message>
        <source>yes</source>
        <translation>はい</translation>
    </message>
    <message>
        <source>no</source>
        <translation>いいえ</translation>
    </message>
    <message>
        <source>path</source>
        <translation>パス</translation>
    </message>
    <message>
        <source>loaded</source>
        <translation>読み込み</translation>
    </message>
    <message>
        <source>format</source>
        <translation>フォーマット</translation>
    </message>
    <message>
        <source>resolution</source>
        <translation>分解能</translation>
    </message>
    <message>
        <source>xf</source>
        <translation>XF</translation>
    </message>
    <message>
        <source>length_ms</source>
        <translation>長さ(ミリ秒)</translation>
    </message>
    <message>
        <source>events</source>
        <translation>イベント数</translation>
    </message>
    <message>
        <source>max_velocity</source>
        <translation>最大ベロシティ</translation>
    </message>
    <message>
        <source>title</source>
        <translation>タイトル</translation>
    </message>
    <message>
        <source>composer</source>
        <translation>作曲</translation>
    </message>
    <message>
        <source>lyricist</source>
        <translation>作詞</translation>
    </message>
    <message>
        <source>arranger</source>
        <translation>編曲</translation>
    </message>
    <message>
        <source>artist</source>
        <translation>アーティスト</translation>
    </message>
    <message>
        <source>information</source>
        <translation>情報</translation>
    </message>
    <message>
        <source>encoding</source>
        <translation>文字コード</translation>
    </message>
    <message>
        <source>lyric_pages</source>
        <translation>歌詞のページ</translation>
    </message>
    <message>
        <source>rows</source>
        <translation>行</translation>
    </message>
    <message>
        <source>words</source>
        <translation>歌詞の語</translation>
    </message>
    <message>
        <source>  time %1  duration %2  kind %3  part %4  line %5  %6</source>
        <translation>  時刻 %1  長さ %2  種類 %3  パート %4  行 %5  %6</translation>
    </message>
    <message>
        <source>Usage: druvel-cli info [--json] [--words] [--encoding NAME] [--spectrum-type 0|1|2] FILE...
</source>
        <translation>使い方: druvel-cli info [--json] [--words] [--encoding NAME] [--spectrum-type 0|1|2] FILE...
</translation>
    </message>
</context>
<context>
    <name>CliList</name>
    <message>
        <source>Usage: druvel-cli list PATH...
</source>
        <translation>使い方: druvel-cli list PATH...
</translation>
    </message>
</context>
<context>
    <name>CliMain</name>
    <message>
        <source>Usage: druvel-cli &lt;command&gt; [options] [FILE...]

Druvel, a player for Standard MIDI Files, without a window.

Options:
  --help       show this help
  --version    show the version
</source>
        <translation>使い方: druvel-cli &lt;コマンド&gt; [オプション] [FILE...]

Druvel: ウィンドウを開かずに使う Standard MIDI File のプレーヤー

オプション:
  --help       このヘルプを表示
  --version    バージョンを表示
</translation>
    </message>
    <message>
        <source>unknown command &apos;%1&apos; (see druvel-cli --help)</source>
        <translation>&apos;%1&apos; というコマンドはありません (druvel-cli --help を参照)</translation>
    </message>
</context>
<context>
    <name>CliOptions</name>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 には値が必要です</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>%1 というオプションはありません</translation>
    </message>
    <message>
        <source>bad value for %1: %2</source>
        <translation>%1 の値が正しくありません: %2</translation>
    </message>
    <message>
        <source>no file given</source>
        <translation>ファイルが指定されていません</translation>
    </message>
</context>
<context>
    <name>CliPlay</name>
    <message>
        <source>(no title)</source>
        <translation>(タイトルなし)</translation>
    </message>
    <message>
        <source>bad device &apos;%1&apos;</source>
        <translation>デバイス &apos;%1&apos; が正しくありません</translation>
    </message>
    <message>
        <source>nothing to play</source>
        <translation>再生するものがありません</translation>
    </message>
    <message>
        <source>Usage: druvel-cli play [--device N|capture:FILE] [--tempo P] [--key K] [--volume V]
                       [--start MS] [--order normal|one|all|random]
                       [--encoding NAME] [--soundfont F] PATH...
PATH: songs, folders, playlist files (.m3u .lst .txt) and archives (.zip .lzh).
Keys on a terminal: space pause/resume, n next, p previous, q quit.
</source>
        <translation>使い方: druvel-cli play [--device N|capture:FILE] [--tempo P] [--key K] [--volume V]
                        [--start MS] [--order normal|one|all|random]
                        [--encoding NAME] [--soundfont F] PATH...
PATH: 曲、フォルダー、プレイリストファイル (.m3u .lst .txt)、アーカイブ (.zip .lzh)
端末でのキー操作: スペース 一時停止/再開、n 次の曲、p 前の曲、q 終了
</translation>
    </message>
</context>
<context>
    <name>CliRender</name>
    <message>
        <source>Usage: druvel-cli render [--tempo P] [--key K] [--soundfont F] [--threads N] -o OUT.wav FILE
</source>
        <translation>使い方: druvel-cli render [--tempo P] [--key K] [--soundfont F] [--threads N] -o OUT.wav FILE
</translation>
    </message>
    <message>
        <source>only one FILE is rendered at a time</source>
        <translation>一度に書き出せる FILE は一つだけです</translation>
    </message>
    <message>
        <source>no output given (-o OUT.wav)</source>
        <translation>出力先が指定されていません (-o OUT.wav)</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>%1 に書き込めません</translation>
    </message>
    <message>
        <source>writing %1 failed</source>
        <translation>%1 の書き込みに失敗しました</translation>
    </message>
    <message>
        <source>%1: %2 s, 44100 Hz, 16-bit stereo, rendered %3 times faster than real time</source>
        <translation>%1: %2 秒、44100 Hz、16 ビットステレオ、実時間の %3 倍の速さで書き出しました</translation>
    </message>
</context>
<context>
    <name>CliSong</name>
    <message>
        <source>%1: not a Standard MIDI File</source>
        <translation>%1: Standard MIDI File ではありません</translation>
    </message>
</context>
</TS>
