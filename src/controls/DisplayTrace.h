#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// An opt-in record of when the displays draw what they show and when it reaches the screen, on
// the monotonic clock, for measuring how far the pictures lag the sound. While no trace is
// installed a record costs one relaxed load; an installed trace writes into a buffer sized up
// front, so the drawing threads neither allocate nor lock. What overflows the buffer is
// counted, not kept.
class DisplayTrace {
public:
    enum class Event : std::uint8_t {
        SpectrumRise,    // a meter's rise drawn into the picture (value: the row)
        SpectrumTaken,   // the drawn meters handed to the window for a repaint
        SpectrumPainted, // the window painted
        WordReached,     // the wipe first covers a syllable (value: syllables so far)
        WordsTaken,
        WordsPainted,
        NoteDue,      // a note-on handed to the output, at the time it was due (value: note)
        SoundLatency, // what the output says it adds (value: microseconds)
    };
    static constexpr std::size_t kDefaultCapacity = std::size_t{1} << 16;
    static constexpr const char* kEnvironment = "DRUVEL_TRACE_DISPLAY";

    explicit DisplayTrace(std::size_t capacity = kDefaultCapacity);
    ~DisplayTrace();
    DisplayTrace(const DisplayTrace&) = delete;
    DisplayTrace& operator=(const DisplayTrace&) = delete;

    // A trace installed as the process's when the environment names a file, else none.
    static std::unique_ptr<DisplayTrace> FromEnvironment();
    // The trace that Record writes to (none: nullptr). The trace must outlive every thread that
    // may record; its destructor uninstalls it.
    static void Install(DisplayTrace* trace) noexcept;
    static void Record(Event event, int value) noexcept;
    static void RecordAt(Event event, int value, std::chrono::steady_clock::time_point at) noexcept;

    void Add(Event event, int value, std::int64_t monotonicNs) noexcept;
    std::size_t Size() const noexcept;
    std::size_t Dropped() const noexcept;
    // One line per record, "EVENT VALUE NANOSECONDS", in the order recorded. Only once every
    // recording thread has been joined.
    bool WriteTo(const std::string& path) const;
    const std::string& Path() const noexcept { return m_path; }

private:
    struct Entry {
        std::int64_t ns;
        std::int32_t value;
        Event event;
    };
    std::unique_ptr<Entry[]> m_entries;
    std::size_t m_capacity;
    std::atomic<std::size_t> m_next{0};
    std::string m_path;
};
