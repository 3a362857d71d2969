#include "platform/CLSArchiveReader.h"

#include "platform/ArchiveWildcard.h"

#ifdef DRUVEL_HAVE_LIBARCHIVE
#include <archive.h>
#include <archive_entry.h>
#endif

namespace {

#ifdef DRUVEL_HAVE_LIBARCHIVE
struct ArchiveFree {
    void operator()(archive* a) const noexcept { archive_read_free(a); }
};
using ArchivePtr = std::unique_ptr<archive, ArchiveFree>;

constexpr std::size_t kReadBlock = 64 * 1024;

ArchivePtr OpenLibarchive(ArchiveKind kind, const char* path) {
    ArchivePtr a(archive_read_new());
    if (!a)
        return nullptr;
    if (kind == ArchiveKind::Zip)
        archive_read_support_format_zip_seekable(a.get()); // sizes from the central directory
    else
        archive_read_support_format_lha(a.get());
    if (archive_read_open_filename(a.get(), path, kReadBlock) != ARCHIVE_OK)
        return nullptr;
    return a;
}

// The name as stored. A name marked as UTF-8 cannot be turned into the bytes of a non-UTF-8
// locale; its UTF-8 form is then the stored form.
const char* RawName(archive_entry* entry) {
    if (const char* name = archive_entry_pathname(entry))
        return name;
    return archive_entry_pathname_utf8(entry);
}

bool NextHeader(archive* a, archive_entry** entry) {
    const int result = archive_read_next_header(a, entry);
    return result == ARCHIVE_OK || result == ARCHIVE_WARN;
}
#endif

} // namespace

std::unique_ptr<CLSArchiveReader> CLSArchiveReader::Open(ArchiveKind kind, const char* path) {
#ifdef DRUVEL_HAVE_LIBARCHIVE
    ArchivePtr a = OpenLibarchive(kind, path);
    if (!a)
        return nullptr;
    auto reader = std::make_unique<CLSArchiveReader>();
    archive_entry* entry = nullptr;
    bool first = true;
    while (NextHeader(a.get(), &entry)) {
        first = false;
        const char* name = RawName(entry);
        if (!name)
            continue;
        Member member{name, archive_entry_size_is_set(entry) ? archive_entry_size(entry) : -1, 0};
        if (archive_entry_filetype(entry) == AE_IFDIR && !member.name.empty() &&
            member.name.back() != '/' && member.name.back() != '\\')
            member.name += '/';
        reader->m_members.push_back(std::move(member));
        archive_read_data_skip(a.get());
    }
    // Not an archive at all (or damaged before its first member): refuse to open. An archive
    // damaged further on keeps the members read up to there.
    if (first && archive_errno(a.get()) != 0)
        return nullptr;
    return reader;
#else
    (void)kind;
    (void)path;
    return nullptr;
#endif
}

bool CLSArchiveReader::Matches(const Member& member) const {
    for (const std::string& pattern : m_patterns) {
        if (MatchArchiveWildcard(pattern.c_str(), member.name.c_str()))
            return true;
    }
    return false;
}

bool CLSArchiveReader::FindFirst(const char* wildcard) {
    m_patterns = SplitArchiveWords(wildcard ? wildcard : "");
    if (m_patterns.empty())
        m_patterns.push_back("*");
    m_cursor = 0;
    m_found = false;
    while (m_cursor < m_members.size() && !Matches(m_members[m_cursor]))
        ++m_cursor;
    m_found = m_cursor < m_members.size();
    return m_found;
}

bool CLSArchiveReader::FindNext() {
    if (!m_found)
        return false;
    ++m_cursor;
    while (m_cursor < m_members.size() && !Matches(m_members[m_cursor]))
        ++m_cursor;
    m_found = m_cursor < m_members.size();
    return m_found;
}

const CLSArchiveReader::Member* CLSArchiveReader::Current() const noexcept {
    return m_found ? &m_members[m_cursor] : nullptr;
}

std::int64_t CLSArchiveReader::FoundSize() const noexcept {
    std::int64_t total = 0;
    bool any = false;
    for (const Member& member : m_members) {
        if (!Matches(member))
            continue;
        if (member.size < 0)
            return -1;
        total += member.size;
        any = true;
    }
    return any ? total : -1;
}

CLSArchiveReader::ExtractResult CLSArchiveReader::Extract(ArchiveKind kind, const char* path,
                                                          const char* pattern,
                                                          unsigned char* buffer, std::uint32_t size,
                                                          std::uint32_t* written) {
    if (written)
        *written = 0;
#ifdef DRUVEL_HAVE_LIBARCHIVE
    ArchivePtr a = OpenLibarchive(kind, path);
    if (!a)
        return kNoArchive;
    archive_entry* entry = nullptr;
    while (NextHeader(a.get(), &entry)) {
        const char* name = RawName(entry);
        if (!name || archive_entry_filetype(entry) == AE_IFDIR ||
            !MatchArchiveWildcard(pattern, name)) {
            archive_read_data_skip(a.get());
            continue;
        }
        std::uint32_t total = 0;
        for (;;) {
            const la_ssize_t n = archive_read_data(a.get(), buffer + total, size - total);
            if (n < 0)
                return kDamaged;
            if (n == 0)
                break;
            total += static_cast<std::uint32_t>(n);
            if (total == size) {
                // Full: a member larger than it claimed must not run on past the buffer.
                unsigned char probe;
                const la_ssize_t more = archive_read_data(a.get(), &probe, 1);
                if (more < 0)
                    return kDamaged;
                if (more > 0)
                    return kTooLarge;
                break;
            }
        }
        if (written)
            *written = total;
        return kExtracted;
    }
    return kNoMember;
#else
    (void)kind;
    (void)path;
    (void)pattern;
    (void)buffer;
    (void)size;
    return kNoArchive;
#endif
}
