#include "player/CLSMenuRules.h"

#include "core/DisplayText.h"
#include "player/CommandId.h"
#include "playlist/CLSPlayList.h"
#include "settings/CLSDRUVSettings.h"

#include <algorithm>

MenuState MenuState::Of(const CLSPlayList& playlist) {
    MenuState state;
    state.songCount = playlist.Count();
    state.hasSelection = playlist.HasSelection();
    state.canMoveUp = playlist.CanMoveUp();
    state.canMoveDown = playlist.CanMoveDown();
    return state;
}

std::optional<bool> CLSMenuRules::IsEnabled(int id, const MenuState& state) {
    switch (id) {
    case kCmdSavePlayList:
    case kCmdPlayPause:
    case kCmdStop:
    case kCmdPrevious:
    case kCmdNext:
        return state.songCount > 0;
    case kCmdPlayListPlay:
    case kCmdPlayListDelete:
        return state.hasSelection;
    case kCmdMoveUp:
        return state.canMoveUp;
    case kCmdMoveDown:
        return state.canMoveDown;
    default:
        return std::nullopt;
    }
}

std::string CLSMenuRules::EscapeMnemonics(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '&')
            out += '&';
    }
    return out;
}

std::vector<DynamicMenuItem> CLSMenuRules::RecentItems(const CLSTStringArray& recentFiles) {
    std::vector<DynamicMenuItem> items;
    for (std::size_t i = 0; i < recentFiles.size(); ++i) {
        const CLSTString& path = recentFiles[i];
        const std::string shown = DisplayText(path.Text(), static_cast<std::size_t>(path.Length()));
        items.push_back({kCmdFirstRecent + static_cast<int>(i),
                         "&" + std::to_string((i + 1) % 10) + " " + EscapeMnemonics(shown), false});
    }
    return items;
}

CLSTString CLSMenuRules::RecentPath(int id, const CLSDRUVSettings& settings) {
    const int index = id - kCmdFirstRecent;
    if (index < 0 || static_cast<std::size_t>(index) >= settings.RecentFiles().size())
        return CLSTString();
    return settings.RecentFiles()[static_cast<std::size_t>(index)];
}

std::vector<DynamicMenuItem> CLSMenuRules::DeviceItems(const std::vector<std::string>& names) {
    std::vector<DynamicMenuItem> items;
    const int count = std::min(static_cast<int>(names.size()), kMaxDeviceItems);
    for (int k = 0; k < count; ++k) {
        items.push_back({kCmdFirstDevice + k,
                         "&" + std::to_string(k % 10) + " " +
                             EscapeMnemonics(names[static_cast<std::size_t>(k)]),
                         true});
    }
    if (count > 0)
        items.push_back({0, "", false});
    return items;
}

std::optional<int> CLSMenuRules::CheckedDeviceItem(int midiDeviceId, int deviceCount) {
    const int listed = std::min(deviceCount, kMaxDeviceItems);
    if (midiDeviceId < -1 || midiDeviceId >= listed)
        return std::nullopt;
    return kCmdFirstDevice + midiDeviceId;
}

bool CLSMenuRules::ChooseDevice(int id, int deviceCount, CLSDRUVSettings& settings) {
    const int listed = std::min(deviceCount, kMaxDeviceItems);
    if (id < kCmdDefaultDevice || id > kCmdDefaultDevice + listed)
        return false;
    settings.MidiDeviceID = id - kCmdFirstDevice;
    return true;
}
