#include "settings/CLSDRUVSettings.h"

#include "core/Assert.h"
#include "core/CLSFileWriteAtomic.h"
#include "settings/CLSIniWriter.h"
#include "settings/SettingsLocation.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr const char* kModule = "DRUVSET";

// Index i of "RecentFile<i>": decimal digits without a leading zero, or 0 for any other key.
int NumberAfter(const CLSTString& key, const char* prefix, int limit) {
    const int prefixLength = static_cast<int>(std::strlen(prefix));
    if (key.Length() <= prefixLength ||
        CLSTString(key.Text(), 0, prefixLength).CompareNoCase(prefix))
        return 0;
    const char* digits = key.Text() + prefixLength;
    if (*digits == '0')
        return 0;
    long long number = 0;
    for (const char* p = digits; *p; ++p) {
        if (*p < '0' || *p > '9')
            return 0;
        number = number * 10 + (*p - '0');
        if (number > limit)
            return 0;
    }
    return static_cast<int>(number);
}

// A path holding a line end would split into lines of its own on the next read, and those
// could even pose as settings (file names on Linux may hold any byte but '/' and zero).
bool FitsOnOneLine(const CLSTString& text) {
    return text.Find('\r') == -1 && text.Find('\n') == -1;
}

void WriteNumbered(CLSIniWriter& ini, const char* prefix, const CLSTStringArray& texts);

} // namespace

std::uint32_t& CLSDRUVSettings::SpectrumColor(int index) {
    DRUV_ASSERT(index >= 0 && index < kSpectrumColorCount, kModule);
    return SpectrumColors[static_cast<std::size_t>(index)];
}

std::uint32_t CLSDRUVSettings::SpectrumColor(int index) const {
    DRUV_ASSERT(index >= 0 && index < kSpectrumColorCount, kModule);
    return SpectrumColors[static_cast<std::size_t>(index)];
}

void CLSDRUVSettings::SetRecentMax(int n) {
    if (n < 0 || n > kRecentMaxLimit)
        return;
    m_RecentMax = n;
    if (m_recentFiles.size() > static_cast<unsigned>(n))
        m_recentFiles.erase(m_recentFiles.begin() + n, m_recentFiles.end());
}

const char* CLSDRUVSettings::GetRecentFile(int index) const {
    if (index < 0 || static_cast<unsigned>(index) >= m_recentFiles.size())
        return nullptr;
    return m_recentFiles[static_cast<unsigned>(index)].Text();
}

void CLSDRUVSettings::AddRecentFile(const CLSTString& path) {
    if (m_RecentMax == 0)
        return;
    const CLSTString entry(path); // the path may be one of our own entries
    const auto found = std::find(m_recentFiles.begin(), m_recentFiles.end(), entry);
    if (found != m_recentFiles.end())
        m_recentFiles.erase(found);
    else if (static_cast<long long>(m_recentFiles.size()) >= m_RecentMax)
        m_recentFiles.pop_back();
    m_recentFiles.insert(m_recentFiles.begin(), 1, entry);
}

const char* CLSDRUVSettings::GetPlayListItem(int index) const {
    if (index < 0 || static_cast<unsigned>(index) >= m_playListItems.size())
        return nullptr;
    return m_playListItems[static_cast<unsigned>(index)].Text();
}

bool CLSDRUVSettings::Load(const char* path) {
    CLSIniFile ini;
    if (!ini.Read(path))
        return false;
    if (const CLSIniSection* section = ini.Section("Window"))
        LoadWindow(section);
    if (const CLSIniSection* section = ini.Section("Recent"))
        LoadRecent(section);
    if (const CLSIniSection* section = ini.Section("Options"))
        LoadOptions(section);
    if (const CLSIniSection* section = ini.Section("Color"))
        LoadColor(section);
    return true;
}

