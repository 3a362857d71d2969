#include "controls/DisplayTrace.h"

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace {

std::atomic<DisplayTrace*> g_installed{nullptr};

const char* EventName(DisplayTrace::Event event) {
    switch (event) {
    case DisplayTrace::Event::SpectrumRise:
        return "spectrum-rise";
    case DisplayTrace::Event::SpectrumTaken:
        return "spectrum-taken";
    case DisplayTrace::Event::SpectrumPainted:
        return "spectrum-painted";
    case DisplayTrace::Event::WordReached:
        return "word-reached";
    case DisplayTrace::Event::WordsTaken:
        return "words-taken";
    case DisplayTrace::Event::WordsPainted:
        return "words-painted";
    case DisplayTrace::Event::NoteDue:
        return "note-due";
    case DisplayTrace::Event::SoundLatency:
        return "sound-latency";
    }
    return "unknown";
}

} // namespace

DisplayTrace::DisplayTrace(std::size_t capacity)
    : m_entries(std::make_unique<Entry[]>(capacity)), m_capacity(capacity) {}

DisplayTrace::~DisplayTrace() {
    DisplayTrace* self = this;
    g_installed.compare_exchange_strong(self, nullptr);
}

std::unique_ptr<DisplayTrace> DisplayTrace::FromEnvironment() {
    const char* path = std::getenv(kEnvironment);
    if (path == nullptr || *path == '\0')
        return nullptr;
    auto trace = std::make_unique<DisplayTrace>();
    trace->m_path = path;
    Install(trace.get());
    return trace;
}

void DisplayTrace::Install(DisplayTrace* trace) noexcept {
    g_installed.store(trace, std::memory_order_release);
}

void DisplayTrace::Record(Event event, int value) noexcept {
    if (g_installed.load(std::memory_order_relaxed) != nullptr)
        RecordAt(event, value, std::chrono::steady_clock::now());
}

// steady_clock is CLOCK_MONOTONIC here, the clock the sound's time stamps use too.
void DisplayTrace::RecordAt(Event event, int value,
                            std::chrono::steady_clock::time_point at) noexcept {
    DisplayTrace* trace = g_installed.load(std::memory_order_acquire);
    if (trace == nullptr)
        return;
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch());
    trace->Add(event, value, ns.count());
}

void DisplayTrace::Add(Event event, int value, std::int64_t monotonicNs) noexcept {
    const std::size_t slot = m_next.fetch_add(1, std::memory_order_relaxed);
    if (slot < m_capacity)
        m_entries[slot] = Entry{monotonicNs, value, event};
}

std::size_t DisplayTrace::Size() const noexcept {
    return std::min(m_next.load(std::memory_order_relaxed), m_capacity);
}

std::size_t DisplayTrace::Dropped() const noexcept {
    return m_next.load(std::memory_order_relaxed) - Size();
}

bool DisplayTrace::WriteTo(const std::string& path) const {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr)
        return false;
    bool ok = true;
    for (std::size_t i = 0; i < Size() && ok; ++i) {
        const Entry& e = m_entries[i];
        ok = std::fprintf(file, "%s %d %" PRId64 "\n", EventName(e.event), e.value, e.ns) > 0;
    }
    if (Dropped() > 0)
        ok = std::fprintf(file, "dropped %zu 0\n", Dropped()) > 0 && ok;
    return std::fclose(file) == 0 && ok;
}
