// The main window's commands that need the window itself: modes, menus built at run time,
// adding paths, dialogs and help.
#include "app/CLSAboutDialog.h"
#include "app/CLSHelpWindow.h"
#include "app/CLSMainMenus.h"
#include "app/CLSMainWindow.h"
#include "app/CLSPlayListSaveDialog.h"
#include "app/DroppedPaths.h"
#include "app/HelpTopics.h"
#include "app/ToolTipGate.h"
#include "app/WindowChildren.h"
#include "backends/MidiOutDevices.h"
#include "core/CLSTString.h"
#include "player/CLSCommandRunner.h"
#include "player/CLSMenuRules.h"
#include "player/CLSPlaybackFlow.h"
#include "player/CommandId.h"
#include "playlist/CLSPlayList.h"
#include "playlist/ui/CLSArchiveDialog.h"
#include "playlist/ui/CLSPlayListWidget.h"
#include "settings/CLSDRUVSettings.h"
#include "settings/ui/CLSCustomizeSheet.h"
#include "synth/SoundFontChoice.h"

#include <QAction>
#include <QDropEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QToolBar>

namespace {

constexpr const char* kModule = "MAIN";
constexpr int kErrCannotWrite = 9;

// The open dialog's filters, first one chosen.
const char* const kOpenFilters[] = {
    QT_TRANSLATE_NOOP("CLSMainWindow",
                      "MIDIファイル，プレイリストファイル，アーカイブファイル (*.mid *.smf "
                      "*.rmi *.kar *.m3u *.lst *txt *.lzh *.zip)"),
    QT_TRANSLATE_NOOP("CLSMainWindow", "MIDIファイル (*.mid *.smf *.rmi *.kar)"),
    QT_TRANSLATE_NOOP("CLSMainWindow", "プレイリストファイル (*.m3u *.lst)"),
    QT_TRANSLATE_NOOP("CLSMainWindow", "アーカイブファイル (*.lzh *.zip)"),
    QT_TRANSLATE_NOOP("CLSMainWindow", "すべてのファイル (*)"),
};

QString OpenFilter() {
    QStringList filters;
    for (const char* filter : kOpenFilters)
        filters << CLSMainWindow::tr(filter);
    return filters.join(QStringLiteral(";;"));
}

} // namespace

void CLSMainWindow::AddPaths(const std::vector<std::string>& paths) {
    if (paths.empty())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    for (const std::string& path : paths)
        m_flow->AddPath(CLSTString(path.c_str()));
    QGuiApplication::restoreOverrideCursor();
    RebuildRecentMenu();
}

void CLSMainWindow::AddHandedPath(const std::string& path) {
    AddPaths({path});
}

void CLSMainWindow::RestorePlayList() {
    const CLSTStringArray& items = m_settings.PlayListItems();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    for (unsigned i = 0; i < items.size(); ++i)
        m_playlist.Add(items[i], false);
    QGuiApplication::restoreOverrideCursor();
}

void CLSMainWindow::OpenFiles() {
    const QStringList chosen =
        QFileDialog::getOpenFileNames(this, QString(), QString(), OpenFilter());
    std::vector<std::string> paths;
    for (const QString& path : chosen)
        paths.push_back(QFile::encodeName(path).toStdString());
    AddPaths(paths);
}

void CLSMainWindow::OpenFolder() {
    const QString folder = QFileDialog::getExistingDirectory(
        this, tr("MIDIファイルのあるフォルダを選択してください。"));
    if (!folder.isEmpty())
        AddPaths({QFile::encodeName(folder).toStdString()});
}

void CLSMainWindow::SavePlayList() {
    CLSPlayListSaveDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!dialog.ReplacingAgreed())
        return;
    const CLSTString target = dialog.TargetPath();
    if (!m_playlist.SaveToFile(target.Text()))
        CLSError(kErrCannotWrite, kModule, __LINE__).Show(this);
}

void CLSMainWindow::InstallArchiveChooser() {
    m_archiveDialog = new CLSArchiveDialog(this);
    m_archiveDialog->onHelp = [this] { ShowHelpTopic(HelpTopics::kArchiveChooser); };
    m_playlist.SetArchiveChooser(m_archiveDialog);
}

