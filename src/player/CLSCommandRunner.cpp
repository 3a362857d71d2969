#include "player/CLSCommandRunner.h"

#include "player/CLSMenuRules.h"
#include "player/CLSPlaybackFlow.h"
#include "player/CLSWindowActions.h"
#include "player/CommandId.h"
#include "playlist/CLSPlayList.h"
#include "settings/CLSDRUVSettings.h"

CLSCommandRunner::CLSCommandRunner(CLSPlaybackFlow& flow, CLSPlayList& playlist,
                                   CLSDRUVSettings& settings, CLSWindowActions& window)
    : m_flow(flow), m_playlist(playlist), m_settings(settings), m_window(window) {}

bool CLSCommandRunner::Run(int id) {
    return RunPlayback(id) || RunWindow(id) || RunDynamic(id);
}

void CLSCommandRunner::ApplySettings() {
    m_flow.ApplySettings();
    m_window.RebuildRecentMenu();
}

bool CLSCommandRunner::RunPlayback(int id) {
    switch (id) {
    case kCmdPlayPause:
        m_flow.PlayPause();
        return true;
    case kCmdStop:
        m_flow.StopPlayback(false);
        return true;
    case kCmdPrevious:
        m_flow.Previous();
        return true;
    case kCmdNext:
        m_flow.Next();
        return true;
    case kCmdOrderNormal:
    case kCmdOrderRepeatOne:
    case kCmdOrderRepeatAll:
    case kCmdOrderRandom:
        m_window.CheckPlayOrder(id);
        m_settings.PlayType = id - kCmdOrderNormal;
        return true;
    case kCmdTempoUp:
    case kCmdTempoDown:
        m_flow.StepTempo(id == kCmdTempoUp ? CLSPlaybackFlow::kTempoStep
                                           : -CLSPlaybackFlow::kTempoStep);
        return true;
    case kCmdVolumeUp:
    case kCmdVolumeDown:
        m_flow.StepVolume(id == kCmdVolumeUp ? CLSPlaybackFlow::kVolumeStep
                                             : -CLSPlaybackFlow::kVolumeStep);
        return true;
    case kCmdKeyUp:
    case kCmdKeyDown:
        m_flow.StepKey(id == kCmdKeyUp ? 1 : -1);
        return true;
    case kCmdPlayListPlay:
        m_flow.PlayFocused();
        return true;
    case kCmdPlayListDelete:
        m_flow.DeleteSelected();
        return true;
    case kCmdMoveUp:
        m_playlist.MoveSelectedUp();
        return true;
    case kCmdMoveDown:
        m_playlist.MoveSelectedDown();
        return true;
    default:
        return false;
    }
}

bool CLSCommandRunner::RunWindow(int id) {
    switch (id) {
    case kCmdOpen:
        m_window.OpenFiles();
        return true;
    case kCmdOpenFolder:
        m_window.OpenFolder();
        return true;
    case kCmdSavePlayList:
        m_window.SavePlayList();
        return true;
    case kCmdExit:
        m_window.Close();
        return true;
    case kCmdToolHint: {
        const bool on = !m_settings.GetFlag(CLSDRUVSettings::ShowToolHint);
        m_settings.SetFlag(CLSDRUVSettings::ShowToolHint, on);
        m_window.ShowToolHints(on);
        return true;
    }
    case kCmdModeNormal:
    case kCmdModeCompact:
    case kCmdModeNoLyrics:
    case kCmdModeNoSpectrum:
    case kCmdModeLyricsOnly:
        m_window.SetWindowMode(id);
        return true;
    case kCmdCustomize:
        m_window.Customize();
        return true;
    case kCmdHelpContents:
        m_window.HelpContents();
        return true;
    case kCmdAbout:
        m_window.About();
        return true;
    case kCmdClearRecent:
        m_settings.ClearRecentFiles();
        m_window.RebuildRecentMenu();
        return true;
    default:
        return false;
    }
}

bool CLSCommandRunner::RunDynamic(int id) {
    if (CLSMenuRules::ChooseDevice(id, m_deviceCount, m_settings)) {
        m_window.CheckDevice(id);
        return true;
    }
    const CLSTString path = CLSMenuRules::RecentPath(id, m_settings);
    if (path.IsEmpty())
        return false;
    m_flow.AddPath(path);
    m_window.RebuildRecentMenu();
    return true;
}
