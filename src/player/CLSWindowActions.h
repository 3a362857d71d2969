#pragma once

// The commands only the window can carry out (dialogs, its frame, its menus). The command
// runner calls these; the window implements them.
class CLSWindowActions {
public:
    virtual ~CLSWindowActions() = default;
    virtual void OpenFiles() = 0;
    virtual void OpenFolder() = 0;
    virtual void SavePlayList() = 0;
    virtual void Close() = 0;
    virtual void SetWindowMode(int id) = 0;
    virtual void ShowToolHints(bool on) = 0;
    virtual void Customize() = 0;
    virtual void HelpContents() = 0;
    virtual void About() = 0;
    virtual void RebuildRecentMenu() = 0;
    // Moves the radio mark within the play-order items or within the device items.
    virtual void CheckPlayOrder(int id) = 0;
    virtual void CheckDevice(int id) = 0;
};
