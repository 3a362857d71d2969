#pragma once

#include "playlist/CLSPlayListRows.h"
#include "playlist/CLSPlayListView.h"

#include <QAbstractTableModel>
#include <QIcon>

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

    // The two marker images (plain, current) shown in column 0; none until given. Icons, so
    // the view draws the pixmap of its own pixel ratio.
    void SetMarkerImages(const QIcon& plain, const QIcon& current);

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
    void BeginAppending() override { ++m_appending; }
    void EndAppending() override;

Q_SIGNALS:
    void selectionSet(int row, bool selected);
    void focusSet(int row);
    void ensureVisibleRequested(int row);

private:
    // Tells the view of the rows appended while adding; every other change calls it first,
    // so the view never hears of a row it does not know yet.
    void PublishRows();

    const CLSPlayList& m_playlist;
    CLSPlayListRows m_rows;
    // What the view knows: m_rows without the rows appended by an add still running. One
    // insert of 100,000 rows instead of 100,000 inserts of one.
    unsigned m_shownRows = 0;
    int m_appending = 0;
    QIcon m_markers[2];
};
