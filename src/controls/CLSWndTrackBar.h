#pragma once

#include "controls/RepaintRequest.h"
#include "controls/TrackBarGeometry.h"

#include <QColor>
#include <QWidget>

#include <atomic>
#include <mutex>

// A horizontal slider with a rounded, dotted thumb. Every change the user makes is reported
// with Notify: code kThumbTrack while the thumb is dragged, kThumbPosition for a click beside
// the thumb, the end of a drag and every key. SetPos may be called from any thread.
class CLSWndTrackBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kThumbPosition = 4;
    static constexpr int kThumbTrack = 5;

    explicit CLSWndTrackBar(QWidget* parent = nullptr);
    ~CLSWndTrackBar() override;

    // Puts the slider into its parent under a control id, visible, 0 × 0 until moved.
    void Create(QWidget* parent, int controlId);
    void Destroy();
    bool IsCreated() const { return m_created.load(std::memory_order_relaxed); }
    void Move(int x, int y, int width, int height);
    void Show(bool show);

    // Refused unless minimum < maximum; the position is not clamped here.
    bool SetRange(int minimum, int maximum);
    // Refused while the thumb is dragged, so the thumb stays under the mouse.
    bool SetPos(int value);
    int GetPos() const { return m_position.load(std::memory_order_relaxed); }
    int Minimum() const;
    int Maximum() const;
    bool IsDragging() const { return m_dragging.load(std::memory_order_relaxed); }

    void SetThumbLength(int pixels);
    int ThumbLength() const { return m_thumbLength; }
    void SetLineStep(int step) { m_lineStep = step; }
    void SetPageStep(int step) { m_pageStep = step; }
    int PageStep() const { return m_pageStep; }
    // Whether the track left of the thumb's centre is filled.
    void SetFill(bool fill);
    bool Fill() const { return m_fill; }
    int ControlId() const { return m_controlId; }

Q_SIGNALS:
    // The parent's scroll notification: the position is cut to 16 bits as the message
    // carries it; GetPos has the full value.
    void Notify(int code, int position16, int controlId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int ThumbXLocked() const;
    void SetPosLocked(int value);
    void SendNotify(int code);
    // Repaints only when the thumb would move; safe from any thread.
    void InvalidateIfThumbMoved();
    void RequestRepaint();
    void PaintTrack(QPainter& painter, const TrackBarGeometry::Rect& thumb) const;

    mutable std::mutex m_lock;
    int m_minimum = 0;
    int m_maximum = 1;
    std::atomic<int> m_position{0};
    int m_lineStep = 1;
    int m_pageStep = 10;
    int m_drawnThumb = -1;
    int m_thumbLength = 23;
    QColor m_thumbColor{200, 200, 255};
    QColor m_backgroundColor{66, 66, 66};
    std::atomic<bool> m_dragging{false};
    bool m_fill = true;
    std::atomic<bool> m_created{false};
    int m_controlId = 0;
    // The widget's width, for thumb checks made on the position thread.
    std::atomic<int> m_width{0};
    RepaintRequest m_repaint{this};
};
