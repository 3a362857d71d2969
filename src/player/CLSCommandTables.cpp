#include "player/CLSCommandTables.h"

#include "core/UiText.h"
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
constexpr std::array kRecent = {Item(
    DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "最近開いたファイルのクリア(&C)"), kCmdClearRecent)};

constexpr std::array kFile = {
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "開く(&O)..."), kCmdOpen, "Ctrl+O"),
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "フォルダを開く(&F)..."), kCmdOpenFolder),
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "プレイリストを保存(&S)..."), kCmdSavePlayList,
         "Ctrl+S"),
    Submenu(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "最近開いたファイル(&L)"), kRecent),
    Separator(),
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "終了(&X)"), kCmdExit),
};

constexpr std::array kOrder = {
    Radio(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "通常(&N)"), kCmdOrderNormal),
    Radio(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "1曲繰り返し(&O)"), kCmdOrderRepeatOne),
    Radio(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "全曲繰り返し(&A)"), kCmdOrderRepeatAll),
    Radio(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "ランダム再生(&R)"), kCmdOrderRandom),
};
constexpr std::array kTempo = {
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "テンポを上げる(&U)"), kCmdTempoUp, "Ctrl+ +"),
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "テンポを下げる(&D)"), kCmdTempoDown, "Ctrl+ -"),
};
constexpr std::array kVolume = {
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "音量を上げる(&U)"), kCmdVolumeUp, "Alt+ +"),
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "音量を下げる(&D)"), kCmdVolumeDown, "Alt+ -"),
};
constexpr std::array kKey = {
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "キーを上げる(&U)"), kCmdKeyUp, "+"),
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "キーを下げる(&D)"), kCmdKeyDown, "-"),
};
// The output devices and a separator go before the default device at run time.
constexpr std::array kDevice = {
    Radio(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "デフォルトのデバイス(&M)"), kCmdDefaultDevice,
          true)};

constexpr std::array kPlay = {
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "再生/一時停止(&P)"), kCmdPlayPause,
         "Ctrl+Space"),
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "停止(&S)"), kCmdStop, "Ctrl+Home"),
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "前曲(&E)"), kCmdPrevious, "Ctrl+←"),
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "次曲(&N)"), kCmdNext, "Ctrl+→"),
    Submenu(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "再生方法(&L)"), kOrder),
    Submenu(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "テンポ(&T)"), kTempo),
    Submenu(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "音量(&V)"), kVolume),
    Submenu(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "キー(&K)"), kKey),
    Separator(),
    Submenu(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "デバイス(&D)"), kDevice),
};

constexpr std::array kView = {
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "ツールヒント(&T)"), kCmdToolHint),
    Separator(),
    Radio(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "通常ウィンドウ(&N)"), kCmdModeNormal),
    Radio(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "コンパクト表示(&C)"), kCmdModeCompact),
    Radio(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "歌詞表示なし(&O)"), kCmdModeNoLyrics),
    Radio(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "スペクトラム表示なし(&P)"),
          kCmdModeNoSpectrum),
    Radio(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "歌詞のみ表示(&W)"), kCmdModeLyricsOnly),
    Separator(),
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "カスタマイズ(&C)..."), kCmdCustomize),
};

constexpr std::array kList = {
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "再生(&P)"), kCmdPlayListPlay),
    Separator(),
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "削除(&R)"), kCmdPlayListDelete),
    Separator(),
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "上へ(&U)"), kCmdMoveUp),
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "下へ(&D)"), kCmdMoveDown),
};

constexpr std::array kHelp = {
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "目次(&C)..."), kCmdHelpContents),
    Separator(),
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "バージョン情報(&A)..."), kCmdAbout),
};

constexpr std::array kMenuBar = {
    Submenu(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "ファイル(&F)"), kFile),
    Submenu(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "再生(&P)"), kPlay),
    Submenu(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "表示(&V)"), kView),
    Submenu(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "プレイリスト(&L)"), kList),
    Submenu(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "ヘルプ(&H)"), kHelp),
};

constexpr std::array kContext = {
    MenuEntry{K::Item,
              DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "再生(&P)"),
              "",
              kCmdPlayListPlay,
              {},
              false,
              true},
    Separator(),
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "追加(&A)..."), kCmdOpen),
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "削除(&R)"), kCmdPlayListDelete),
    Separator(),
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "上へ(&U)"), kCmdMoveUp),
    Item(DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "下へ(&D)"), kCmdMoveDown),
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
    ToolButton{0, kCmdPrevious, DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "前曲")},
    ToolButton{1, kCmdStop, DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "停止")},
    ToolButton{2, kCmdPlayPause, DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "再生/一時停止")},
    ToolButton{3, kCmdNext, DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "次曲")},
    ToolButton{4, kCmdOpen, DRUVEL_TRANSLATE_NOOP("CLSCommandTables", "開く")},
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
