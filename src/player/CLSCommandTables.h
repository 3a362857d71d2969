#pragma once

#include <span>

// The menus, the accelerator keys and the toolbar as data; the window builds its widgets from
// these in this order.
struct MenuEntry {
    enum class Kind { Item, Radio, Separator, Submenu };
    Kind kind = Kind::Item;
    const char* text = "";     // UTF-8, "&" before the mnemonic
    const char* shortcut = ""; // shown right-aligned after the text
    int id = 0;                // CommandId; 0 for separators and submenus
    std::span<const MenuEntry> children = {};
    bool checked = false;   // radio mark the menu starts with
    bool isDefault = false; // shown bold; a double click's command
};

enum class AccelKey { O, S, Space, Home, Left, Right, KeypadPlus, KeypadMinus };

enum AccelModifier : int { kAccelNone = 0, kAccelCtrl = 1, kAccelAlt = 2 };

struct Accelerator {
    AccelKey key;
    int modifiers;
    int id;
};

struct ToolButton {
    int image; // index into the 28 x 20 strip
    int id;
    const char* tooltip;
};

class CLSCommandTables {
public:
    // The top-level menus, each a Submenu entry.
    static std::span<const MenuEntry> MenuBar();
    static std::span<const MenuEntry> PlayListMenu();
    static std::span<const Accelerator> Accelerators();
    static std::span<const ToolButton> ToolBar();
    // The command a key gives, or kCmdNone.
    static int CommandForKey(AccelKey key, int modifiers);
    // The entry with this id anywhere in the menu bar (submenus searched), or null.
    static const MenuEntry* FindInMenuBar(int id);
};
