#pragma once

class CLSDRUVSettings;
class CLSPlayList;
class CLSPlaybackFlow;
class CLSWindowActions;

// Carries out a command id from a menu, the toolbar or a key: playback through the flow, the
// playlist and settings directly, everything else through the window.
class CLSCommandRunner {
public:
    CLSCommandRunner(CLSPlaybackFlow& flow, CLSPlayList& playlist, CLSDRUVSettings& settings,
                     CLSWindowActions& window);

    // The number of output devices listed in the device menu.
    void SetDeviceCount(int count) noexcept { m_deviceCount = count; }

    // False for an id that is no command here.
    bool Run(int id);
    // After the settings changed: the displays, the engine's flags and the recent-files menu.
    void ApplySettings();

private:
    bool RunPlayback(int id);
    bool RunWindow(int id);
    bool RunDynamic(int id);

    CLSPlaybackFlow& m_flow;
    CLSPlayList& m_playlist;
    CLSDRUVSettings& m_settings;
    CLSWindowActions& m_window;
    int m_deviceCount = 0;
};
