<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja_JP">
<context>
    <name>CLSAboutDialog</name>
    <message>
        <source>バージョン情報</source>
        <translation>About Druvel</translation>
    </message>
</context>
<context>
    <name>CLSArchiveDialog</name>
    <message>
        <source>フィルタ(&amp;F)：</source>
        <translation>&amp;Filter:</translation>
    </message>
    <message>
        <source>検索(&amp;S)</source>
        <translation>&amp;Search</translation>
    </message>
    <message>
        <source>アーカイブ内のファイルを開く</source>
        <translation>Open Files in an Archive</translation>
    </message>
    <message>
        <source>開く(&amp;O)</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>すべて選択(&amp;A)</source>
        <translation>Select &amp;All</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
</context>
<context>
    <name>CLSCommandTables</name>
    <message>
        <source>最近開いたファイルのクリア(&amp;C)</source>
        <translation>&amp;Clear Recent Files</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>フォルダを開く(&amp;F)...</source>
        <translation>Open &amp;Folder...</translation>
    </message>
    <message>
        <source>プレイリストを保存(&amp;S)...</source>
        <translation>&amp;Save Playlist...</translation>
    </message>
    <message>
        <source>最近開いたファイル(&amp;L)</source>
        <translation>&amp;Recent Files</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>通常(&amp;N)</source>
        <translation>&amp;Normal</translation>
    </message>
    <message>
        <source>1曲繰り返し(&amp;O)</source>
        <translation>Repeat &amp;One</translation>
    </message>
    <message>
        <source>全曲繰り返し(&amp;A)</source>
        <translation>Repeat &amp;All</translation>
    </message>
    <message>
        <source>ランダム再生(&amp;R)</source>
        <translation>&amp;Random</translation>
    </message>
    <message>
        <source>テンポを上げる(&amp;U)</source>
        <translation>Tempo &amp;Up</translation>
    </message>
    <message>
        <source>テンポを下げる(&amp;D)</source>
        <translation>Tempo &amp;Down</translation>
    </message>
    <message>
        <source>音量を上げる(&amp;U)</source>
        <translation>Volume &amp;Up</translation>
    </message>
    <message>
        <source>音量を下げる(&amp;D)</source>
        <translation>Volume &amp;Down</translation>
    </message>
    <message>
        <source>キーを上げる(&amp;U)</source>
        <translation>Key &amp;Up</translation>
    </message>
    <message>
        <source>キーを下げる(&amp;D)</source>
        <translation>Key &amp;Down</translation>
    </message>
    <message>
        <source>デフォルトのデバイス(&amp;M)</source>
        <translation>&amp;Default Device</translation>
    </message>
    <message>
        <source>再生/一時停止(&amp;P)</source>
        <translation>&amp;Play/Pause</translation>
    </message>
    <message>
        <source>停止(&amp;S)</source>
        <translation>&amp;Stop</translation>
    </message>
    <message>
        <source>前曲(&amp;E)</source>
        <translation>Pr&amp;evious</translation>
    </message>
    <message>
        <source>次曲(&amp;N)</source>
        <translation>&amp;Next</translation>
    </message>
    <message>
        <source>再生方法(&amp;L)</source>
        <translation>Play &amp;Order</translation>
    </message>
    <message>
        <source>テンポ(&amp;T)</source>
        <translation>&amp;Tempo</translation>
    </message>
    <message>
        <source>音量(&amp;V)</source>
        <translation>&amp;Volume</translation>
    </message>
    <message>
        <source>キー(&amp;K)</source>
        <translation>&amp;Key</translation>
    </message>
    <message>
        <source>デバイス(&amp;D)</source>
        <translation>&amp;Device</translation>
    </message>
    <message>
        <source>ツールヒント(&amp;T)</source>
        <translation>&amp;Tooltips</translation>
    </message>
    <message>
        <source>通常ウィンドウ(&amp;N)</source>
        <translation>&amp;Normal Window</translation>
    </message>
    <message>
        <source>コンパクト表示(&amp;C)</source>
        <translation>&amp;Compact</translation>
    </message>
    <message>
        <source>歌詞表示なし(&amp;O)</source>
        <translation>No &amp;Lyrics</translation>
    </message>
    <message>
        <source>スペクトラム表示なし(&amp;P)</source>
        <translation>No &amp;Spectrum</translation>
    </message>
    <message>
        <source>歌詞のみ表示(&amp;W)</source>
        <translation>Lyrics &amp;Only</translation>
    </message>
    <message>
        <source>カスタマイズ(&amp;C)...</source>
        <translation>Custo&amp;mize...</translation>
    </message>
    <message>
        <source>再生(&amp;P)</source>
        <translation>&amp;Play</translation>
    </message>
    <message>
        <source>削除(&amp;R)</source>
        <translation>&amp;Remove</translation>
    </message>
    <message>
        <source>上へ(&amp;U)</source>
        <translation>Move &amp;Up</translation>
    </message>
    <message>
        <source>下へ(&amp;D)</source>
        <translation>Move &amp;Down</translation>
    </message>
    <message>
        <source>目次(&amp;C)...</source>
        <translation>&amp;Contents...</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)...</source>
        <translation>&amp;About Druvel...</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>プレイリスト(&amp;L)</source>
        <translation>Play&amp;list</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>追加(&amp;A)...</source>
        <translation>&amp;Add...</translation>
    </message>
    <message>
        <source>前曲</source>
        <translation>Previous</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>再生/一時停止</source>
        <translation>Play/Pause</translation>
    </message>
    <message>
        <source>次曲</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
