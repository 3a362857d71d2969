#pragma once

#include "playlist/CLSPlayListRows.h"
#include "playlist/CLSPlayListView.h"

#include <QAbstractTableModel>
#include <QPixmap>

class CLSMusicInfo;
class CLSPlayList;

// The playlist's rows for a QTableView: two columns (title or file name, length), the marker
// of the current song, dark colours and a tooltip per row. Everything is read from the
// playlist when the view asks, so a list of 100,000 songs costs nothing until rows are shown,
// and a tooltip is always the entry's current text.
//
// It is also the playlist's row store (selection flags, marker, focus): the playlist changes
// rows through it, and the widget mirrors those changes through the signals below while it
// reports the user's selection and focus back with SetSelected / SetFocused.
class CLSPlayListModel : public QAbstractTableModel, public CLSPlayListView {
    Q_OBJECT

public:
    enum Column { kColumnName = 0, kColumnLength = 1, kColumnCount = 2 };
    // The marker image index of a row (0 plain, 1 current), for delegates and tests.
    static constexpr int kMarkerRole = Qt::UserRole + 1;

    explicit CLSPlayListModel(const CLSPlayList& playlist, QObject* parent = nullptr);

    // The two marker images (plain, current) shown in column 0; none until given.
    void SetMarkerImages(const QPixmap& plain, const QPixmap& current);

    // The row's tooltip: the path, then every known field, one per line.
    static QString ToolTipText(const CLSMusicInfo& entry);

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // CLSPlayListView
    void InsertRow(unsigned index) override;
    void DeleteRow(unsigned index) override;
    void RefreshRow(unsigned index) override;
    unsigned RowCount() const override { return m_rows.RowCount(); }
    bool IsSelected(unsigned index) const override { return m_rows.IsSelected(index); }
    void SetSelected(unsigned index, bool selected) override;
    int GetFocused() const override { return m_rows.GetFocused(); }
    void SetFocused(unsigned index) override;
    int GetImage(unsigned index) const override { return m_rows.GetImage(index); }
    void SetImage(unsigned index, int image) override;
    void EnsureVisible(unsigned index) override;

Q_SIGNALS:
    void selectionSet(int row, bool selected);
    void focusSet(int row);
    void ensureVisibleRequested(int row);

private:
    const CLSPlayList& m_playlist;
    CLSPlayListRows m_rows;
    QPixmap m_markers[2];
};
