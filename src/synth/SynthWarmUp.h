#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>

// Makes the embedded synthesizer ready on a thread of its own at start-up: its SoundFont
// loaded and the audio stream opened once, so that the first Play does not freeze the window
// for the seconds that takes. A synthesizer opened meanwhile waits for the warm-up to finish
// and then uses what it loaded, instead of loading it a second time.
class SynthWarmUp {
public:
    using Task = std::function<void()>;

    // Warms the synthesizer of this SoundFont (empty: the one SoundFontLocator finds).
    explicit SynthWarmUp(const std::string& soundFontPath = {});
    // Runs `task` as the warm-up instead.
    explicit SynthWarmUp(Task task);
    // Waits for the warm-up to end.
    ~SynthWarmUp();
    SynthWarmUp(const SynthWarmUp&) = delete;
    SynthWarmUp& operator=(const SynthWarmUp&) = delete;

    bool Finished() const noexcept { return m_finished.load(std::memory_order_acquire); }

    // Returns once no warm-up runs; at once on a warm-up's own thread.
    static void AwaitAll();

private:
    void Run(const Task& task);

    std::atomic<bool> m_finished{false};
    std::thread m_thread; // last: started once the rest is ready
};
