#include "synth/TimedMessageQueue.h"

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
    std::size_t tail = m_tail.load(std::memory_order_relaxed);
    std::size_t count = tail - m_head.load(std::memory_order_acquire);
    std::size_t longCount = m_longPushed - m_longTaken.load(std::memory_order_acquire);
    if (m_growth == Growth::Doubling &&
        (count == m_entries.size() || (kind == Kind::Long && longCount == m_longSlots))) {
        Grow();
        tail = count;
    }
    if (count == m_entries.size())
        return MIDIOUT_NOTREADY;
    if (kind == Kind::Long && longCount == m_longSlots)
        return MIDIOUT_STILLPLAYING;
    at = std::max(at, m_last);
    m_last = at;
    Entry& entry = m_entries[tail % m_entries.size()];
    entry.at = at;
    entry.kind = kind;
    entry.length = static_cast<std::uint16_t>(length);
    if (kind == Kind::Long) {
        const std::size_t slot = m_longPushed % m_longSlots;
        entry.slot = static_cast<std::uint32_t>(slot);
        std::memcpy(&m_longBytes[slot * kLongMessageBytes], bytes, length);
        ++m_longPushed;
    } else if (length > 0) {
        std::memcpy(entry.bytes, bytes, length);
    }
    m_tail.store(tail + 1, std::memory_order_release);
    return MIDIOUT_OK;
}

// Both rings are laid out again from their start, twice as large. Only a growing queue grows,
// and its one thread both pushes and takes, so nothing reads the rings meanwhile.
void TimedMessageQueue::Grow() {
    const std::size_t head = m_head.load(std::memory_order_relaxed);
    const std::size_t count = m_tail.load(std::memory_order_relaxed) - head;
    std::vector<Entry> entries(m_entries.size() * 2);
    const std::size_t longSlots = std::max<std::size_t>(m_longSlots * 2, 1);
    std::vector<std::uint8_t> longBytes(longSlots * kLongMessageBytes);
    std::size_t nextSlot = 0;
    for (std::size_t i = 0; i < count; ++i) {
        Entry entry = m_entries[(head + i) % m_entries.size()];
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
    m_head.store(0, std::memory_order_relaxed);
    m_tail.store(count, std::memory_order_relaxed);
    m_longTaken.store(0, std::memory_order_relaxed);
    m_longPushed = nextSlot;
}

bool TimedMessageQueue::NextTime(MonoTime& at) const {
    const std::size_t head = m_head.load(std::memory_order_relaxed);
    if (head == m_tail.load(std::memory_order_acquire))
        return false;
    at = m_entries[head % m_entries.size()].at;
    return true;
}

void TimedMessageQueue::Clear() {
    m_head.store(0, std::memory_order_relaxed);
    m_tail.store(0, std::memory_order_relaxed);
    m_longTaken.store(0, std::memory_order_relaxed);
    m_longPushed = 0;
    m_last = MonoTime{};
}

std::size_t TimedMessageQueue::Capacity() const {
    return m_entries.size();
}

std::size_t TimedMessageQueue::Size() const {
    const std::size_t tail = m_tail.load(std::memory_order_acquire);
    const std::size_t head = m_head.load(std::memory_order_acquire);
    return tail >= head ? tail - head : 0;
}
