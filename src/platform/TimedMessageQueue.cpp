#include "platform/TimedMessageQueue.h"

#include "core/MidiOutError.h"

#include <algorithm>
#include <cstring>

TimedMessageQueue::TimedMessageQueue(std::size_t capacity, std::size_t longSlots, Growth growth)
    : m_growth(growth), m_entries(std::max<std::size_t>(capacity, 1)),
      m_longBytes(longSlots * kLongMessageBytes), m_longSlots(longSlots) {}

int TimedMessageQueue::Push(Kind kind, const std::uint8_t* bytes, std::size_t length, MonoTime at) {
    if (kind == Kind::Long && length > kLongMessageBytes)
        return MIDIOUT_INVALPARAM;
    if (kind == Kind::Short && length > 3)
        return MIDIOUT_INVALPARAM;
    std::lock_guard lock(m_mutex);
    if (m_growth == Growth::Doubling &&
        (m_count == m_entries.size() || (kind == Kind::Long && m_longCount == m_longSlots)))
        Grow();
    if (m_count == m_entries.size())
        return MIDIOUT_NOTREADY;
    if (kind == Kind::Long && m_longCount == m_longSlots)
        return MIDIOUT_STILLPLAYING;
    at = std::max(at, m_last);
    m_last = at;
    Entry& entry = m_entries[(m_head + m_count) % m_entries.size()];
    entry.at = at;
    entry.kind = kind;
    entry.length = static_cast<std::uint16_t>(length);
    if (kind == Kind::Long) {
        entry.slot = static_cast<std::uint32_t>(m_longNext);
        std::memcpy(&m_longBytes[m_longNext * kLongMessageBytes], bytes, length);
        m_longNext = (m_longNext + 1) % m_longSlots;
        ++m_longCount;
    } else if (length > 0) {
        std::memcpy(entry.bytes, bytes, length);
    }
    ++m_count;
    return MIDIOUT_OK;
}

// Both rings are laid out again from their start, twice as large.
void TimedMessageQueue::Grow() {
    std::vector<Entry> entries(m_entries.size() * 2);
    const std::size_t longSlots = std::max<std::size_t>(m_longSlots * 2, 1);
    std::vector<std::uint8_t> longBytes(longSlots * kLongMessageBytes);
    std::size_t nextSlot = 0;
    for (std::size_t i = 0; i < m_count; ++i) {
        Entry entry = m_entries[(m_head + i) % m_entries.size()];
        if (entry.kind == Kind::Long) {
            std::memcpy(&longBytes[nextSlot * kLongMessageBytes],
                        &m_longBytes[entry.slot * kLongMessageBytes], entry.length);
            entry.slot = static_cast<std::uint32_t>(nextSlot++);
        }
        entries[i] = entry;
    }
    m_entries = std::move(entries);
    m_longBytes = std::move(longBytes);
    m_longSlots = longSlots;
    m_head = 0;
    m_longNext = nextSlot;
}

bool TimedMessageQueue::NextTime(MonoTime& at) const {
    std::lock_guard lock(m_mutex);
    if (m_count == 0)
        return false;
    at = m_entries[m_head].at;
    return true;
}

void TimedMessageQueue::Clear() {
    std::lock_guard lock(m_mutex);
    m_head = 0;
    m_count = 0;
    m_longNext = 0;
    m_longCount = 0;
    m_last = MonoTime{};
}

std::size_t TimedMessageQueue::Capacity() const {
    std::lock_guard lock(m_mutex);
    return m_entries.size();
}

std::size_t TimedMessageQueue::Size() const {
    std::lock_guard lock(m_mutex);
    return m_count;
}
