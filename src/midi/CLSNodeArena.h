#pragma once

#include <cstddef>
#include <memory>
#include <memory_resource>
#include <vector>

// Bump allocator for the nodes of the song's event list. A song's list is built once per load
// and dropped whole, so nodes are never handed back one by one; Release frees everything.
// Reserve lets the loader size the first chunk to the events it is about to append, so a song
// usually lives in exactly one chunk.
class CLSNodeArena : public std::pmr::memory_resource {
public:
    CLSNodeArena() = default;
    CLSNodeArena(const CLSNodeArena&) = delete;
    CLSNodeArena& operator=(const CLSNodeArena&) = delete;
    ~CLSNodeArena() override = default;

    // Makes the next chunk at least this large (only while nothing is allocated).
    void Reserve(std::size_t bytes);
    // Frees every chunk; only valid when no node is alive any more.
    void Release() noexcept;
    std::size_t BytesReserved() const noexcept { return m_reserved; }

private:
    void* do_allocate(std::size_t bytes, std::size_t alignment) override;
    void do_deallocate(void*, std::size_t, std::size_t) noexcept override {}
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override {
        return this == &other;
    }

    static constexpr std::size_t kMinimumChunk = 64 * 1024;

    std::vector<std::unique_ptr<std::byte[]>> m_chunks;
    std::byte* m_next = nullptr;
    std::size_t m_left = 0;
    std::size_t m_wanted = 0;
    std::size_t m_reserved = 0;
};
