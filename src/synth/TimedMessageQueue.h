#pragma once

#include "clock/Clock.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

// The messages handed to a scheduling output and not yet delivered, in sending order, each
// with the time it is to be delivered. One thread pushes and one thread takes, and neither
// ever waits for the other: the audio thread takes from it, so it holds no lock. A fixed queue
// takes all its memory at construction, so pushing never allocates; a growing one (for offline
// rendering, where the same thread pushes and takes) doubles when full instead of refusing.
class TimedMessageQueue {
public:
    enum class Kind : std::uint8_t { Short, Long, Reset };
    enum class Growth : std::uint8_t { Fixed, Doubling };

    static constexpr std::size_t kLongMessageBytes = 512;

    // What the taking thread sees of one message; the bytes stay valid during the call only.
    struct View {
        Kind kind;
        const std::uint8_t* bytes;
        std::size_t length;
        MonoTime at;
    };

    TimedMessageQueue(std::size_t capacity, std::size_t longSlots, Growth growth = Growth::Fixed);

    // Pushing side. MIDIOUT_OK; MIDIOUT_INVALPARAM for a long message beyond kLongMessageBytes;
    // when a fixed queue is full, MIDIOUT_NOTREADY (or MIDIOUT_STILLPLAYING when its long slots
    // are). A time earlier than the previous message's becomes that time, so the sending order
    // is the delivery order.
    int Push(Kind kind, const std::uint8_t* bytes, std::size_t length, MonoTime at);

    // Taking side. The delivery time of the next message; false when the queue is empty.
    bool NextTime(MonoTime& at) const;

    // Taking side. Hands the next message to `deliver` and removes it; false when empty.
    template <class Deliver> bool TakeNext(Deliver&& deliver) {
        const std::size_t head = m_head.load(std::memory_order_relaxed);
        if (head == m_tail.load(std::memory_order_acquire))
            return false;
        const Entry& entry = m_entries[head % m_entries.size()];
        const std::uint8_t* bytes =
            entry.kind == Kind::Long ? &m_longBytes[entry.slot * kLongMessageBytes] : entry.bytes;
        deliver(View{entry.kind, bytes, entry.length, entry.at});
        if (entry.kind == Kind::Long)
            m_longTaken.store(m_longTaken.load(std::memory_order_relaxed) + 1,
                              std::memory_order_release);
        m_head.store(head + 1, std::memory_order_release);
        return true;
    }

    // Only while neither side is running.
    void Clear();
    // Exact on either side while the other is still; a moment's snapshot otherwise.
    std::size_t Size() const;
    std::size_t Capacity() const;

private:
    struct Entry {
        MonoTime at{};
        Kind kind = Kind::Short;
        std::uint8_t bytes[3] = {};
        std::uint16_t length = 0;
        std::uint32_t slot = 0;
    };

    void Grow();

    Growth m_growth;
    std::vector<Entry> m_entries;
    std::vector<std::uint8_t> m_longBytes;
    std::size_t m_longSlots;
    // Running counts, each written by one side only; an index is a count modulo the size.
    // Long messages leave in the order they came, so their slots form a ring of their own.
    alignas(64) std::atomic<std::size_t> m_head{0};
    std::atomic<std::size_t> m_longTaken{0};
    alignas(64) std::atomic<std::size_t> m_tail{0};
    std::size_t m_longPushed = 0;
    MonoTime m_last{};
};
