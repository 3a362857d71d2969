#include "playlist/ui/CLSPlayListWidget.h"

#include "playlist/ui/CLSPlayListModel.h"
#include "playlist/ui/PlayListMarkerImages.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>

#include <algorithm>

namespace {

constexpr int kNameColumnCreated = 116;
constexpr int kLengthColumnCreated = 40;

} // namespace

CLSPlayListWidget::CLSPlayListWidget(CLSPlayListModel& model, QWidget* parent)
    : QTableView(parent), m_model(model) {
    setModel(&model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setShowGrid(false);
    setWordWrap(false);
    setSortingEnabled(false);
    setDragEnabled(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    // Rows of one height let the view skip measuring 100,000 rows.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 2);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setStretchLastSection(false);
    setIconSize(QSize(PlayListMarkerImages::kSize, PlayListMarkerImages::kSize));
    setColumnWidth(CLSPlayListModel::kColumnName, kNameColumnCreated);
    setColumnWidth(CLSPlayListModel::kColumnLength, kLengthColumnCreated);
    // The selection stays as visible without the focus as with it.
    setStyleSheet(QStringLiteral(
        "QTableView { background: #3c3c3c; color: white; selection-background-color: #3875d7;"
        " selection-color: white; }"
        "QTableView:!active { selection-background-color: #3875d7; selection-color: white; }"));

    connect(&model, &CLSPlayListModel::selectionSet, this, &CLSPlayListWidget::MirrorSelection);
    connect(&model, &CLSPlayListModel::focusSet, this, &CLSPlayListWidget::MirrorFocus);
    connect(&model, &CLSPlayListModel::ensureVisibleRequested, this,
            [this](int row) { scrollTo(m_model.index(row, 0)); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CLSPlayListWidget::ReportSelection);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!m_mirroring && current.isValid())
                    m_model.SetFocused(static_cast<unsigned>(current.row()));
            });
}

int CLSPlayListWidget::HeadingWidth(int column) const {
    const QString heading = m_model.headerData(column, Qt::Horizontal).toString();
    return horizontalHeader()->fontMetrics().horizontalAdvance(heading) +
           2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader());
}

void CLSPlayListWidget::MirrorSelection(int row, bool selected) {
    if (m_mirroring)
        return;
    m_mirroring = true;
    selectionModel()->select(m_model.index(row, 0), (selected ? QItemSelectionModel::Select
                                                              : QItemSelectionModel::Deselect) |
                                                        QItemSelectionModel::Rows);
    m_mirroring = false;
}

void CLSPlayListWidget::MirrorFocus(int row) {
    if (m_mirroring)
        return;
    m_mirroring = true;
    selectionModel()->setCurrentIndex(m_model.index(row, 0), QItemSelectionModel::NoUpdate);
    m_mirroring = false;
}

void CLSPlayListWidget::ReportSelection(const QItemSelection& selected,
                                        const QItemSelection& deselected) {
    if (m_mirroring)
        return;
    m_mirroring = true;
    // Only the rows that changed: a Shift-click range arrives as one change of many rows, and
    // a page down in a list of 100,000 songs must not look at every row.
    ReportRows(deselected);
    ReportRows(selected);
    m_mirroring = false;
}

void CLSPlayListWidget::ReportRows(const QItemSelection& changed) {
    const QItemSelectionModel* selection = selectionModel();
    const int rows = static_cast<int>(m_model.RowCount());
    for (const QItemSelectionRange& range : changed) {
        const int last = std::min(range.bottom(), rows - 1);
        for (int row = std::max(range.top(), 0); row <= last; ++row) {
            const bool now = selection->isRowSelected(row, QModelIndex());
            if (now != m_model.IsSelected(static_cast<unsigned>(row)))
                m_model.SetSelected(static_cast<unsigned>(row), now);
        }
    }
}

void CLSPlayListWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        if (onDelete)
            onDelete();
        return;
    }
    QTableView::keyPressEvent(event);
}

void CLSPlayListWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex hit = indexAt(event->position().toPoint());
    if (onDoubleClick)
        onDoubleClick(hit.isValid() ? hit.row() : -1);
}

void CLSPlayListWidget::contextMenuEvent(QContextMenuEvent* event) {
    // Only a request with the pointer over a row: none from the keyboard or the empty area.
    // The position comes in the viewport's coordinates from the rows and in the view's from
    // the header; the pointer's screen position means the same in both.
    if (event->reason() == QContextMenuEvent::Keyboard ||
        !indexAt(viewport()->mapFromGlobal(event->globalPos())).isValid()) {
        event->ignore();
        return;
    }
    if (onContextMenu)
        onContextMenu(event->globalPos());
}

bool CLSPlayListWidget::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip && !m_toolTips)
        return true;
    return QTableView::viewportEvent(event);
}
