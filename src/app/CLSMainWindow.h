#pragma once

#include "player/CLSMainLayout.h"
#include "player/CLSWindowActions.h"

#include <QMainWindow>

#include <memory>
#include <string>
#include <vector>

class CLSArchiveDialog;
class CLSCommandRunner;
class CLSDRUVSettings;
class CLSHelpWindow;
class CLSMIDIData;
class CLSMainMenus;
class CLSPlayList;
class CLSPlayListModel;
class CLSPlayListWidget;
class CLSPlaybackFlow;
class CLSWndMarquee;
class CLSWndSeparator;
class CLSWndSpectrum;
class CLSWndTimeLabel;
class CLSWndTrackBar;
class CLSWordControl;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QToolBar;
struct WindowChildren;

// The player's main window: it owns the child controls, places them by the layout's
// arithmetic, builds the menus from the command tables and hands every command to the runner.
// The playback logic is the flow's; this class only connects widgets to it.
class CLSMainWindow : public QMainWindow, public CLSWindowActions {
    Q_OBJECT
public:
    CLSMainWindow(CLSDRUVSettings& settings, CLSMIDIData& engine, CLSPlayList& playlist);
    ~CLSMainWindow() override;

    // Start-up steps after the window exists, in this order. `maximised`: the settings file's
    // Show, read before the window existed (creating it saves the placement over it).
    void ShowAsSaved(bool maximised, Qt::WindowState fallback = Qt::WindowNoState);
    void RestorePlayList();
    void AddPaths(const std::vector<std::string>& paths);
    // A path handed over by a second instance: added, not played.
    void AddHandedPath(const std::string& path);

    // Saves the placement (as before a mode change and at exit).
    void SavePlacement();
    // Stops playback at once; the window is going away.
    void Shutdown();

    CLSPlaybackFlow& Flow() noexcept { return *m_flow; }
    CLSCommandRunner& Commands() noexcept { return *m_runner; }
    const CLSMainLayout& Layout() const noexcept { return m_layout; }
    QWidget* Child(int id) const;
    QAction* MenuAction(int id) const;
    int ToolBarHeight() const noexcept { return m_toolBarHeight; }
    int SplitterCentre() const;

    // CLSWindowActions
    void OpenFiles() override;
    void OpenFolder() override;
    void SavePlayList() override;
    void Close() override;
    void SetWindowMode(int id) override;
    void ShowToolHints(bool on) override;
    void Customize() override;
    void HelpContents() override;
    void ShowHelpTopic(int topic);
    void About() override;
    void RebuildRecentMenu() override;
    void CheckPlayOrder(int id) override;
    void CheckDevice(int id) override;

Q_SIGNALS:
    // The play order's menu mark moved (the setting follows at once).
    void PlayOrderChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateChildren();
    void InstallArchiveChooser();
    void CreateToolBar();
    void CreateSliders();
    void ConnectControls();
    void InstallAccelerators();
    void BuildDeviceMenu();
    void ApplyLayout();
    void ClientResized(QSize oldSize);
    void ApplySizeLimits();
    void ShowChildren();
    void RunCommand(int id);
    void OnSliderNotify(int code, int controlId);
    WindowPlacement CurrentPlacement() const;
    int FrameHeight() const;
    void NoteFrameOffset();

    CLSDRUVSettings& m_settings;
    CLSMIDIData& m_engine;
    CLSPlayList& m_playlist;
    CLSMainLayout m_layout;
    int m_toolBarHeight = 30;
    int m_deviceCount = 0;
    bool m_shutDown = false;
    // Client origin less frame origin, as last seen while the window was neither maximised
    // nor minimised: the normal rectangle Qt keeps is the client's.
    QPoint m_frameOffset;

    QWidget* m_client = nullptr;
    std::unique_ptr<WindowChildren> m_children;
    std::unique_ptr<CLSPlaybackFlow> m_flow;
    std::unique_ptr<CLSCommandRunner> m_runner;
    std::unique_ptr<CLSMainMenus> m_menus;
    std::unique_ptr<CLSHelpWindow> m_help;
    CLSArchiveDialog* m_archiveDialog = nullptr; // a child: Qt deletes it with the window
};
