#pragma once

#include "core/CLSTString.h"
#include "settings/CLSIniFile.h"

#include <array>
#include <cstdint>

class CLSIniWriter;

// The one settings record: user preferences, the main window's placement, the recent files and
// the playlist of the last run. Every setting is named after its key in DRUV.INI.
class CLSDRUVSettings {
public:
    // Bits of Flags, one per on/off setting.
    enum FlagBit : int {
        Show = 0x01, // the main window was maximised
        SearchSubFolder = 0x02,
        NoSendExclusive = 0x04,
        AdjustVelocity = 0x08,
        DigitalSpectrum = 0x10,
        PermitMultiExecute = 0x20,
        ShowToolHint = 0x40,
        RestorePlayList = 0x100,
    };
    static constexpr int kDefaultFlags = SearchSubFolder | DigitalSpectrum | ShowToolHint;

    // Indexes into SpectrumColors, top of the gradient first.
    enum SpectrumIndex : int {
        SpectrumTop = 0,
        SpectrumUpper,
        SpectrumCenter,
        SpectrumLower,
        SpectrumBottom,
        kSpectrumColorCount
    };

    static constexpr int kUseDefault = static_cast<int>(0x80000000u); // "let the platform choose"
    static constexpr int kRecentMaxLimit = 32767;

    // Reads the file over the current values; false when it cannot be opened (all stays).
    // A failing read throws CLSError 7.
    bool Load(const char* path);
    // Writes every setting in the fixed order, replacing the file only once all is written.
    // False, silently, when the file cannot be created; a failing write throws CLSError 9.
    bool Save(const char* path) const;

    bool GetFlag(int mask) const noexcept { return (Flags & mask) != 0; }
    void SetFlag(int mask, bool on) noexcept { Flags = on ? (Flags | mask) : (Flags & ~mask); }

    std::uint32_t& SpectrumColor(int index);
    std::uint32_t SpectrumColor(int index) const;

    int RecentMax() const noexcept { return m_RecentMax; }
    void SetRecentMax(int n);
    const char* GetRecentFile(int index) const;
    void AddRecentFile(const CLSTString& path);
    void ClearRecentFiles() { m_recentFiles.clear(); }
    const CLSTStringArray& RecentFiles() const noexcept { return m_recentFiles; }

    const char* GetPlayListItem(int index) const;
    void SetPlayListItems(const CLSTStringArray& paths) { m_playListItems = paths; }
    const CLSTStringArray& PlayListItems() const noexcept { return m_playListItems; }

    int Left = kUseDefault;
    int Top = kUseDefault;
    int Width = 660;
    int Height = 520;
    int ArcOpenDlgWidth = kUseDefault;
    int ArcOpenDlgHeight = kUseDefault;
    int PlayListWidth = 176;
    int PlayListFileNameWidth = 119;
    int PlayListLengthWidth = 40;
    int MeterWidth = 14;
    int SpectrumType = 0;
    int WindowMode = 0;
    int WordTraceAheadTime = 200;
    int PlayType = 0;
    int MidiDeviceID = 0; // the embedded synthesizer, device 0, is always there
    int Flags = kDefaultFlags;
    CLSTString SoundFont; // the embedded synthesizer's; empty: chosen automatically
    std::uint32_t Instrument = 0xC8FFFF;
    std::array<std::uint32_t, kSpectrumColorCount> SpectrumColors = {
        0x0000FF, // red
        0x00FFFF, // yellow
        0x00FF00, // green
        0xFFFF00, // cyan
        0xFF0000, // blue
    };

private:
    void LoadWindow(const CLSIniSection* lpclsElement);
    void LoadRecent(const CLSIniSection* lpclsElement);
    void LoadOptions(const CLSIniSection* lpclsElement);
    void LoadColor(const CLSIniSection* lpclsElement);
    void SaveWindow(CLSIniWriter& ini) const;
    void SaveRecent(CLSIniWriter& ini) const;
    void SaveOptions(CLSIniWriter& ini) const;
    void SaveColor(CLSIniWriter& ini) const;

    int m_RecentMax = 10;
    CLSTStringArray m_recentFiles;
    CLSTStringArray m_playListItems;
};
