#pragma once

#include "core/vector.h"

#include <atomic>
#include <cstdint>

// One spectrum row. The player moves sounding and level on the timer thread, the spectrum
// reads and decays them on its own thread and the user interface toggles muted: all atomics.
struct MIDITRACKINFO {
    static constexpr int kPercussion = 128;  // label of channel-10 rows
    static constexpr int kChannelBase = 129; // labels 129..144: channels 1..16

    int label = 0; // 0..127 GM program, 128 percussion, 129..144 channel 1..16
    std::atomic<int> sounding{0};
    std::atomic<int> level{0};
    std::atomic<bool> muted{false};
    // When the latest note-on was due (ns on the playback clock), stored before its level: the
    // meter shows the rise from then, not from whenever a tick got round to sending it.
    std::atomic<std::int64_t> noteDue{0};

    MIDITRACKINFO() = default;
    MIDITRACKINFO(const MIDITRACKINFO& other) { *this = other; }
    MIDITRACKINFO& operator=(const MIDITRACKINFO& other) {
        label = other.label;
        sounding.store(other.sounding.load(std::memory_order_relaxed), std::memory_order_relaxed);
        level.store(other.level.load(std::memory_order_relaxed), std::memory_order_relaxed);
        muted.store(other.muted.load(std::memory_order_relaxed), std::memory_order_relaxed);
        noteDue.store(other.noteDue.load(std::memory_order_relaxed), std::memory_order_relaxed);
        return *this;
    }
};

using MIDITRACKINFOARRAY = druvel::vector<MIDITRACKINFO>;
