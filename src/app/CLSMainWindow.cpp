#include "app/CLSMainWindow.h"

#include "app/CLSAboutDialog.h"
#include "app/CLSHelpWindow.h"
#include "app/CLSMainMenus.h"
#include "app/HelpTopics.h"
#include "app/KeypadAccelerators.h"
#include "app/ToolTipGate.h"
#include "app/ToolbarImages.h"
#include "app/WindowChildren.h"
#include "backends/MidiOutDevices.h"
#include "controls/CLSWndMarquee.h"
#include "controls/CLSWndSeparator.h"
#include "controls/CLSWndTimeLabel.h"
#include "controls/CLSWndTrackBar.h"
#include "controls/CLSWordControl.h"
#include "controls/ControlFonts.h"
#include "core/MidiOutError.h"
#include "core/UiText.h"
#include "midi/CLSMIDIData.h"
#include "player/CLSCommandRunner.h"
#include "player/CLSCommandTables.h"
#include "player/CLSMenuRules.h"
#include "player/CLSPlaybackFlow.h"
#include "player/CommandId.h"
#include "playlist/CLSPlayList.h"
#include "playlist/ui/CLSPlayListWidget.h"
#include "playlist/ui/PlayListMarkerImages.h"
#include "settings/CLSDRUVSettings.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QResizeEvent>
#include <QShortcut>
#include <QToolBar>
#include <QWindow>

#include <algorithm>

namespace {

// The client area: black, children placed by hand, a new layout on every size change.
class ClientArea : public QWidget {
public:
    std::function<void(QSize oldSize)> onResize;

protected:
    void resizeEvent(QResizeEvent* event) override {
        if (onResize)
            onResize(event->oldSize());
    }
};

constexpr int kTempoStart = 100;
constexpr int kVolumeStart = 100;
constexpr int kThumb = 17;
const QColor kLabelInk(0xFF, 0xFF, 0x80);

QKeySequence KeyOf(const Accelerator& accel) {
    Qt::Key key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers;
    switch (accel.key) {
    case AccelKey::O:
        key = Qt::Key_O;
        break;
    case AccelKey::S:
        key = Qt::Key_S;
        break;
    case AccelKey::Space:
        key = Qt::Key_Space;
        break;
    case AccelKey::Home:
        key = Qt::Key_Home;
        break;
    case AccelKey::Left:
        key = Qt::Key_Left;
        break;
    case AccelKey::Right:
        key = Qt::Key_Right;
        break;
    case AccelKey::KeypadPlus:
    case AccelKey::KeypadMinus:
        break; // KeypadAccelerators
    }
    if (accel.modifiers & kAccelCtrl)
        modifiers |= Qt::ControlModifier;
    if (accel.modifiers & kAccelAlt)
        modifiers |= Qt::AltModifier;
    return QKeySequence(QKeyCombination(modifiers, key));
}

QLabel* MakeSliderLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    label->setTextFormat(Qt::PlainText);
    label->setAttribute(Qt::WA_TranslucentBackground);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kLabelInk);
    label->setPalette(palette);
    label->setFont(ControlFonts::InterfaceFont());
    return label;
}

} // namespace

CLSMainWindow::CLSMainWindow(CLSDRUVSettings& settings, CLSMIDIData& engine, CLSPlayList& playlist)
    : m_settings(settings), m_engine(engine), m_playlist(playlist), m_layout(30, 0),
      m_children(std::make_unique<WindowChildren>(playlist)) {
    setWindowTitle(QStringLiteral("Druvel"));
    setWindowIcon(CLSAboutDialog::ProgramIcon());
    setAcceptDrops(true);
    // The playlist's tips show whether the window is active or not.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    auto* client = new ClientArea;
    client->setAutoFillBackground(true);
    QPalette black = client->palette();
    black.setColor(QPalette::Window, Qt::black);
    client->setPalette(black);
    client->onResize = [this](QSize oldSize) { ClientResized(oldSize); };
    m_client = client;
    setCentralWidget(client);
    // Sized as saved before the children exist: the splitter's place follows from the width.
    resize(m_settings.Width, m_settings.Height);
    if (m_settings.Left != CLSDRUVSettings::kUseDefault)
        move(m_settings.Left, m_settings.Top);
    CreateChildren();
}

