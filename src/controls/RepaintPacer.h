#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <vector>

class RepaintRequest;

// Shows what the drawing threads drew, at one frame rate for all of them. A drawing thread
// only notes the area it drew into; every frame the GUI thread collects the notes of every
// attached display and hands them to Qt together. So the window is painted and sent to the
// screen once a frame however many threads drew, and no thread wakes the GUI thread at its
// own tick: each wake-up and each frame costs a round trip to the display server. Widgets
// repainted whole from other threads ride the same frames through a RepaintRequest.
// GUI thread only, but for Pacing().
class RepaintPacer final : public QObject {
public:
    static constexpr int kFrameMs = 16;
    // Returns and clears the area drawn since the last call (taken under the display's lock).
    using TakeDirty = std::function<QRect()>;

    // The application's pacer, made on first use and owned by the application object.
    static RepaintPacer& Instance();
    // Shows what `widget` still has noted and stops pacing it; nothing without a pacer.
    static void Release(const QWidget* widget);

    // From now on `widget` is repainted every frame in the area `take` returns.
    void Attach(QWidget* widget, TakeDirty take);
    // Shows what is still noted and stops pacing `widget`.
    void Detach(const QWidget* widget);
    bool IsAttached(const QWidget* widget) const;

    // Any thread: whether frames are being shown (some display is attached).
    static bool Pacing() noexcept;
    // Served every frame, and once more when the frames stop.
    void AddRequest(RepaintRequest* request);
    static void RemoveRequest(const RepaintRequest* request);

private:
    explicit RepaintPacer(QObject* parent);
    ~RepaintPacer() override;
    void Start();
    void Stop();
    void Frame();
    void ServeRequests();

    struct Display {
        QPointer<QWidget> widget;
        TakeDirty take;
    };
    std::vector<Display> m_displays;
    std::vector<RepaintRequest*> m_requests;
    QTimer m_timer;
};
