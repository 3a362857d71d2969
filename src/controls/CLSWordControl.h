#pragma once

#include "controls/WordLayout.h"
#include "midi/CLSMIDIWordInfo.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QWidget>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

class CLSMIDIData;

// The karaoke lyrics display: a title screen, then pages of lyric lines with the syllable being
// sung wiped in the highlight colour. A thread of its own takes the due records from the engine
// every 10 ms and draws into the picture; the widget only shows the picture.
//
// Lock: m_lock guards both pictures, the fonts, the line list, the current line and the
// pending repaint. The drawing thread and the GUI thread take it for every drawing step.
class CLSWordControl : public QWidget {
    Q_OBJECT

public:
    static constexpr int kControlId = 1024;
    static constexpr int kTickMs = 10;
    // How often the thread looks while a wipe is about to reach its syllable.
    static constexpr int kWipeStartMs = 2;

    explicit CLSWordControl(QWidget* parent = nullptr, int controlId = kControlId);
    ~CLSWordControl() override;
    CLSWordControl(const CLSWordControl&) = delete;
    CLSWordControl& operator=(const CLSWordControl&) = delete;

    int ControlId() const noexcept { return m_controlId; }
    void SetEngine(CLSMIDIData* engine) noexcept {
        m_engine.store(engine, std::memory_order_relaxed);
    }
    void SetTimedWipe(bool timed) noexcept { m_timedWipe.store(timed, std::memory_order_relaxed); }
    bool TimedWipe() const noexcept { return m_timedWipe.load(std::memory_order_relaxed); }
    void Move(int x, int y, int width, int height);
    void Show(bool show);

    // Begin and end the drawing thread with playback. Stop always leaves the display black.
    void Start();
    void Stop();
    bool IsRunning() const noexcept { return m_thread.joinable(); }

    // One tick's reaction to a batch of due records and the ms left to the next syllable.
    bool WipeIdle() const;
    void HandleWords(const CLSMIDIWordInfoArray& words, int remainingMs);

    // A copy of what the display shows, and its unit size (tests and screenshots).
    QImage Picture() const;
    int UnitSize() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    using LineIterator = CLSWordLineList::iterator;

    void Run();
    void HandlePage(const CLSMIDIWordInfoArray& words, std::size_t& index);
    void AdvanceHighlight();
    void Wipe(int remainingMs);
    void ClearLine(int line);
    void ClearAll();
    void DrawTitle(const CLSMIDIWordInfo& record);
    void LayOutLocked(LineIterator first);
    void ApplySize(QSize size);
    void RebuildLocked(QSize size, qreal ratio);
    void RequestRepaintLocked(const QRect& rect);
    void SetPaced(bool paced);
    void FlushRepaint();

    const int m_controlId;
    std::atomic<CLSMIDIData*> m_engine{nullptr};
    std::string m_encoding; // set by Start, read by the drawing thread it starts
    std::atomic<bool> m_timedWipe{true};

    mutable std::mutex m_lock;
    QImage m_picture;
    QImage m_highlight;
    QFont m_mainFont;
    QFont m_rubyFont;
    QSize m_size; // logical pixels of both pictures
    int m_unit = 0;
    int m_part = 0;
    CLSWordLineList m_lines;
    std::optional<LineIterator> m_currentLine;
    std::size_t m_currentWord = 0;
    QRect m_dirty;
    bool m_repaintPosted = false;
    bool m_paced = false; // the repaint pacer shows m_dirty
    // How far the current word's band is wiped in the picture as it stands (-1: not at all).
    // Anything that draws over the picture forgets it, so the next tick wipes again.
    int m_wipedRight = -1;

    // Drawing thread only (and Start/Stop while it is not running).
    bool m_startOnSyllable = false;
    bool m_syllableReached = false; // the wipe has covered the current syllable's start
    bool m_wipeStarting = false;    // a timed wipe is about to cover the syllable's start
    int m_syllablesReached = 0;
    CLSMIDIWordInfoArray m_due;

    std::thread m_thread;
    std::mutex m_stopLock;
    std::condition_variable m_stopSignal;
    bool m_stopRequested = false; // under m_stopLock
};