</context>
<context>
    <name>CLSCustomizeGeneralPage</name>
    <message>
        <source>「フォルダを開く」メニューでサブフォルダも検索する(&amp;S)</source>
        <translation>&amp;Search subfolders too when opening a folder</translation>
    </message>
    <message>
        <source>２重起動を許可する(&amp;P)</source>
        <translation>Allow more than one running &amp;program</translation>
    </message>
    <message>
        <source>プレイリストを復元する(&amp;L)</source>
        <translation>Restore the play&amp;list</translation>
    </message>
    <message>
        <source>最近開いたファイルの最大数(&amp;R)：</source>
        <translation>Maximum number of &amp;recent files:</translation>
    </message>
    <message>
        <source>個</source>
        <translation>files</translation>
    </message>
</context>
<context>
    <name>CLSCustomizeMidiPage</name>
    <message>
        <source>音量を最大にする(&amp;V)</source>
        <translation>Play at full &amp;velocity</translation>
    </message>
    <message>
        <source>エクスクルーシブメッセージを送らない(&amp;E)</source>
        <translation>Do not send system &amp;exclusive messages</translation>
    </message>
    <message>
        <source>歌詞を表示するタイミング(&amp;T)：</source>
        <translation>Show lyrics ahead &amp;by:</translation>
    </message>
    <message>
        <source>ミリ秒前</source>
        <translation>ms</translation>
    </message>
    <message>
        <source>SoundFont(&amp;S)：</source>
        <translation>&amp;SoundFont:</translation>
    </message>
    <message>
        <source>参照...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>自動</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>SoundFont (*.sf2 *.sf3);;すべてのファイル (*)</source>
        <translation>SoundFont (*.sf2 *.sf3);;All files (*)</translation>
    </message>
    <message>
        <source>自動：%1</source>
        <translation>Automatic: %1</translation>
    </message>
</context>
<context>
    <name>CLSCustomizePages</name>
    <message>
        <source>最近開いたファイルの最大数は 0 ～ 32767 の間で指定してください。</source>
        <translation>Enter a maximum number of recent files between 0 and 32767.</translation>
    </message>
    <message>
        <source>スペクトラムの幅は 1 ～ 100 の間で指定してください。</source>
        <translation>Enter a spectrum width between 1 and 100.</translation>
    </message>
    <message>
        <source>歌詞を表示するタイミングは 0 ～ 32767 の間で指定してください。</source>
        <translation>Enter how far ahead lyrics are shown, between 0 and 32767.</translation>
    </message>
</context>
<context>
    <name>CLSCustomizeSheet</name>
    <message>
        <source>一般</source>
        <translation>General</translation>
    </message>
    <message>
        <source>スペクトラム</source>
        <translation>Spectrum</translation>
    </message>
    <message>
        <source>カスタマイズ</source>
        <translation>Customize</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>適用(&amp;A)</source>
        <translation>&amp;Apply</translation>
    </message>
    <message>
        <source>ヘルプ</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>CLSCustomizeSpectrumPage</name>
    <message>
        <source>トラック，チャンネル毎に楽器を区別する</source>
        <translation>Tell instruments apart by track and channel</translation>
    </message>
    <message>
        <source>トラック，チャンネルで楽器を区別しない</source>
        <translation>Do not tell instruments apart by track and channel</translation>
    </message>
    <message>
        <source>チャンネルスペクトラムを表示する</source>
        <translation>Show the channel spectrum</translation>
    </message>
    <message>
        <source>最も上の色(&amp;T)...</source>
        <translation>&amp;Top Color...</translation>
    </message>
    <message>
        <source>上方の色(&amp;U)...</source>
        <translation>&amp;Upper Color...</translation>
    </message>
    <message>
        <source>中央の色(&amp;C)...</source>
        <translation>&amp;Center Color...</translation>
    </message>
    <message>
        <source>下方の色(&amp;L)...</source>
        <translation>&amp;Lower Color...</translation>
    </message>
    <message>
        <source>最も下の色(&amp;B)...</source>
        <translation>&amp;Bottom Color...</translation>
    </message>
    <message>
        <source>デジタルスペクトラム(&amp;D)</source>
        <translation>&amp;Digital spectrum</translation>
    </message>
    <message>
        <source>スペクトラムの種類(&amp;T)：</source>
        <translation>Spectrum t&amp;ype:</translation>
    </message>
    <message>
        <source>スペクトラムの幅(&amp;L)：</source>
        <translation>Spectrum &amp;width:</translation>
    </message>
    <message>
        <source>ピクセル</source>
        <translation>pixels</translation>
    </message>
    <message>
        <source>色</source>
        <translation>Colors</translation>
    </message>
