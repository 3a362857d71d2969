#include "synth/SynthWarmUp.h"

#include "core/MidiOutError.h"
#include "synth/SynthMidiOutput.h"

#include <condition_variable>
#include <mutex>

namespace {

std::mutex g_mutex;
std::condition_variable g_idle;
int g_running = 0; // guarded by g_mutex
thread_local bool t_warming = false;

void WarmSynthesizer(const std::string& soundFontPath) {
    SynthMidiOutput output(soundFontPath);
    if (output.Open() == MIDIOUT_OK)
        output.Close();
}

} // namespace

SynthWarmUp::SynthWarmUp(const std::string& soundFontPath)
    : SynthWarmUp(Task([soundFontPath] { WarmSynthesizer(soundFontPath); })) {}

SynthWarmUp::SynthWarmUp(Task task) {
    // Counted before the thread exists, so an Open right after construction already waits.
    {
        std::lock_guard lock(g_mutex);
        ++g_running;
    }
    m_thread = std::thread([this, work = std::move(task)] { Run(work); });
}

SynthWarmUp::~SynthWarmUp() {
    if (m_thread.joinable())
        m_thread.join();
}

void SynthWarmUp::Run(const Task& task) {
    t_warming = true;
    // A failed warm-up costs nothing: the first Play opens the synthesizer itself and reports.
    try {
        if (task)
            task();
    } catch (...) {
    }
    m_finished.store(true, std::memory_order_release);
    std::lock_guard lock(g_mutex);
    --g_running;
    g_idle.notify_all();
}

void SynthWarmUp::AwaitAll() {
    if (t_warming)
        return;
    std::unique_lock lock(g_mutex);
    g_idle.wait(lock, [] { return g_running == 0; });
}
