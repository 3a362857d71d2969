#pragma once

#include "controls/CLSGraphicsBuffer.h"
#include "controls/RepaintRequest.h"
#include "controls/MarqueeScroll.h"
#include "core/CLSTString.h"

#include <QColor>
#include <QFont>
#include <QWidget>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

// The one-line information strip: shows its texts one after the other, each standing still
// for three seconds and then scrolling out to the left. Its own thread steps the text and
// draws into the picture and asks the GUI thread for a repaint; only the GUI thread paints.
//
// Lock: m_lock guards the texts, the scroll state, the sizes and the picture. The thread never
// waits for the GUI thread while holding it.
class CLSWndMarquee : public QWidget {
    Q_OBJECT

public:
    explicit CLSWndMarquee(QWidget* parent = nullptr);
    ~CLSWndMarquee() override;

    // Puts the strip into its parent (0 × 0 until moved) and starts its thread.
    void Create(QWidget* parent, int controlId);
    // Stops and joins the thread and takes the strip out of its parent.
    void Destroy();
    bool IsCreated() const { return m_thread.joinable(); }
    void Move(int x, int y, int width, int height);

    // Copies the texts and starts again with the first.
    void SetTexts(const CLSTStringArray& texts);
    void SetTextColor(QColor color);
    void SetBkColor(QColor color);
    void SetFont(const QFont& font);
    int ControlId() const { return m_controlId; }

    // The scroll state and the picture as the thread last left them, for tests and checks.
    int CurrentIndex() const;
    int DrawX() const;
    QImage Picture() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Run();
    void StopThread();
    void NextTextLocked(bool restart);
    void MeasureLocked();
    void DrawLocked();
    void FitPictureLocked();
    void RequestRepaint();
    void SizeChanged();

    mutable std::mutex m_lock;
    CLSGraphicsBuffer m_picture;
    int m_width = 0;
    int m_height = 0;
    int m_textHeight = 0;
    CLSTStringArray m_texts;
    QString m_currentText;
    MarqueeScroll m_scroll;
    bool m_dirty = true;
    int m_drawnX = 0;

    std::thread m_thread;
    std::mutex m_wakeLock;
    std::condition_variable m_wake;
    std::atomic<bool> m_stopRequested{false};
    int m_controlId = 0;
    RepaintRequest m_repaint{this};
};
