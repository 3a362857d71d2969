#pragma once

#include "core/CLSTString.h"

#include <optional>
#include <string>
#include <vector>

class CLSDRUVSettings;
class CLSPlayList;

// What the enabling rules look at, taken as a menu opens.
struct MenuState {
    unsigned songCount = 0;
    bool hasSelection = false;
    bool canMoveUp = false;
    bool canMoveDown = false;

    static MenuState Of(const CLSPlayList& playlist);
};

// An item the window inserts at run time: a recent file or an output device.
struct DynamicMenuItem {
    int id = 0; // 0 for a separator
    std::string text;
    bool radio = false;
};

// The enabling rules and the menu items built at run time.
class CLSMenuRules {
public:
    // Ids below this stay clear of the recent-files items; later devices are not listed.
    static constexpr int kMaxDeviceItems = 48;

    // Enabled or greyed for the commands the rules govern; nothing for the others, which keep
    // whatever state they have.
    static std::optional<bool> IsEnabled(int id, const MenuState& state);

    // "&N path", N running 1..9 then 0, most recent first; they go before the clear item, which
    // is enabled only when there is at least one. "&" inside a path is doubled so it shows.
    static std::vector<DynamicMenuItem> RecentItems(const CLSTStringArray& recentFiles);
    // The stored path of a recent-file item, exactly as it was recorded (not read back from the
    // shown text, so no byte of it is lost); empty when the id names none.
    static CLSTString RecentPath(int id, const CLSDRUVSettings& settings);

    // "&N name" radio items, N being the device number mod 10, then a separator; they go before
    // the default device. Nothing without devices.
    static std::vector<DynamicMenuItem> DeviceItems(const std::vector<std::string>& names);
    // The item the radio mark belongs on for MidiDeviceID; nothing when that device is gone.
    static std::optional<int> CheckedDeviceItem(int midiDeviceId, int deviceCount);
    // Stores the chosen device (the default device is -1); false for an id that names none.
    static bool ChooseDevice(int id, int deviceCount, CLSDRUVSettings& settings);

    // Doubles "&" so a menu shows it instead of taking it for a mnemonic.
    static std::string EscapeMnemonics(const std::string& text);
};