</context>
<context>
    <name>CLSError</name>
    <message>
        <source>ダイアログを表示できません。</source>
        <translation>Cannot show the dialog.</translation>
    </message>
    <message>
        <source>ファイルを開けません。</source>
        <translation>Cannot open the file.</translation>
    </message>
    <message>
        <source>再生できません。</source>
        <translation>Cannot play.</translation>
    </message>
    <message>
        <source>ファイルを読み込めません。</source>
        <translation>Cannot read the file.</translation>
    </message>
    <message>
        <source>ウィンドウクラスを登録できません。</source>
        <translation>Cannot register the window class.</translation>
    </message>
    <message>
        <source>ファイルに書き込めません。</source>
        <translation>Cannot write to the file.</translation>
    </message>
    <message>
        <source>DLL のバージョンが違います。</source>
        <translation>The library version does not match.</translation>
    </message>
    <message>
        <source>パラメータが不正です。</source>
        <translation>Invalid parameter.</translation>
    </message>
    <message>
        <source>このアーカイブ形式には対応していません。</source>
        <translation>This archive format is not supported.</translation>
    </message>
    <message>
        <source>その機能は実装されていません。</source>
        <translation>That feature is not implemented.</translation>
    </message>
    <message>
        <source>メモリ不足です。</source>
        <translation>Out of memory.</translation>
    </message>
    <message>
        <source>添字が範囲外です。</source>
        <translation>Index out of range.</translation>
    </message>
    <message>
        <source>予期しないエラーです。</source>
        <translation>Unexpected error.</translation>
    </message>
    <message>
        <source> : %1行</source>
        <translation> : line %1</translation>
    </message>
</context>
<context>
    <name>CLSHelpWindow</name>
    <message>
        <source>Druvel ヘルプ</source>
        <translation>Druvel Help</translation>
    </message>
