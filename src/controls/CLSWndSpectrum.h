#pragma once

#include "controls/SpectrumGradient.h"
#include "controls/SpectrumMeters.h"
#include "midi/MIDITRACKINFO.h"

#include <QImage>
#include <QPoint>
#include <QRect>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class CrossThreadWakeup;
class QPainter;
class QWidget;
class SpectrumWidget;

// One level meter per row of the loaded song, each with its label and a mute button. A drawing
// thread moves the meters every 10 ms while the song plays, drawing into the control's picture
// under the control's lock; only the GUI thread paints the window, at the repaint pacer's
// frames. All operations are for the GUI thread.
//
// The picture holds the whole client area. It is rendered in full when something other than a
// meter changes (size, scrolling, rows, settings, a mute button) and otherwise only the moved
// meters are redrawn into it.
class CLSWndSpectrum {
public:
    static constexpr const char* kModule = "SPECTRUM";
    static constexpr int kDefaultMeterWidth = 15;
    static constexpr QRgb kLabelColor = 0xFFFFFFC8u; // RGB (255, 255, 200)

    CLSWndSpectrum();
    ~CLSWndSpectrum();
    CLSWndSpectrum(const CLSWndSpectrum&) = delete;
    CLSWndSpectrum& operator=(const CLSWndSpectrum&) = delete;

    // Makes the child window (visible, size 0 until moved); an earlier one is destroyed first.
    void Create(QWidget* parent, int id);
    void Destroy();
    void Move(int x, int y, int width, int height);
    void Show(bool show);
    QWidget* Window() const noexcept;
    int Id() const noexcept { return m_id; }

    // The engine's rows after a song load (or none). The control never frees them.
    void SetRows(MIDITRACKINFOARRAY* rows);
    // How long after the engine sends a note it is heard: the meters wait as long.
    void SetSoundDelay(std::chrono::microseconds delay) noexcept { m_soundDelay = delay; }
    void Start();
    // Ends the drawing thread. Not immediate: returns once every meter has fallen to 0.
    void Stop(bool immediate);
    // Lets the meters fall to 0 and returns at once, the window painting the fall meanwhile:
    // true while they fall, and then the fallen callback follows on the GUI thread once the
    // thread has ended. From here on the thread no longer reads the rows (painting still
    // draws their labels).
    bool Fall();
    void SetOnFallen(std::function<void()> fallen) { m_onFallen = std::move(fallen); }
    bool IsRunning() const noexcept { return m_thread.joinable(); }

    void SetMeterWidth(int pixels);
    void SetColors(const SpectrumColors& colors);
    void SetDigital(bool digital);

    // The client area as it is drawn now (rendered first when out of date).
    QImage Picture();
    int ScrollPosition() const noexcept { return m_scroll.load(std::memory_order_relaxed); }
    int Page() const noexcept { return m_page; }
    int Pitch() const noexcept;

private:
    friend class SpectrumWidget;

    // From the view, on the GUI thread.
    void OnResize();
    void OnPaint(QPainter& painter);
    void OnPress(QPoint point);
    void OnDrag(QPoint point);
    void OnRelease(QPoint point);
    void OnScroll(int position);
    void OnViewDestroyed() noexcept;

    // The picture (kept to these few so another off-screen buffer can stand in).
    void CreatePicture(int width, int height, qreal ratio);
    QImage& PictureImage() noexcept { return m_picture; }
    void BlitPicture(QPainter& painter, QPoint at) const;

    // Under the lock.
    void RebuildGradient();
    void RenderAll();
    void DrawMeter(int x, int level);
    QRect DrawMeterChange(int x, int from, int to);
    void DrawSegment(int left, int segment, bool lit, int height);
    void DrawButton(QPainter& painter, int x, std::size_t row, bool sunken);
    void DrawLabel(QPainter& painter, int x, std::size_t row) const;
    void DrawOutline(QPainter& painter, int x) const;
    void DrawMovedMeters();
    int RowLevel(std::size_t row) const;
    std::size_t RowCount() const noexcept;

    void UpdateScrollBar();
    void Invalidate();
    void RunThread() noexcept;
    void EndThread();
    void OnFallWake();
    QRect TakeDirty();
    int HitTest(QPoint point) const noexcept;

    std::mutex m_lock; // the picture, the gradient, the meters and the client size
    std::unique_ptr<SpectrumWidget> m_view;
    SpectrumWidget* m_threadView = nullptr; // the view the thread draws for
    int m_id = 0;
    QImage m_gradient;
    QImage m_picture;
    QImage m_icons[2]; // sounding, muted
    qreal m_iconRatio = 0;
    MIDITRACKINFOARRAY* m_rows = nullptr;
    std::thread m_thread;
    int m_meterWidth = kDefaultMeterWidth;
    int m_pressedRow = -1;
    bool m_pressedSunken = false;
    bool m_digital = true;
    std::atomic<bool> m_stopRequested{false};
    std::atomic<bool> m_stopAtOnce{false};
    std::atomic<bool> m_fallDone{false}; // the thread has ended its fall and is returning
    bool m_fallPending = false;          // a Fall not yet told to m_onFallen
    bool m_fallOver = false;             // ... whose thread a Stop has already joined
    std::function<void()> m_onFallen;
    std::unique_ptr<CrossThreadWakeup> m_fallWake;
    bool m_captured = false;
    SpectrumColors m_colors = DefaultSpectrumColors();
    SpectrumMeters m_meters;
    std::vector<int> m_drawnLevels; // what the picture shows of each meter (-1: unknown)
    bool m_pictureStale = true;
    QRect m_dirty; // meters drawn into the picture and not yet repainted
    int m_clientWidth = 0;
    int m_clientHeight = 0;
    int m_page = 1;
    std::atomic<int> m_scroll{1};
    std::chrono::microseconds m_soundDelay{0};
};
