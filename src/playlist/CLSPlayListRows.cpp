#include "playlist/CLSPlayListRows.h"

void CLSPlayListRows::InsertRow(unsigned index) {
    if (index > m_rows.size())
        index = static_cast<unsigned>(m_rows.size());
    m_rows.insert(m_rows.begin() + index, Row{});
    if (m_focused >= static_cast<int>(index))
        ++m_focused;
}

void CLSPlayListRows::DeleteRow(unsigned index) {
    if (index >= m_rows.size())
        return;
    m_rows.erase(m_rows.begin() + index);
    if (m_focused == static_cast<int>(index))
        m_focused = -1;
    else if (m_focused > static_cast<int>(index))
        --m_focused;
}

bool CLSPlayListRows::IsSelected(unsigned index) const {
    return index < m_rows.size() && m_rows[index].selected;
}

void CLSPlayListRows::SetSelected(unsigned index, bool selected) {
    if (index < m_rows.size())
        m_rows[index].selected = selected;
}

void CLSPlayListRows::SetFocused(unsigned index) {
    if (index < m_rows.size())
        m_focused = static_cast<int>(index);
}

int CLSPlayListRows::GetImage(unsigned index) const {
    return index < m_rows.size() ? m_rows[index].image : 0;
}

void CLSPlayListRows::SetImage(unsigned index, int image) {
    if (index < m_rows.size())
        m_rows[index].image = image;
}