void CLSMainWindow::Customize() {
    CLSCustomizeSheet sheet(m_settings, this);
    // Once per page that applied, as the sheet reports each.
    sheet.SetApplied([this] { m_runner->ApplySettings(); });
    sheet.SetShowHelp([this](int topic) { ShowHelpTopic(topic); });
    sheet.exec();
    // The next play opens the synthesizer with it.
    SoundFontChoice::SetUserChoice(m_settings.SoundFont.Text());
}

void CLSMainWindow::Close() {
    close();
}

void CLSMainWindow::HelpContents() {
    if (!m_help)
        m_help = std::make_unique<CLSHelpWindow>();
    m_help->ShowContents();
}

void CLSMainWindow::ShowHelpTopic(int topic) {
    if (!m_help)
        m_help = std::make_unique<CLSHelpWindow>();
    m_help->ShowTopic(topic);
}

void CLSMainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedPaths(*event->mimeData()).empty())
        event->acceptProposedAction();
}

void CLSMainWindow::dropEvent(QDropEvent* event) {
    const std::vector<std::string> paths = DroppedPaths(*event->mimeData());
    if (paths.empty())
        return;
    event->acceptProposedAction();
    // Adding a big folder takes a while; the drag source must not wait for it.
    QMetaObject::invokeMethod(
        this, [this, paths] { AddPaths(paths); }, Qt::QueuedConnection);
}

void CLSMainWindow::About() {
    CLSAboutDialog about(this);
    about.exec();
}

void CLSMainWindow::RebuildRecentMenu() {
    m_menus->RebuildRecent(CLSMenuRules::RecentItems(m_settings.RecentFiles()));
}

void CLSMainWindow::CheckPlayOrder(int id) {
    m_menus->CheckRadio(id);
    Q_EMIT PlayOrderChanged();
}

void CLSMainWindow::CheckDevice(int id) {
    m_menus->CheckRadio(id);
}

void CLSMainWindow::ShowToolHints(bool on) {
    m_children->playList->SetToolTipsShown(on);
    m_children->toolBarTips->SetOpen(on);
    m_menus->SetChecked(kCmdToolHint, on);
}

void CLSMainWindow::BuildDeviceMenu() {
    const std::vector<std::string> names = MidiOutDevices().Names();
    m_deviceCount = static_cast<int>(names.size());
    m_menus->BuildDevices(CLSMenuRules::DeviceItems(names));
    m_runner->SetDeviceCount(m_deviceCount);
    if (const auto checked =
            CLSMenuRules::CheckedDeviceItem(m_settings.MidiDeviceID, m_deviceCount))
        m_menus->CheckRadio(*checked);
}

void CLSMainWindow::SetWindowMode(int id) {
    const bool first = !isVisible();
    const auto change = m_layout.SetWindowMode(id, CurrentPlacement(), m_settings);
    if (!change)
        return;
    m_menus->CheckRadio(id);
    const bool wasVisible = isVisible();
    // The old mode's height limits must not clamp the new size.
    setMaximumHeight(QWIDGETSIZE_MAX);
    setMinimumHeight(0);
    // The frame first: showing it again after a flag change sends the size Qt last heard of,
    // which would undo a resize still on its way to the window manager.
    if (windowFlags().testFlag(Qt::WindowMaximizeButtonHint) != change->maximiseBox) {
        setWindowFlag(Qt::WindowMaximizeButtonHint, change->maximiseBox);
        if (wasVisible)
            show(); // changing the frame's flags hides the window
    }
    if (change->restoreToSettings && !first) {
        if (isMaximized() || isMinimized())
            showNormal();
        // Left and Top are the frame's position, as move() takes it.
        resize(m_settings.Width, m_settings.Height);
        if (m_settings.Left != CLSDRUVSettings::kUseDefault)
            move(m_settings.Left, m_settings.Top);
    }
    if (change->fixedClientHeight) {
        if (isMaximized())
            showNormal();
        resize(width(), FrameHeight() + *change->fixedClientHeight);
    }
    ShowChildren();
    ApplySizeLimits();
    ApplyLayout();
}
