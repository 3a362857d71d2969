#pragma once

#include "playlist/CLSPlayListView.h"

#include <vector>

// The row state held in memory: the view of a playlist that has no window (druvel-cli, tests),
// and a store a GUI view may keep its flags in.
class CLSPlayListRows : public CLSPlayListView {
public:
    void InsertRow(unsigned index) override;
    void DeleteRow(unsigned index) override;
    void RefreshRow(unsigned) override {}

    unsigned RowCount() const override { return static_cast<unsigned>(m_rows.size()); }
    bool IsSelected(unsigned index) const override;
    void SetSelected(unsigned index, bool selected) override;
    int GetFocused() const override { return m_focused; }
    void SetFocused(unsigned index) override;
    int GetImage(unsigned index) const override;
    void SetImage(unsigned index, int image) override;
    void EnsureVisible(unsigned) override {}

private:
    struct Row {
        bool selected = false;
        int image = 0;
    };
    std::vector<Row> m_rows;
    int m_focused = -1;
};
