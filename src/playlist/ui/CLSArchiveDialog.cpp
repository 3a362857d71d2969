#include "playlist/ui/CLSArchiveDialog.h"

#include "core/DisplayText.h"
#include "playlist/ArchiveListing.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace {

const char* const kFirstFilter = "*.mid";
constexpr int kLabelToEdit = 4;
constexpr int kPathToFilter = 4;

QString Shown(const CLSTString& bytes) {
    return QString::fromStdString(DisplayText(bytes.Text(), bytes.Length()));
}

ArchiveDialogRect RectOf(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

QRect ToQRect(const ArchiveDialogRect& r) {
    return {r.x, r.y, r.width, r.height};
}

// Restores the cursor it replaced, however the scope is left.
class CursorOverride {
public:
    explicit CursorOverride(Qt::CursorShape shape) { QGuiApplication::setOverrideCursor(shape); }
    ~CursorOverride() { QGuiApplication::restoreOverrideCursor(); }
    CursorOverride(const CursorOverride&) = delete;
    CursorOverride& operator=(const CursorOverride&) = delete;
};

} // namespace

CLSArchiveDialog::CLSArchiveDialog(QWidget* parent)
    : QDialog(parent), m_path(new QLabel(this)),
      m_filterLabel(new QLabel(tr("フィルタ(&F)："), this)), m_filter(new QLineEdit(this)),
      m_search(new QPushButton(tr("検索(&S)"), this)), m_list(new QListWidget(this)) {
    setWindowTitle(tr("アーカイブ内のファイルを開く"));
    // Blocks the player's window only: the help window stays usable beside the dialog.
    setWindowModality(Qt::WindowModal);
    setSizeGripEnabled(true);
    setMinimumSize(kArchiveDialogMinWidth, kArchiveDialogMinHeight);
    m_path->setTextFormat(Qt::PlainText);
    m_filterLabel->setBuddy(m_filter);
    m_search->setDefault(true);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setSortingEnabled(false); // filled in the order the playlist's chooser defines
    m_list->setTextElideMode(Qt::ElideNone);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    CreateButtons();
    connect(m_search, &QPushButton::clicked, this, &CLSArchiveDialog::Search);
    // Enter in the list opens the selection instead of reaching the default button.
    m_list->installEventFilter(this);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { OpenSelection(); });
    setTabOrder(m_filter, m_search);
    setTabOrder(m_search, m_list);
}

void CLSArchiveDialog::CreateButtons() {
    m_open = new QPushButton(tr("開く(&O)"), this);
    m_selectAll = new QPushButton(tr("すべて選択(&A)"), this);
    m_cancel = new QPushButton(tr("キャンセル"), this);
    m_help = new QPushButton(tr("ヘルプ(&H)"), this);
    connect(m_open, &QPushButton::clicked, this, &CLSArchiveDialog::OpenSelection);
    connect(m_selectAll, &QPushButton::clicked, this, &CLSArchiveDialog::SelectAll);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_help, &QPushButton::clicked, this, [this] {
        if (onHelp)
            onHelp();
    });
}

bool CLSArchiveDialog::Choose(OwnerWindow owner, const CLSTString& archivePath, int& width,
                              int& height, CLSTStringArray& chosen) {
    chosen.clear();
    if (m_choosing) {
        // An archive handed over while this one is open gets a chooser of its own on top.
        CLSArchiveDialog nested(parentWidget());
        nested.onHelp = onHelp;
        return nested.Choose(owner, archivePath, width, height, chosen);
    }
    Prepare(static_cast<QWidget*>(const_cast<void*>(owner)), archivePath, width, height);
    int result = Rejected;
    {
        // Adding shows the wait cursor; the user needs the arrow while choosing.
        CursorOverride arrow(Qt::ArrowCursor);
        m_choosing = true;
        result = exec();
        m_choosing = false;
    }
    width = this->width();
    height = this->height();
    if (result == Accepted)
        chosen = SelectedMembers();
    // The dialog lives on with the window; a large archive's names need not.
    m_list->clear();
    m_names.clear();
    return result == Accepted;
}

void CLSArchiveDialog::Prepare(QWidget* owner, const CLSTString& archivePath, int width,
                               int height) {
    m_archivePath = archivePath;
    PlaceOver(owner, width, height);
    m_path->setText(Shown(archivePath));
    m_path->setToolTip(m_path->text());
    m_filter->setText(QString::fromLatin1(kFirstFilter));
    m_filter->setFocus();
    ApplyLayout();
    Search();
}

