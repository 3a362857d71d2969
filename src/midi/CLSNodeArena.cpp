#include "midi/CLSNodeArena.h"

#include <algorithm>
#include <cstdint>

void CLSNodeArena::Reserve(std::size_t bytes) {
    if (m_chunks.empty())
        m_wanted = bytes;
}

void CLSNodeArena::Release() noexcept {
    m_chunks.clear();
    m_next = nullptr;
    m_left = 0;
    m_wanted = 0;
    m_reserved = 0;
}

void* CLSNodeArena::do_allocate(std::size_t bytes, std::size_t alignment) {
    const auto misalign = [&] {
        const auto address = reinterpret_cast<std::uintptr_t>(m_next);
        return (alignment - address % alignment) % alignment;
    };
    if (m_next == nullptr || misalign() + bytes > m_left) {
        // Grow geometrically after the reserved chunk so a bad estimate costs log(n) chunks.
        const std::size_t size =
            std::max({bytes + alignment, m_wanted, kMinimumChunk, m_reserved / 2});
        m_chunks.push_back(std::make_unique_for_overwrite<std::byte[]>(size));
        m_next = m_chunks.back().get();
        m_left = size;
        m_reserved += size;
        m_wanted = 0;
    }
    const std::size_t skip = misalign();
    void* result = m_next + skip;
    m_next += skip + bytes;
    m_left -= skip + bytes;
    return result;
}
