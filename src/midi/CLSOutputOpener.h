#pragma once

#include "output/MidiOutput.h"
#include "output/MidiOutputFactory.h"

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

// Opens an output device on a thread of its own. For the embedded synthesizer an open pins the
// song's presets and starts the audio driver, a few hundred ms the window's thread must not
// wait. Everything but the worker is called on one thread; the worker touches only what Start
// handed it.
class CLSOutputOpener {
public:
    using Done = std::function<void()>;

    CLSOutputOpener() = default;
    // Cancels: no worker outlives its owner.
    ~CLSOutputOpener();
    CLSOutputOpener(const CLSOutputOpener&) = delete;
    CLSOutputOpener& operator=(const CLSOutputOpener&) = delete;

    // Creates the output, gives it the song's programs and opens it, on the caller's thread.
    static int Open(const MidiOutputFactory& factory, int deviceId,
                    const std::vector<MidiOutput::Program>& programs,
                    std::unique_ptr<MidiOutput>& output);

    // The same on the worker; `done` is called there once the result can be taken. False when
    // an opening is still pending or no thread could be started.
    bool Start(MidiOutputFactory factory, int deviceId, std::vector<MidiOutput::Program> programs,
               Done done);
    // Started and neither taken nor cancelled.
    bool IsPending() const noexcept { return m_thread.joinable(); }
    // The worker has a result (done is being called or was).
    bool IsFinished() const noexcept { return m_finished.load(std::memory_order_acquire); }
    // Joins (at once once finished) and hands over the open output, or null and the error.
    int Take(std::unique_ptr<MidiOutput>& output);
    // Waits for the worker and closes whatever it opened.
    void Cancel();

private:
    std::thread m_thread;
    // Written by the worker before m_finished, read after the join.
    std::unique_ptr<MidiOutput> m_output;
    int m_result = 0;
    std::atomic<bool> m_finished{false};
};
