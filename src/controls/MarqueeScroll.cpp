#include "controls/MarqueeScroll.h"

int MarqueeScroll::NextIndex(bool restart, int count) const {
    if (count <= 0)
        return kNone;
    if (restart || m_current == kNone || m_current + 1 >= count)
        return 0;
    return m_current + 1;
}

void MarqueeScroll::Begin(int index, int textWidth) {
    m_current = index;
    m_textWidth = index == kNone ? 0 : textWidth;
    m_offset = StartOffset();
}

bool MarqueeScroll::Step() {
    m_offset -= m_step;
    return m_offset < -(m_textWidth + kGap);
}