CLSMainWindow::~CLSMainWindow() {
    Shutdown();
    m_flow.reset();
    m_playlist.SetView(nullptr);
    m_playlist.SetArchiveChooser(nullptr);
    m_engine.SetNotifier({});
    m_engine.SetOwner(nullptr);
}

void CLSMainWindow::CreateChildren() {
    WindowChildren& c = *m_children;
    CreateToolBar();
    c.words = new CLSWordControl(m_client);
    c.words->SetEngine(&m_engine);
    c.timeLabel = new CLSWndTimeLabel(m_client);
    c.timeLabel->Create(m_client, kChildTimeLabel);
    c.tempoLabel = MakeSliderLabel(m_client);
    c.volumeLabel = MakeSliderLabel(m_client);
    c.keyLabel = MakeSliderLabel(m_client);
    c.seekBar = new CLSWndTrackBar(m_client);
    c.seekBar->Create(m_client, kChildSeekBar);
    c.spectrum.Create(m_client, kChildSpectrum);
    c.marquee = new CLSWndMarquee(m_client);
    c.marquee->Create(m_client, kChildMarquee);
    c.marquee->SetFont(ControlFonts::InterfaceFont());
    c.splitter = new CLSWndSeparator(m_client);
    c.splitter->Create(m_client, kChildSplitter);
    c.splitter->SetPosition(
        CLSMainLayout::SplitterCentreFor(m_settings.Width, m_settings.PlayListWidth));
    c.playList = new CLSPlayListWidget(c.playListModel, m_client);
    c.playListModel.SetMarkerImages(PlayListMarkerImages::Icon(PlayListMarkerImages::kPlain),
                                    PlayListMarkerImages::Icon(PlayListMarkerImages::kCurrent));
    c.playList->setColumnWidth(CLSPlayListModel::kColumnName, m_settings.PlayListFileNameWidth);
    // The default width was chosen for the Japanese heading; a longer one shows whole until
    // the user picks a width.
    int lengthWidth = m_settings.PlayListLengthWidth;
    if (lengthWidth == CLSDRUVSettings().PlayListLengthWidth)
        lengthWidth =
            std::max(lengthWidth, c.playList->HeadingWidth(CLSPlayListModel::kColumnLength));
    c.playList->setColumnWidth(CLSPlayListModel::kColumnLength, lengthWidth);
    m_playlist.SetView(&c.playListModel);
    m_playlist.SetOwner(this);
    InstallArchiveChooser();
    CreateSliders();

    c.seekView = std::make_unique<TrackBarSeekView>(*c.seekBar);
    c.tempoView = std::make_unique<TrackBarSeekView>(*c.tempoSlider);
    c.volumeView = std::make_unique<TrackBarSeekView>(*c.volumeSlider);
    c.keyView = std::make_unique<TrackBarSeekView>(*c.keySlider);
    c.timeView = std::make_unique<TimeLabelWidgetView>(*c.timeLabel);
    c.tempoText = std::make_unique<StaticTextView>(*c.tempoLabel);
    c.volumeText = std::make_unique<StaticTextView>(*c.volumeLabel);
    c.keyText = std::make_unique<StaticTextView>(*c.keyLabel);
    c.lyricsView = std::make_unique<WordControlView>(*c.words);
    c.spectrumView = std::make_unique<SpectrumControlView>(c.spectrum, m_engine);
    c.marqueeView = std::make_unique<MarqueeControlView>(*c.marquee);
    PlaybackViews views;
    views.seekBar = c.seekView.get();
    views.timeLabel = c.timeView.get();
    views.tempoSlider = c.tempoView.get();
    views.volumeSlider = c.volumeView.get();
    views.keySlider = c.keyView.get();
    views.tempoLabel = c.tempoText.get();
    views.volumeLabel = c.volumeText.get();
    views.keyLabel = c.keyText.get();
    views.lyrics = c.lyricsView.get();
    views.spectrum = c.spectrumView.get();
    views.marquee = c.marqueeView.get();
    m_flow = std::make_unique<CLSPlaybackFlow>(m_engine, m_playlist, m_settings, views);
    m_flow->SetOwner(this);
    // Opening the synthesizer takes a few hundred ms; the window keeps painting meanwhile.
    m_flow->SetOpenAside(true);
    m_runner = std::make_unique<CLSCommandRunner>(*m_flow, m_playlist, m_settings, *this);
    m_menus = std::make_unique<CLSMainMenus>(
        *menuBar(), [this] { return MenuState::Of(m_playlist); },
        [this](int id) { RunCommand(id); });

    ConnectControls();
    InstallAccelerators();
    m_menus->CheckRadio(kCmdOrderNormal + m_settings.PlayType);
    // Laid out once before the mode saves the placement, so the playlist's width is real.
    if (QLayout* frame = layout())
        frame->activate();
    ApplyLayout();
    SetWindowMode(CLSMainLayout::kFirstModeId + m_settings.WindowMode);
    ShowToolHints(m_settings.GetFlag(CLSDRUVSettings::ShowToolHint));
    BuildDeviceMenu();
    m_flow->ReadInitialVolume([](int id, std::unique_ptr<MidiOutput>& out) {
        // The synthesizer starts at full gain; opening it here would load its SoundFont on the
        // GUI thread before the window shows.
        if (id == MidiOutDevices::kSynthesizer || id == MidiOutDevices::kDefaultDevice)
            return static_cast<int>(MIDIOUT_BADDEVICEID);
        return MidiOutDevices().Create(id, out);
    });
    m_runner->ApplySettings();

    // The engine's notifications come from its timer thread: only posted here.
    m_engine.SetOwner(this);
    m_engine.SetNotifier([this](int kind, unsigned) {
        // Stamped when posted: an end delivered after the user started another song is stale.
        const unsigned play = m_flow->PlayStamp();
        QMetaObject::invokeMethod(
            this, [this, kind, play] { m_flow->OnEngineNotify(kind, play); }, Qt::QueuedConnection);
    });
}

