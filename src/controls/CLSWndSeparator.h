#pragma once

#include <QColor>
#include <QWidget>

// The splitter bar the user drags to share the window between two panes. It sends nothing of
// its own: after a drag moves it, it asks the parent to lay out its children again
// (LayoutRequested), and the parent reads the bar's centre with GetPosition.
class CLSWndSeparator : public QWidget {
    Q_OBJECT

public:
    static constexpr unsigned kHorizontal = 1;

    explicit CLSWndSeparator(QWidget* parent = nullptr);

    bool Create(QWidget* parent, int controlId);
    void Destroy();
    bool IsCreated() const { return m_created; }
    void Show(bool show);
    void SetFlags(unsigned flags);
    unsigned Flags() const { return m_flags; }
    bool IsHorizontal() const { return (m_flags & kHorizontal) != 0; }

    // Stores the limits and places the bar again, so it is clamped to them.
    void SetLimits(int minimum, int maximum);
    // Where the bar begins and ends along its length; its place across is kept.
    void SetExtent(int start, int end);
    void SetPosition(int centre);
    int GetPosition() const;
    void SetThickness(int pixels) { m_thickness = pixels; }
    int Thickness() const { return m_thickness; }
    bool IsDragging() const { return m_dragging; }
    int ControlId() const { return m_controlId; }

Q_SIGNALS:
    // The parent's own size notification: lay the children out again around the bar.
    void LayoutRequested(QSize parentClientSize);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void EndDrag();
    void Place(int centre);

    unsigned m_flags = 0;
    QColor m_color;
    int m_thickness = 7;
    int m_minimum = 0;
    int m_maximum = 2048;
    int m_extentStart = 0;
    int m_extentEnd = 0;
    bool m_dragging = false;
    bool m_created = false;
    int m_controlId = 0;
};
