#pragma once

// The rows as the list view holds them: per row a selected flag and a marker image (0 plain,
// 1 the current song), and one row with the keyboard focus. The playlist changes rows only
// through this interface and reads the user's selection and focus from it, so the GUI's list
// view implements it over its own widget and everything else uses CLSPlayListRows.
class CLSPlayListView {
public:
    virtual ~CLSPlayListView() = default;

    // A new row at index, unselected, image 0; rows from index on move down by one.
    virtual void InsertRow(unsigned index) = 0;
    virtual void DeleteRow(unsigned index) = 0;
    // The entry's texts changed (title, length, or the row was rebuilt).
    virtual void RefreshRow(unsigned index) = 0;

    virtual unsigned RowCount() const = 0;
    virtual bool IsSelected(unsigned index) const = 0;
    virtual void SetSelected(unsigned index, bool selected) = 0;
    virtual int GetFocused() const = 0;
    // Gives the row the focus state only; the selection stays as it is.
    virtual void SetFocused(unsigned index) = 0;
    virtual int GetImage(unsigned index) const = 0;
    virtual void SetImage(unsigned index, int image) = 0;
    virtual void EnsureVisible(unsigned index) = 0;

    // Brackets one add of songs (a folder, a playlist file, an archive): a view may show the
    // rows appended in between as one change. Any other call in between sees every row.
    virtual void BeginAppending() {}
    virtual void EndAppending() {}
};