void CLSArchiveDialog::PlaceOver(QWidget* owner, int width, int height) {
    QScreen* screen = owner ? owner->screen() : this->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect work = screen ? screen->availableGeometry() : QRect(0, 0, width, height);
    const ArchiveDialogRect size =
        ArchiveDialogOpeningSize(width, height, work.width(), work.height());
    resize(size.width, size.height);
    // The frame counts in the centring once a window manager has given the dialog one.
    const QSize frame = frameGeometry().size() - geometry().size();
    const QRect ownerRect = owner ? owner->frameGeometry() : work;
    const ArchiveDialogRect at = CentreInsideWorkArea(RectOf(ownerRect), size.width + frame.width(),
                                                      size.height + frame.height(), RectOf(work));
    move(at.x, at.y);
}

void CLSArchiveDialog::Search() {
    const CursorOverride wait(Qt::WaitCursor);
    m_list->clear();
    m_names.clear();
    const QByteArray filter = m_filter->text().toUtf8();
    CLSTStringArray names;
    try {
        if (!ListArchiveMembers(static_cast<const QWidget*>(this), m_archivePath,
                                filter.constData(), names))
            return;
    } catch (const CLSError& error) {
        error.Show(static_cast<const QWidget*>(this));
        return;
    }
    SortMemberNames(names);
    FillList(names);
}

void CLSArchiveDialog::FillList(const CLSTStringArray& names) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(names.size()));
    for (const CLSTString& name : names)
        texts << Shown(name);
    m_names = names;
    // Every row measured (no uniform sizes, which take one row's width for all): the list
    // scrolls as wide as its widest name and the item margins, and nothing is cut.
    m_list->addItems(texts);
}

void CLSArchiveDialog::SelectAll() {
    m_list->selectAll();
}

void CLSArchiveDialog::OpenSelection() {
    accept();
}

CLSTStringArray CLSArchiveDialog::SelectedMembers() const {
    CLSTStringArray chosen;
    const int rows = std::min(m_list->count(), static_cast<int>(m_names.size()));
    for (int row = 0; row < rows; ++row) {
        if (m_list->item(row)->isSelected())
            chosen.push_back(m_names[static_cast<unsigned>(row)]);
    }
    return chosen;
}

ArchiveDialogMetrics CLSArchiveDialog::Metrics() const {
    QSize button = m_search->sizeHint();
    for (const QPushButton* other : {m_open, m_selectAll, m_cancel, m_help})
        button = button.expandedTo(other->sizeHint());
    ArchiveDialogMetrics m;
    m.pathHeight = m_path->sizeHint().height();
    m.buttonWidth = button.width();
    m.buttonHeight = button.height();
    m.searchTop = m.pathHeight + kPathToFilter;
    m.editHeight = m_filter->sizeHint().height();
    m.editTop = m.searchTop + (m.buttonHeight - m.editHeight) / 2;
    m.editLeft = 2 + m_filterLabel->sizeHint().width() + kLabelToEdit;
    return m;
}

void CLSArchiveDialog::ApplyLayout() {
    const ArchiveDialogMetrics m = Metrics();
    const ArchiveDialogGeometry g = LayOutArchiveDialog(width(), height(), m);
    m_path->setGeometry(ToQRect(g.path));
    const QSize label = m_filterLabel->sizeHint();
    m_filterLabel->setGeometry(2, m.searchTop + (m.buttonHeight - label.height()) / 2,
                               label.width(), label.height());
    m_filter->setGeometry(ToQRect(g.filterEdit));
    m_search->setGeometry(ToQRect(g.search));
    m_list->setGeometry(ToQRect(g.list));
    QPushButton* const row[] = {m_open, m_selectAll, m_cancel, m_help};
    for (std::size_t i = 0; i < g.buttons.size(); ++i)
        row[i]->setGeometry(ToQRect(g.buttons[i]));
}

void CLSArchiveDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    ApplyLayout();
}

bool CLSArchiveDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            OpenSelection();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CLSArchiveDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        if (onHelp)
            onHelp();
        return;
    }
    QDialog::keyPressEvent(event);
}
