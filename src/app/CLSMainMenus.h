#pragma once

#include "player/CLSCommandTables.h"

#include <QObject>

#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
struct DynamicMenuItem;
struct MenuState;

// The menu bar and the playlist's context menu built from the command tables. Every action
// carries its command id in QAction::data(); the enabling rules run as each menu opens.
class CLSMainMenus : public QObject {
    Q_OBJECT
public:
    using StateSource = std::function<MenuState()>;
    using CommandSink = std::function<void(int id)>;

    CLSMainMenus(QMenuBar& bar, StateSource state, CommandSink run, QObject* parent = nullptr);

    // The playlist's menu, made for one use at a time.
    void PopUpPlayListMenu(const QPoint& globalPos, QWidget* owner);

    QAction* Action(int id) const;
    void SetChecked(int id, bool on);
    // Moves a radio mark to id within its group (play order, window mode, device).
    void CheckRadio(int id);

    void RebuildRecent(const std::vector<DynamicMenuItem>& items);
    void BuildDevices(const std::vector<DynamicMenuItem>& items);
    // Runs the enabling rules over a menu's items.
    void Enable(QMenu& menu);

    // F1 while a menu is open asks for the menus' help.
    void SetHelpRequest(std::function<void()> help) { m_help = std::move(help); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill(QMenu& menu, std::span<const MenuEntry> entries);
    QAction* AddItem(QMenu& menu, const MenuEntry& entry);
    QAction* MakeDynamic(const DynamicMenuItem& item, QMenu& menu);

    StateSource m_state;
    CommandSink m_run;
    std::function<void()> m_help;
    std::map<int, QAction*> m_actions;
    std::map<int, QActionGroup*> m_radioGroupOf;
    QActionGroup* m_currentGroup = nullptr;
    std::vector<QAction*> m_recent;
    std::vector<QAction*> m_devices;
    QActionGroup* m_deviceGroup = nullptr;
};
