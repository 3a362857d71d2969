#pragma once

#include "platform/Clock.h"

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

// The messages handed to a scheduling output and not yet delivered, in sending order, each
// with the time it is to be delivered. A fixed queue takes all its memory at construction, so
// pushing from the timer thread never allocates; a growing one (for offline rendering, where
// the same thread pushes and takes) doubles when full instead of refusing. Any thread may
// push; one thread takes messages out.
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

    // MIDIOUT_OK; MIDIOUT_INVALPARAM for a long message beyond kLongMessageBytes; when a fixed
    // queue is full, MIDIOUT_NOTREADY (or MIDIOUT_STILLPLAYING when its long slots are). A time
    // earlier than the previous message's becomes that time, so the sending order is the delivery
    // order.
    int Push(Kind kind, const std::uint8_t* bytes, std::size_t length, MonoTime at);

    // The delivery time of the next message; false when the queue is empty.
    bool NextTime(MonoTime& at) const;

    // Hands the next message to `deliver` and removes it; false when the queue is empty.
    template <class Deliver> bool TakeNext(Deliver&& deliver) {
        std::lock_guard lock(m_mutex);
        if (m_count == 0)
            return false;
        const Entry& entry = m_entries[m_head];
        const std::uint8_t* bytes =
            entry.kind == Kind::Long ? &m_longBytes[entry.slot * kLongMessageBytes] : entry.bytes;
        deliver(View{entry.kind, bytes, entry.length, entry.at});
        if (entry.kind == Kind::Long)
            --m_longCount;
        m_head = (m_head + 1) % m_entries.size();
        --m_count;
        return true;
    }

    void Clear();
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

    mutable std::mutex m_mutex;
    Growth m_growth;
    std::vector<Entry> m_entries;
    std::vector<std::uint8_t> m_longBytes;
    std::size_t m_longSlots;
    std::size_t m_head = 0;
    std::size_t m_count = 0;
    // Long messages leave in the order they came, so their slots form a ring of their own.
    std::size_t m_longNext = 0;
    std::size_t m_longCount = 0;
    MonoTime m_last{};
};
