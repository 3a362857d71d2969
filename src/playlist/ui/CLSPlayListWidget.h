#pragma once

#include <QItemSelection>
#include <QTableView>

#include <functional>

class CLSPlayListModel;

// The playlist's list view: dark, two columns, full-row multiple selection that stays visible
// without the focus. The user's selection and focus go back into the model (the playlist reads
// them from there); the model's own changes come back as selection here. A double click on a
// row, the Delete key and a context menu over a row are handed to the window.
class CLSPlayListWidget : public QTableView {
    Q_OBJECT
public:
    CLSPlayListWidget(CLSPlayListModel& model, QWidget* parent = nullptr);

    // Row -1 when the double click hit no row.
    std::function<void(int row)> onDoubleClick;
    std::function<void()> onDelete;
    // Only called with the pointer over a row; the position is global.
    std::function<void(const QPoint& globalPos)> onContextMenu;

    void SetToolTipsShown(bool shown) noexcept { m_toolTips = shown; }
    int ColumnWidth(int column) const { return columnWidth(column); }
    // The width that shows a column's heading whole.
    int HeadingWidth(int column) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void MirrorSelection(int row, bool selected);
    void MirrorFocus(int row);
    void ReportSelection(const QItemSelection& selected, const QItemSelection& deselected);
    void ReportRows(const QItemSelection& changed);

    CLSPlayListModel& m_model;
    bool m_toolTips = true;
    bool m_mirroring = false;
};