void CLSMainWindow::CreateToolBar() {
    auto* bar = new QToolBar(m_client);
    bar->setIconSize(QSize(ToolbarImages::kWidth, ToolbarImages::kHeight));
    bar->setMovable(false);
    bar->setFloatable(false);
    // The layout gives the toolbar 175 pixels: the style's default margins would push the last
    // of the five buttons into an overflow menu.
    bar->setStyleSheet(QStringLiteral("QToolBar { background: transparent; border: none; "
                                      "spacing: 0px; padding: 0px; }"));
    bar->setContentsMargins(0, 0, 0, 0);
    for (const ToolButton& button : CLSCommandTables::ToolBar()) {
        QAction* action = bar->addAction(
            ToolbarImages::Icon(button.image),
            QString::fromStdString(UiText::Translate("CLSCommandTables", button.tooltip)));
        action->setData(button.id);
        const int id = button.id;
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    }
    const int buttonWidth =
        CLSMainLayout::kToolBarWidth / static_cast<int>(CLSCommandTables::ToolBar().size());
    auto* tips = new ToolTipGate(bar);
    for (QAction* action : bar->actions()) {
        bar->widgetForAction(action)->setFixedWidth(buttonWidth);
        tips->Watch(bar->widgetForAction(action));
    }
    m_children->toolBar = bar;
    m_children->toolBarTips = tips;
    m_toolBarHeight = bar->sizeHint().height();
    m_layout = CLSMainLayout(m_toolBarHeight, m_settings.WindowMode);
}

void CLSMainWindow::CreateSliders() {
    WindowChildren& c = *m_children;
    auto make = [this](int id, int minimum, int maximum, int value, int page) {
        auto* slider = new CLSWndTrackBar(m_client);
        slider->Create(m_client, id);
        slider->SetThumbLength(kThumb);
        slider->SetPageStep(page);
        slider->SetRange(minimum, maximum);
        slider->SetPos(value);
        return slider;
    };
    c.tempoSlider = make(kChildTempoSlider, CLSPlaybackFlow::kTempoMin, CLSPlaybackFlow::kTempoMax,
                         kTempoStart, 10);
    c.volumeSlider = make(kChildVolumeSlider, CLSPlaybackFlow::kVolumeMin,
                          CLSPlaybackFlow::kVolumeMax, kVolumeStart, 10);
    c.keySlider = make(kChildKeySlider, CLSPlaybackFlow::kKeyMin, CLSPlaybackFlow::kKeyMax, 0, 2);
    c.keySlider->SetFill(false);
}