void CLSDRUVSettings::LoadWindow(const CLSIniSection* lpclsElement) {
    DRUV_ASSERT(lpclsElement != NULL, kModule);
    const CLSIniSection& s = *lpclsElement;
    CLSIniFile::ReadFlag(s, "Show", Show, Flags);
    CLSIniFile::ReadInt(s, "Left", Left);
    CLSIniFile::ReadInt(s, "Top", Top);
    CLSIniFile::ReadInt(s, "Width", Width);
    CLSIniFile::ReadInt(s, "Height", Height);
    CLSIniFile::ReadInt(s, "PlayListWidth", PlayListWidth);
    CLSIniFile::ReadInt(s, "PlayListFileNameWidth", PlayListFileNameWidth);
    CLSIniFile::ReadInt(s, "PlayListLengthWidth", PlayListLengthWidth);
    CLSIniFile::ReadInt(s, "ArcOpenDlgWidth", ArcOpenDlgWidth);
    CLSIniFile::ReadInt(s, "ArcOpenDlgHeight", ArcOpenDlgHeight);
    CLSIniFile::ReadInt(s, "WindowMode", WindowMode);
}

void CLSDRUVSettings::LoadRecent(const CLSIniSection* lpclsElement) {
    DRUV_ASSERT(lpclsElement != NULL, kModule);
    CLSIniFile::ReadInt(*lpclsElement, "RecentMax", m_RecentMax);
    // Same result as asking for RecentFile1 .. RecentFile<RecentMax> in turn, without
    // billions of look-ups when the file holds a huge RecentMax.
    std::vector<std::pair<int, const CLSTString*>> numbered;
    for (const auto& [key, value] : *lpclsElement) {
        if (const int i = NumberAfter(key, "RecentFile", m_RecentMax))
            numbered.emplace_back(i, &value);
    }
    std::sort(numbered.begin(), numbered.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& entry : numbered)
        m_recentFiles.push_back(*entry.second);
}

void CLSDRUVSettings::LoadOptions(const CLSIniSection* lpclsElement) {
    DRUV_ASSERT(lpclsElement != NULL, kModule);
    const CLSIniSection& s = *lpclsElement;
    CLSIniFile::ReadInt(s, "MidiDeviceID", MidiDeviceID);
    CLSIniFile::ReadFlag(s, "SearchSubFolder", SearchSubFolder, Flags);
    CLSIniFile::ReadFlag(s, "NoSendExclusive", NoSendExclusive, Flags);
    CLSIniFile::ReadFlag(s, "AdjustVelocity", AdjustVelocity, Flags);
    CLSIniFile::ReadFlag(s, "DigitalSpectrum", DigitalSpectrum, Flags);
    CLSIniFile::ReadFlag(s, "PermitMultiExecute", PermitMultiExecute, Flags);
    CLSIniFile::ReadFlag(s, "RestorePlayList", RestorePlayList, Flags);
    CLSIniFile::ReadFlag(s, "ShowToolHint", ShowToolHint, Flags);
    CLSIniFile::ReadInt(s, "PlayType", PlayType);
    CLSIniFile::ReadInt(s, "SpectrumType", SpectrumType);
    CLSIniFile::ReadInt(s, "MeterWidth", MeterWidth);
    CLSIniFile::ReadInt(s, "WordTraceAheadTime", WordTraceAheadTime);
    if (const CLSTString* soundFont = CLSIniFile::Find(s, "SoundFont"))
        SoundFont = *soundFont;
    if (!GetFlag(RestorePlayList))
        return;
    for (int i = 1;; ++i) {
        const CLSTString* item = CLSIniFile::Find(s, (CLSTString("PlayListItem") + i).Text());
        if (!item)
            break;
        m_playListItems.push_back(*item);
    }
}

void CLSDRUVSettings::LoadColor(const CLSIniSection* lpclsElement) {
    DRUV_ASSERT(lpclsElement != NULL, kModule);
    const CLSIniSection& s = *lpclsElement;
    CLSIniFile::ReadColor(s, "SpectrumTop", SpectrumColor(SpectrumTop));
    CLSIniFile::ReadColor(s, "SpectrumUpper", SpectrumColor(SpectrumUpper));
    CLSIniFile::ReadColor(s, "SpectrumCenter", SpectrumColor(SpectrumCenter));
    CLSIniFile::ReadColor(s, "SpectrumLower", SpectrumColor(SpectrumLower));
    CLSIniFile::ReadColor(s, "SpectrumBottom", SpectrumColor(SpectrumBottom));
    CLSIniFile::ReadColor(s, "Instrument", Instrument);
}

