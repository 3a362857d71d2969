#include "controls/SpectrumMeters.h"

#include "controls/SpectrumGeometry.h"

#include <algorithm>
#include <limits>

namespace {

// A due time further back than this is not the note just sent (or comes from another clock).
constexpr std::int64_t kDueWindowNs = 100'000'000;

} // namespace

void SpectrumMeters::Reset(std::size_t rowCount, std::chrono::nanoseconds delay) {
    m_delay = std::max<std::int64_t>(delay.count(), 0);
    // Enough samples to look `delay` back, and the engine's tick further for a late rise.
    const std::int64_t tick = std::int64_t{SpectrumGeometry::kTickMs} * 1'000'000;
    m_slots = static_cast<std::size_t>((m_delay + kDueWindowNs) / tick) + 2;
    m_shown.assign(rowCount, 0);
    m_moved.assign(rowCount, 0);
    m_lastDue.assign(rowCount, 0);
    m_history.assign(rowCount * m_slots, {std::numeric_limits<std::int64_t>::min(), 0});
    m_head = 0;
}

// The level the row had at `at`: its newest sample not after then.
int SpectrumMeters::Heard(std::size_t row, std::int64_t at) const noexcept {
    for (std::size_t back = 0; back < m_slots; ++back) {
        const Sample& sample = m_history[((m_head + m_slots - back) % m_slots) * Count() + row];
        if (sample.time <= at)
            return sample.level;
    }
    return 0;
}

std::int64_t SpectrumMeters::SampleTime(const MIDITRACKINFO& row, std::size_t j,
                                        std::int64_t now) noexcept {
    const std::int64_t due = row.noteDue.load(std::memory_order_relaxed);
    if (due == m_lastDue[j])
        return now;
    m_lastDue[j] = due;
    return due <= now && now - due < kDueWindowNs ? due : now;
}

bool SpectrumMeters::Tick(MIDITRACKINFOARRAY& rows, bool stopping, MonoTime now) {
    using namespace SpectrumGeometry;
    const std::int64_t nowNs =
        std::chrono::duration_cast<std::chrono::nanoseconds>(now.time_since_epoch()).count();
    const std::size_t count = std::min<std::size_t>(Count(), rows.size());
    m_head = (m_head + 1) % m_slots;
    bool allZero = true;
    for (std::size_t j = 0; j < count; ++j) {
        MIDITRACKINFO& row = rows[j];
        // Acquire: a level raised by a note-on comes with that note's due time.
        const int level = row.level.load(std::memory_order_acquire);
        const int live = DecayLevel(level, row.sounding.load(std::memory_order_relaxed));
        if (live != level)
            row.level.store(live, std::memory_order_relaxed);
        m_history[m_head * Count() + j] = {SampleTime(row, j, nowNs), live};
        const int target = stopping ? 0 : Heard(j, nowNs - m_delay);
        const int shown = m_shown[j] == target
                              ? target
                              : StepShown(m_shown[j], target, stopping ? kFallOnStop : kFall);
        m_moved[j] = shown != m_shown[j];
        m_shown[j] = shown;
        allZero = allZero && shown == 0;
    }
    return allZero;
}

bool SpectrumMeters::Fall() noexcept {
    bool allZero = true;
    for (std::size_t j = 0; j < Count(); ++j) {
        const int shown =
            m_shown[j] == 0
                ? 0
                : SpectrumGeometry::StepShown(m_shown[j], 0, SpectrumGeometry::kFallOnStop);
        m_moved[j] = shown != m_shown[j];
        m_shown[j] = shown;
        allZero = allZero && shown == 0;
    }
    return allZero;
}
