#include "app/CLSMainMenus.h"

#include "core/UiText.h"
#include "player/CLSMenuRules.h"
#include "player/CommandId.h"

#include <QAction>
#include <QActionGroup>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

namespace {

QString Translated(const char* text) {
    return QString::fromStdString(UiText::Translate("CLSCommandTables", text));
}

// "text" and the shortcut shown right-aligned: Qt's menus take both from one tab-split text.
QString MenuText(const MenuEntry& entry) {
    QString text = Translated(entry.text);
    if (entry.shortcut && *entry.shortcut)
        text += QLatin1Char('\t') + QString::fromUtf8(entry.shortcut);
    return text;
}

} // namespace

CLSMainMenus::CLSMainMenus(QMenuBar& bar, StateSource state, CommandSink run, QObject* parent)
    : QObject(parent), m_state(std::move(state)), m_run(std::move(run)) {
    for (const MenuEntry& top : CLSCommandTables::MenuBar()) {
        QMenu* menu = bar.addMenu(Translated(top.text));
        Fill(*menu, top.children);
    }
}

void CLSMainMenus::Fill(QMenu& menu, std::span<const MenuEntry> entries) {
    menu.installEventFilter(this);
    connect(&menu, &QMenu::aboutToShow, this, [this, &menu] { Enable(menu); });
    m_currentGroup = nullptr;
    for (const MenuEntry& entry : entries) {
        switch (entry.kind) {
        case MenuEntry::Kind::Separator:
            menu.addSeparator();
            m_currentGroup = nullptr;
            break;
        case MenuEntry::Kind::Submenu: {
            QMenu* sub = menu.addMenu(Translated(entry.text));
            if (entry.id != 0) // the recent-files and device submenus are found by their id
                m_actions[entry.id] = sub->menuAction();
            QActionGroup* outer = m_currentGroup;
            Fill(*sub, entry.children);
            m_currentGroup = outer;
            break;
        }
        default:
            AddItem(menu, entry);
            break;
        }
    }
    m_currentGroup = nullptr;
}

QAction* CLSMainMenus::AddItem(QMenu& menu, const MenuEntry& entry) {
    QAction* action = menu.addAction(MenuText(entry));
    action->setData(entry.id);
    if (entry.kind == MenuEntry::Kind::Radio) {
        if (!m_currentGroup)
            m_currentGroup = new QActionGroup(this);
        action->setCheckable(true);
        action->setChecked(entry.checked);
        m_currentGroup->addAction(action);
        m_radioGroupOf[entry.id] = m_currentGroup;
    } else if (entry.id == kCmdToolHint) {
        action->setCheckable(true);
    }
    if (entry.isDefault) {
        QFont bold = action->font();
        bold.setBold(true);
        action->setFont(bold);
    }
    const int id = entry.id;
    connect(action, &QAction::triggered, this, [this, id] { m_run(id); });
    m_actions[id] = action;
    return action;
}

void CLSMainMenus::PopUpPlayListMenu(const QPoint& globalPos, QWidget* owner) {
    QMenu menu(owner);
    // Plain items, each running its command: the window's actions keep their own state.
    for (const MenuEntry& entry : CLSCommandTables::PlayListMenu()) {
        if (entry.kind == MenuEntry::Kind::Separator) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(MenuText(entry));
        action->setData(entry.id);
        if (entry.isDefault) {
            QFont bold = action->font();
            bold.setBold(true);
            action->setFont(bold);
            menu.setDefaultAction(action);
        }
    }
    menu.installEventFilter(this);
    Enable(menu);
    if (QAction* chosen = menu.exec(globalPos))
        m_run(chosen->data().toInt());
}

QAction* CLSMainMenus::Action(int id) const {
    auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

void CLSMainMenus::SetChecked(int id, bool on) {
    if (QAction* action = Action(id))
        action->setChecked(on);
}

void CLSMainMenus::CheckRadio(int id) {
    SetChecked(id, true);
}

void CLSMainMenus::Enable(QMenu& menu) {
    const MenuState state = m_state();
    for (QAction* action : menu.actions()) {
        if (const auto enabled = CLSMenuRules::IsEnabled(action->data().toInt(), state))
            action->setEnabled(*enabled);
    }
}

QAction* CLSMainMenus::MakeDynamic(const DynamicMenuItem& item, QMenu& menu) {
    auto* action = new QAction(&menu);
    if (item.id == 0) {
        action->setSeparator(true);
        return action;
    }
    action->setText(QString::fromStdString(item.text));
    action->setData(item.id);
    const int id = item.id;
    connect(action, &QAction::triggered, this, [this, id] { m_run(id); });
    return action;
}

void CLSMainMenus::RebuildRecent(const std::vector<DynamicMenuItem>& items) {
    QAction* clear = Action(kCmdClearRecent);
    if (!clear)
        return;
    QMenu* menu = qobject_cast<QMenu*>(clear->parent());
    for (QAction* old : m_recent)
        delete old;
    m_recent.clear();
    m_actions.erase(m_actions.lower_bound(kCmdFirstRecent), m_actions.end());
    if (!menu)
        return;
    for (const DynamicMenuItem& item : items) {
        QAction* action = MakeDynamic(item, *menu);
        menu->insertAction(clear, action);
        m_recent.push_back(action);
        m_actions[item.id] = action;
    }
    clear->setEnabled(!items.empty());
}

void CLSMainMenus::BuildDevices(const std::vector<DynamicMenuItem>& items) {
    QAction* fallback = Action(kCmdDefaultDevice);
    if (!fallback)
        return;
    QMenu* menu = qobject_cast<QMenu*>(fallback->parent());
    QActionGroup* group =
        m_radioGroupOf.count(kCmdDefaultDevice) ? m_radioGroupOf[kCmdDefaultDevice] : nullptr;
    if (!group) {
        group = new QActionGroup(this);
        fallback->setCheckable(true);
        group->addAction(fallback);
        m_radioGroupOf[kCmdDefaultDevice] = group;
    }
    for (QAction* old : m_devices)
        delete old;
    m_devices.clear();
    if (!menu)
        return;
    for (const DynamicMenuItem& item : items) {
        QAction* action = MakeDynamic(item, *menu);
        if (item.radio) {
            action->setCheckable(true);
            group->addAction(action);
            m_radioGroupOf[item.id] = group;
        }
        menu->insertAction(fallback, action);
        m_devices.push_back(action);
        if (item.id != 0)
            m_actions[item.id] = action;
    }
}

bool CLSMainMenus::eventFilter(QObject* watched, QEvent* event) {
    // An open menu holds the keyboard, so the window's F1 shortcut never sees the key.
    if (event->type() == QEvent::KeyPress && m_help &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        m_help();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