void CLSMainWindow::ConnectControls() {
    WindowChildren& c = *m_children;
    for (CLSWndTrackBar* bar : {c.seekBar, c.tempoSlider, c.volumeSlider, c.keySlider})
        connect(bar, &CLSWndTrackBar::Notify, this,
                [this](int code, int, int id) { OnSliderNotify(code, id); });
    connect(c.splitter, &CLSWndSeparator::LayoutRequested, this, [this] { ApplyLayout(); });
    c.playList->onDoubleClick = [this](int row) { m_flow->PlayRow(row); };
    c.playList->onDelete = [this] { RunCommand(kCmdPlayListDelete); };
    c.playList->onContextMenu = [this](const QPoint& at) { m_menus->PopUpPlayListMenu(at, this); };
}

void CLSMainWindow::InstallAccelerators() {
    new KeypadAccelerators(*this, [this](int id) { RunCommand(id); });
    for (const Accelerator& accel : CLSCommandTables::Accelerators()) {
        if (accel.key == AccelKey::KeypadPlus || accel.key == AccelKey::KeypadMinus)
            continue;
        auto* shortcut = new QShortcut(KeyOf(accel), this);
        shortcut->setContext(Qt::WindowShortcut);
        const int id = accel.id;
        connect(shortcut, &QShortcut::activated, this, [this, id] { RunCommand(id); });
    }
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, [this] { ShowHelpTopic(HelpTopics::kMainWindow); });
    m_menus->SetHelpRequest([this] { ShowHelpTopic(HelpTopics::kMenus); });
}

void CLSMainWindow::OnSliderNotify(int code, int controlId) {
    if (code != CLSWndTrackBar::kThumbPosition && code != CLSWndTrackBar::kThumbTrack)
        return;
    WindowChildren& c = *m_children;
    switch (controlId) {
    case kChildSeekBar:
        if (code == CLSWndTrackBar::kThumbPosition)
            m_flow->SeekChosen(c.seekBar->GetPos());
        else
            m_flow->SeekTracking(c.seekBar->GetPos());
        break;
    case kChildTempoSlider:
        m_flow->UpdateTempo();
        break;
    case kChildVolumeSlider:
        m_flow->UpdateVolume();
        break;
    case kChildKeySlider:
        m_flow->UpdateKey();
        break;
    default:
        break;
    }
}

void CLSMainWindow::RunCommand(int id) {
    m_runner->Run(id);
}

QWidget* CLSMainWindow::Child(int id) const {
    const WindowChildren& c = *m_children;
    switch (id) {
    case kChildLyrics:
        return c.words;
    case kChildSeekBar:
        return c.seekBar;
    case kChildTimeLabel:
        return c.timeLabel;
    case kChildPlayList:
        return c.playList;
    case kChildSplitter:
        return c.splitter;
    case kChildTempoSlider:
        return c.tempoSlider;
    case kChildTempoLabel:
        return c.tempoLabel;
    case kChildVolumeSlider:
        return c.volumeSlider;
    case kChildVolumeLabel:
        return c.volumeLabel;
    case kChildKeySlider:
        return c.keySlider;
    case kChildKeyLabel:
        return c.keyLabel;
    case kChildSpectrum:
        return c.spectrum.Window();
    case kChildToolBar:
        return c.toolBar;
    case kChildMarquee:
        return c.marquee;
    default:
        return nullptr;
    }
}

QAction* CLSMainWindow::MenuAction(int id) const {
    return m_menus ? m_menus->Action(id) : nullptr;
}

int CLSMainWindow::SplitterCentre() const {
    return m_children->splitter->GetPosition();
}

