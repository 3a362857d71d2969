#include "player/CLSCommandTables.h"

#include "player/CommandId.h"

#include <array>

namespace {

using K = MenuEntry::Kind;

constexpr MenuEntry Item(const char* text, int id, const char* shortcut = "") {
    return {K::Item, text, shortcut, id, {}, false, false};
}
constexpr MenuEntry Radio(const char* text, int id, bool checked = false) {
    return {K::Radio, text, "", id, {}, checked, false};
}
constexpr MenuEntry Separator() {
    return {K::Separator, "", "", 0, {}, false, false};
}
template <std::size_t N>
constexpr MenuEntry Submenu(const char* text, const std::array<MenuEntry, N>& children) {
    return {K::Submenu, text, "", 0, children, false, false};
}

// The recent files go before the clear item at run time.
constexpr std::array kRecent = {Item("最近開いたファイルのクリア(&C)", kCmdClearRecent)};

constexpr std::array kFile = {
    Item("開く(&O)...", kCmdOpen, "Ctrl+O"),
    Item("フォルダを開く(&F)...", kCmdOpenFolder),
    Item("プレイリストを保存(&S)...", kCmdSavePlayList, "Ctrl+S"),
    Submenu("最近開いたファイル(&L)", kRecent),
    Separator(),
    Item("終了(&X)", kCmdExit),
};

constexpr std::array kOrder = {
    Radio("通常(&N)", kCmdOrderNormal),
    Radio("1曲繰り返し(&O)", kCmdOrderRepeatOne),
    Radio("全曲繰り返し(&A)", kCmdOrderRepeatAll),
    Radio("ランダム再生(&R)", kCmdOrderRandom),
};
constexpr std::array kTempo = {
    Item("テンポを上げる(&U)", kCmdTempoUp, "Ctrl+ +"),
    Item("テンポを下げる(&D)", kCmdTempoDown, "Ctrl+ -"),
};
constexpr std::array kVolume = {
    Item("音量を上げる(&U)", kCmdVolumeUp, "Alt+ +"),
    Item("音量を下げる(&D)", kCmdVolumeDown, "Alt+ -"),
};
constexpr std::array kKey = {
    Item("キーを上げる(&U)", kCmdKeyUp, "+"),
    Item("キーを下げる(&D)", kCmdKeyDown, "-"),
};
// The output devices and a separator go before the default device at run time.
constexpr std::array kDevice = {Radio("デフォルトのデバイス(&M)", kCmdDefaultDevice, true)};

constexpr std::array kPlay = {
    Item("再生/一時停止(&P)", kCmdPlayPause, "Ctrl+Space"),
    Item("停止(&S)", kCmdStop, "Ctrl+Home"),
    Item("前曲(&E)", kCmdPrevious, "Ctrl+←"),
    Item("次曲(&N)", kCmdNext, "Ctrl+→"),
    Submenu("再生方法(&L)", kOrder),
    Submenu("テンポ(&T)", kTempo),
    Submenu("音量(&V)", kVolume),
    Submenu("キー(&K)", kKey),
    Separator(),
    Submenu("デバイス(&D)", kDevice),
};

constexpr std::array kView = {
    Item("ツールヒント(&T)", kCmdToolHint),
    Separator(),
    Radio("通常ウィンドウ(&N)", kCmdModeNormal),
    Radio("コンパクト表示(&C)", kCmdModeCompact),
    Radio("歌詞表示なし(&O)", kCmdModeNoLyrics),
    Radio("スペクトラム表示なし(&P)", kCmdModeNoSpectrum),
    Radio("歌詞のみ表示(&W)", kCmdModeLyricsOnly),
    Separator(),
    Item("カスタマイズ(&C)...", kCmdCustomize),
};

constexpr std::array kList = {
    Item("再生(&P)", kCmdPlayListPlay),   Separator(),
    Item("削除(&R)", kCmdPlayListDelete), Separator(),
    Item("上へ(&U)", kCmdMoveUp),         Item("下へ(&D)", kCmdMoveDown),
};

constexpr std::array kHelp = {
    Item("目次(&C)...", kCmdHelpContents),
    Separator(),
    Item("バージョン情報(&A)...", kCmdAbout),
};

constexpr std::array kMenuBar = {
    Submenu("ファイル(&F)", kFile),     Submenu("再生(&P)", kPlay),   Submenu("表示(&V)", kView),
    Submenu("プレイリスト(&L)", kList), Submenu("ヘルプ(&H)", kHelp),
};

constexpr std::array kContext = {
    MenuEntry{K::Item, "再生(&P)", "", kCmdPlayListPlay, {}, false, true},
    Separator(),
    Item("追加(&A)...", kCmdOpen),
    Item("削除(&R)", kCmdPlayListDelete),
    Separator(),
    Item("上へ(&U)", kCmdMoveUp),
    Item("下へ(&D)", kCmdMoveDown),
};

constexpr std::array kAccelerators = {
    Accelerator{AccelKey::O, kAccelCtrl, kCmdOpen},
    Accelerator{AccelKey::S, kAccelCtrl, kCmdSavePlayList},
    Accelerator{AccelKey::Space, kAccelCtrl, kCmdPlayPause},
    Accelerator{AccelKey::Home, kAccelCtrl, kCmdStop},
    Accelerator{AccelKey::Left, kAccelCtrl, kCmdPrevious},
    Accelerator{AccelKey::Right, kAccelCtrl, kCmdNext},
    Accelerator{AccelKey::KeypadPlus, kAccelCtrl, kCmdTempoUp},
    Accelerator{AccelKey::KeypadMinus, kAccelCtrl, kCmdTempoDown},
    Accelerator{AccelKey::KeypadPlus, kAccelAlt, kCmdVolumeUp},
    Accelerator{AccelKey::KeypadMinus, kAccelAlt, kCmdVolumeDown},
    Accelerator{AccelKey::KeypadPlus, kAccelNone, kCmdKeyUp},
    Accelerator{AccelKey::KeypadMinus, kAccelNone, kCmdKeyDown},
};

constexpr std::array kToolBar = {
    ToolButton{0, kCmdPrevious, "前曲"},
    ToolButton{1, kCmdStop, "停止"},
    ToolButton{2, kCmdPlayPause, "再生/一時停止"},
    ToolButton{3, kCmdNext, "次曲"},
    ToolButton{4, kCmdOpen, "開く"},
};

const MenuEntry* Find(std::span<const MenuEntry> entries, int id) {
    for (const MenuEntry& entry : entries) {
        if (entry.kind == K::Submenu) {
            if (const MenuEntry* found = Find(entry.children, id))
                return found;
        } else if (entry.id == id && id != 0) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace

std::span<const MenuEntry> CLSCommandTables::MenuBar() {
    return kMenuBar;
}

std::span<const MenuEntry> CLSCommandTables::PlayListMenu() {
    return kContext;
}

std::span<const Accelerator> CLSCommandTables::Accelerators() {
    return kAccelerators;
}

std::span<const ToolButton> CLSCommandTables::ToolBar() {
    return kToolBar;
}

int CLSCommandTables::CommandForKey(AccelKey key, int modifiers) {
    for (const Accelerator& accelerator : kAccelerators) {
        if (accelerator.key == key && accelerator.modifiers == modifiers)
            return accelerator.id;
    }
    return kCmdNone;
}

const MenuEntry* CLSCommandTables::FindInMenuBar(int id) {
    return Find(kMenuBar, id);
}