</context>
<context>
    <name>CLSMainWindow</name>
    <message>
        <source>MIDIファイル，プレイリストファイル，アーカイブファイル (*.mid *.smf *.rmi *.kar *.m3u *.lst *txt *.lzh *.zip)</source>
        <translation>MIDI files, playlist files, archive files (*.mid *.smf *.rmi *.kar *.m3u *.lst *txt *.lzh *.zip)</translation>
    </message>
    <message>
        <source>MIDIファイル (*.mid *.smf *.rmi *.kar)</source>
        <translation>MIDI files (*.mid *.smf *.rmi *.kar)</translation>
    </message>
    <message>
        <source>プレイリストファイル (*.m3u *.lst)</source>
        <translation>Playlist files (*.m3u *.lst)</translation>
    </message>
    <message>
        <source>アーカイブファイル (*.lzh *.zip)</source>
        <translation>Archive files (*.lzh *.zip)</translation>
    </message>
    <message>
        <source>すべてのファイル (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>MIDIファイルのあるフォルダを選択してください。</source>
        <translation>Choose a folder with MIDI files.</translation>
    </message>
</context>
<context>
    <name>CLSMusicInfo</name>
    <message>
        <source>ファイル名: </source>
        <translation>File name: </translation>
    </message>
    <message>
        <source>曲名: </source>
        <translation>Title: </translation>
    </message>
    <message>
        <source>作曲: </source>
        <translation>Composer: </translation>
    </message>
    <message>
        <source>作詞: </source>
        <translation>Lyricist: </translation>
    </message>
    <message>
        <source>編曲: </source>
        <translation>Arranger: </translation>
    </message>
    <message>
        <source>アーティスト: </source>
        <translation>Artist: </translation>
    </message>
    <message>
        <source>長さ: </source>
        <translation>Length: </translation>
    </message>
</context>
<context>
    <name>CLSPlayListModel</name>
    <message>
        <source>曲名/ファイル名</source>
        <translation>Title/File name</translation>
    </message>
    <message>
        <source>長さ</source>
        <translation>Length</translation>
    </message>
</context>
<context>
    <name>CLSPlayListSaveDialog</name>
    <message>
        <source>すべてのファイル (*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>すべてのファイル (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>プレイリストファイル (*.m3u)</source>
        <translation>Playlist files (*.m3u)</translation>
    </message>
    <message>
        <source>リストファイル (*.lst)</source>
        <translation>List files (*.lst)</translation>
    </message>
    <message>
        <source>名前を付けて保存</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>%1 は既に存在します。
上書きしますか?</source>
        <translation>%1 already exists.
Do you want to replace it?</translation>
    </message>
</context>
<context>
    <name>CLSStatusTexts</name>
    <message>
        <source>テンポ： %1%</source>
        <translation>Tempo: %1%</translation>
    </message>
    <message>
        <source>テンポ： %1% (%2)</source>
        <translation>Tempo: %1% (%2)</translation>
    </message>
    <message>
        <source>音量： %1%</source>
        <translation>Volume: %1%</translation>
    </message>
    <message>
        <source>キー： +%1</source>
        <translation>Key: +%1</translation>
    </message>
    <message>
        <source>キー： %1</source>
        <translation>Key: %1</translation>
    </message>
</context>
<context>
    <name>MidiOutError</name>
    <message>
        <source>エラーはありません。</source>
        <translation>No error.</translation>
    </message>
    <message>
        <source>不明なエラーが発生しました。</source>
        <translation>An unknown error occurred.</translation>
    </message>
    <message>
        <source>指定されたデバイス ID は範囲外です。</source>
        <translation>The device ID is out of range.</translation>
    </message>
    <message>
        <source>ドライバを有効にできませんでした。</source>
        <translation>The driver could not be enabled.</translation>
    </message>
    <message>
        <source>指定されたデバイスは既に使用されています。</source>
        <translation>The device is already in use.</translation>
    </message>
    <message>
        <source>指定されたデバイス ハンドルは無効です。</source>
        <translation>The device handle is invalid.</translation>
    </message>
    <message>
        <source>デバイス ドライバがインストールされていません。</source>
        <translation>No device driver is installed.</translation>
    </message>
    <message>
        <source>メモリが不足しています。</source>
        <translation>Not enough memory.</translation>
    </message>
    <message>
        <source>この機能はサポートされていません。</source>
        <translation>This function is not supported.</translation>
    </message>
    <message>
        <source>無効なフラグが指定されました。</source>
        <translation>An invalid flag was given.</translation>
    </message>
    <message>
        <source>無効なパラメータが指定されました。</source>
        <translation>An invalid parameter was given.</translation>
    </message>
    <message>
        <source>ヘッダーが準備されていません。</source>
        <translation>The header is not prepared.</translation>
    </message>
    <message>
        <source>データがまだ再生中です。</source>
        <translation>Data is still playing.</translation>
    </message>
    <message>
        <source>MIDI マップが見つかりません。</source>
        <translation>The MIDI map was not found.</translation>
    </message>
    <message>
        <source>MIDI デバイスはまだ使用中です。</source>
        <translation>The MIDI device is still busy.</translation>
    </message>
    <message>
        <source>MIDI ポートが接続されていません。</source>
        <translation>The MIDI port is not connected.</translation>
    </message>
    <message>
        <source>MIDI の設定が無効です。</source>
        <translation>The MIDI setup is invalid.</translation>
    </message>
    <message>
        <source>このオープン モードではこの操作はできません。</source>
        <translation>This operation is not possible in this open mode.</translation>
    </message>
    <message>
        <source>サウンドフォントが見つかりません。</source>
        <translation>No SoundFont was found.</translation>
    </message>
    <message>
        <source>オーディオ出力を開けません。</source>
        <translation>Cannot open the audio output.</translation>
    </message>
    <message>
        <source>不明な MIDI エラーです。</source>
        <translation>Unknown MIDI error.</translation>
    </message>
</context>
<context>
    <name>SoundFontChoice</name>
    <message>
        <source>SoundFont を読み込めません：%1</source>
        <translation>Cannot read the SoundFont: %1</translation>
    </message>
    <message>
        <source>SoundFont が見つかりません：%1</source>
        <translation>SoundFont not found: %1</translation>
    </message>
    <message>
        <source>SoundFont が壊れています：%1</source>
        <translation>The SoundFont is damaged: %1</translation>
    </message>
    <message>
        <source>自動で選んだ SoundFont で再生します。</source>
        <translation>Playing with the SoundFont found automatically.</translation>
    </message>
</context>
<context>
    <name>WordLayout</name>
    <message>
        <source> : 作詞</source>
        <translation> : Lyrics</translation>
    </message>
    <message>
        <source> : 作曲</source>
        <translation> : Music</translation>
    </message>
</context>
</TS>