void CLSMainWindow::ApplyLayout() {
    if (!m_children || !m_children->playList || isMinimized())
        return;
    const CLSMainLayout::Geometry g =
        m_layout.Layout(m_client->width(), m_client->height(), SplitterCentre());
    WindowChildren& c = *m_children;
    c.splitter->SetLimits(g.splitterMin, g.splitterMax);
    c.splitter->SetPosition(g.splitterCentre);
    for (const auto& [id, r] : g.rects) {
        if (id == kChildSplitter) {
            c.splitter->SetExtent(r.y, r.y + r.height);
            continue;
        }
        if (id == kChildSpectrum) {
            c.spectrum.Move(r.x, r.y, r.width, r.height);
            continue;
        }
        if (QWidget* child = Child(id))
            child->setGeometry(r.x, r.y, r.width, r.height);
    }
    m_client->update();
}

void CLSMainWindow::ShowChildren() {
    for (int id = kChildLyrics; id <= kChildMarquee; ++id) {
        const bool shown = m_layout.IsShown(id);
        if (id == kChildSpectrum)
            m_children->spectrum.Show(shown);
        else if (QWidget* child = Child(id))
            child->setVisible(shown);
    }
}

int CLSMainWindow::FrameHeight() const {
    // What the window adds to the client area: the menu bar (the desktop draws the frame).
    return menuBar()->isVisible() || !isVisible() ? menuBar()->sizeHint().height() : 0;
}

void CLSMainWindow::ApplySizeLimits() {
    const CLSMainLayout::SizeLimits limits = m_layout.LimitSize(FrameHeight());
    setMinimumSize(limits.minWidth, limits.minHeight);
    setMaximumHeight(limits.maxHeight ? *limits.maxHeight : QWIDGETSIZE_MAX);
}

void CLSMainWindow::ClientResized(QSize oldSize) {
    // The playlist keeps its width; the lyrics and the spectrum take up the change.
    const int oldWidth = oldSize.width();
    const int newWidth = m_client->width();
    if (oldWidth > 0 && newWidth > 0 && !isMinimized() && m_children->splitter) {
        const int e = CLSMainLayout::kSplitterThickness;
        m_children->splitter->SetLimits(e + CLSMainLayout::kSplitterMargin,
                                        newWidth - e - CLSMainLayout::kSplitterMargin);
        m_children->splitter->SetPosition(
            CLSMainLayout::KeepPlaylistWidth(SplitterCentre(), oldWidth, oldWidth, newWidth));
    }
    ApplyLayout();
}

WindowPlacement CLSMainWindow::CurrentPlacement() const {
    const bool normalNow = !isMaximized() && !isMinimized();
    const QRect normal = normalNow ? geometry() : normalGeometry();
    // The frame's position, as move() takes it back at the next start: the client's would
    // creep by the title bar at every run.
    const QPoint frame = normalNow ? pos() : normal.topLeft() - m_frameOffset;
    WindowPlacement p;
    p.left = frame.x();
    p.top = frame.y();
    p.width = normal.width();
    p.height = normal.height();
    p.maximised = isMaximized();
    p.playListWidth = m_children->playList->width();
    p.fileNameWidth = m_children->playList->ColumnWidth(CLSPlayListModel::kColumnName);
    p.lengthWidth = m_children->playList->ColumnWidth(CLSPlayListModel::kColumnLength);
    return p;
}

void CLSMainWindow::SavePlacement() {
    CLSMainLayout::SavePlacement(m_layout.Mode(), CurrentPlacement(), m_settings);
}

void CLSMainWindow::ShowAsSaved(bool maximised, Qt::WindowState fallback) {
    if (m_settings.Left != CLSDRUVSettings::kUseDefault)
        move(m_settings.Left, m_settings.Top);
    if (maximised)
        showMaximized();
    else {
        setWindowState(fallback);
        show();
    }
}

void CLSMainWindow::Shutdown() {
    if (m_shutDown || !m_flow)
        return;
    m_shutDown = true;
    m_flow->StopPlayback(true);
}

void CLSMainWindow::closeEvent(QCloseEvent* event) {
    SavePlacement();
    Shutdown();
    if (m_help)
        m_help->close();
    event->accept();
}

void CLSMainWindow::NoteFrameOffset() {
    if (isVisible() && windowState() == Qt::WindowNoState)
        m_frameOffset = geometry().topLeft() - pos();
}

bool CLSMainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange)
        ApplyLayout();
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
        NoteFrameOffset();
    return QMainWindow::event(event);
}
