#include "controls/SpectrumMeters.h"

#include "controls/SpectrumGeometry.h"

#include <algorithm>

void SpectrumMeters::Reset(std::size_t rowCount, int delayTicks) {
    m_slots = static_cast<std::size_t>(std::max(delayTicks, 0)) + 1;
    m_shown.assign(rowCount, 0);
    m_moved.assign(rowCount, 0);
    m_history.assign(rowCount * m_slots, 0);
    m_head = 0;
}

int SpectrumMeters::Heard(std::size_t row) const noexcept {
    // The oldest slot: the one the next tick overwrites.
    const std::size_t oldest = (m_head + 1) % m_slots;
    return m_history[oldest * Count() + row];
}

bool SpectrumMeters::Tick(MIDITRACKINFOARRAY& rows, bool stopping) {
    using namespace SpectrumGeometry;
    const std::size_t count = std::min<std::size_t>(Count(), rows.size());
    m_head = (m_head + 1) % m_slots;
    bool allZero = true;
    for (std::size_t j = 0; j < count; ++j) {
        MIDITRACKINFO& row = rows[j];
        const int level = row.level.load(std::memory_order_relaxed);
        const int live = DecayLevel(level, row.sounding.load(std::memory_order_relaxed));
        if (live != level)
            row.level.store(live, std::memory_order_relaxed);
        m_history[m_head * Count() + j] = live;
        const int target = stopping ? 0 : Heard(j);
        const int shown = m_shown[j] == target
                              ? target
                              : StepShown(m_shown[j], target, stopping ? kFallOnStop : kFall);
        m_moved[j] = shown != m_shown[j];
        m_shown[j] = shown;
        allZero = allZero && shown == 0;
    }
    return allZero;
}