bool CLSDRUVSettings::Save(const char* path) const {
    if (!path || !SettingsLocation::CreateFolderOf(path))
        return false;
    CLSFileWriteAtomic file;
    if (!file.Open(path))
        return false;
    CLSIniWriter ini(file.Writer());
    SaveWindow(ini);
    ini.Separator();
    SaveRecent(ini);
    ini.Separator();
    SaveOptions(ini);
    ini.Separator();
    SaveColor(ini);
    file.Commit();
    return true;
}

void CLSDRUVSettings::SaveWindow(CLSIniWriter& ini) const {
    ini.Section("Window");
    ini.Flag("Show", GetFlag(Show));
    ini.Int("Left", Left);
    ini.Int("Top", Top);
    ini.Int("Width", Width);
    ini.Int("Height", Height);
    ini.Int("PlayListWidth", PlayListWidth);
    ini.Int("PlayListFileNameWidth", PlayListFileNameWidth);
    ini.Int("PlayListLengthWidth", PlayListLengthWidth);
    ini.Int("ArcOpenDlgWidth", ArcOpenDlgWidth);
    ini.Int("ArcOpenDlgHeight", ArcOpenDlgHeight);
    ini.Int("WindowMode", WindowMode);
}

void CLSDRUVSettings::SaveRecent(CLSIniWriter& ini) const {
    ini.Section("Recent");
    ini.Int("RecentMax", m_RecentMax);
    WriteNumbered(ini, "RecentFile", m_recentFiles);
}

void CLSDRUVSettings::SaveOptions(CLSIniWriter& ini) const {
    ini.Section("Options");
    ini.Int("MidiDeviceID", MidiDeviceID);
    ini.Flag("SearchSubFolder", GetFlag(SearchSubFolder));
    ini.Flag("NoSendExclusive", GetFlag(NoSendExclusive));
    ini.Flag("AdjustVelocity", GetFlag(AdjustVelocity));
    ini.Flag("DigitalSpectrum", GetFlag(DigitalSpectrum));
    ini.Flag("PermitMultiExecute", GetFlag(PermitMultiExecute));
    ini.Flag("RestorePlayList", GetFlag(RestorePlayList));
    WriteNumbered(ini, "PlayListItem", m_playListItems);
    ini.Flag("ShowToolHint", GetFlag(ShowToolHint));
    ini.Int("PlayType", PlayType);
    ini.Int("SpectrumType", SpectrumType);
    ini.Int("MeterWidth", MeterWidth);
    ini.Int("WordTraceAheadTime", WordTraceAheadTime);
    // Automatic leaves the file as it always was.
    if (!SoundFont.IsEmpty() && FitsOnOneLine(SoundFont))
        ini.Text("SoundFont", SoundFont);
}

void CLSDRUVSettings::SaveColor(CLSIniWriter& ini) const {
    ini.Section("Color");
    ini.Color("Instrument", Instrument);
    ini.Color("SpectrumTop", SpectrumColor(SpectrumTop));
    ini.Color("SpectrumUpper", SpectrumColor(SpectrumUpper));
    ini.Color("SpectrumCenter", SpectrumColor(SpectrumCenter));
    ini.Color("SpectrumLower", SpectrumColor(SpectrumLower));
    ini.Color("SpectrumBottom", SpectrumColor(SpectrumBottom));
}

namespace {

void WriteNumbered(CLSIniWriter& ini, const char* prefix, const CLSTStringArray& texts) {
    int number = 0;
    for (const CLSTString& text : texts) {
        if (FitsOnOneLine(text))
            ini.Text((CLSTString(prefix) + ++number).Text(), text);
    }
}

} // namespace
