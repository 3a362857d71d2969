#pragma once

// Where the information strip's text stands, free of any window and clock: each text waits
// three seconds at the left edge, then moves left one step per period until it has gone past
// the edge plus a small gap, and the next text (after the last, the first) takes its place.
class MarqueeScroll {
public:
    static constexpr int kPauseMs = 3000;
    static constexpr int kGap = 4;
    static constexpr int kNone = -1;

    explicit MarqueeScroll(int stepPixels = 3, int periodMs = 50)
        : m_step(stepPixels), m_period(periodMs) {}

    // The text to show next: the first when restarting, else the one after the current,
    // wrapping; kNone for an empty list.
    int NextIndex(bool restart, int count) const;
    // Makes 'index' current with its measured width, standing still at the left edge.
    void Begin(int index, int textWidth);
    // One period has passed; true when the current text has gone and the next is due.
    bool Step();

    // The offset counts down through the pause before the text starts to move.
    int StartOffset() const { return m_step * kPauseMs / m_period; }
    int DrawX() const { return m_offset < 0 ? m_offset : 0; }
    int Offset() const { return m_offset; }
    int Current() const { return m_current; }
    int TextWidth() const { return m_textWidth; }
    void SetTextWidth(int width) { m_textWidth = width; }
    int PeriodMs() const { return m_period; }
    int StepPixels() const { return m_step; }

private:
    int m_step;
    int m_period;
    int m_current = kNone;
    int m_textWidth = 0;
    int m_offset = 0;
};
