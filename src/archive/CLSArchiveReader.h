#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum class ArchiveKind { Lha, Zip };

// One archive opened by the built-in archive library: the member list read once at opening,
// the find cursor of the find functions, and extraction of one member into a caller's buffer.
class CLSArchiveReader {
public:
    struct Member {
        std::string name; // raw bytes as stored; folders end with "/"
        std::int64_t size;
        std::int64_t compressedSize;
    };

    // Null when the file is not a readable archive of this kind.
    static std::unique_ptr<CLSArchiveReader> Open(ArchiveKind kind, const char* path);

    // The find functions: a wildcard text (one or more words, see SplitArchiveWords).
    bool FindFirst(const char* wildcard);
    bool FindNext();
    const Member* Current() const noexcept;

    // Total uncompressed size of the members the last FindFirst matched; -1 when none matched.
    std::int64_t FoundSize() const noexcept;

    enum ExtractResult { kExtracted = 0, kNoArchive, kNoMember, kDamaged, kTooLarge };

    // Writes the first member matching pattern into buffer. Refuses (kTooLarge) a member whose
    // data does not fit, without reading more than one byte beyond the buffer.
    static ExtractResult Extract(ArchiveKind kind, const char* path, const char* pattern,
                                 unsigned char* buffer, std::uint32_t size, std::uint32_t* written);

private:
    bool Matches(const Member& member) const;

    std::vector<Member> m_members;
    std::vector<std::string> m_patterns;
    std::size_t m_cursor = 0;
    bool m_found = false;
};
