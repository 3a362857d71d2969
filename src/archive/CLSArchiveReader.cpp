#include "archive/CLSArchiveReader.h"

#include "archive/ArchiveWildcard.h"

#include "core/OpenForReading.h"

#include <archive.h>
#include <archive_entry.h>
#include <clocale>
#include <locale.h>
#include <unistd.h>

namespace {

// The archive and the descriptor it reads: libarchive does not close a descriptor it was given.
struct ArchiveFree {
    int fd = -1;
    void operator()(archive* a) const noexcept {
        archive_read_free(a);
        if (fd >= 0)
            ::close(fd);
    }
};
using ArchivePtr = std::unique_ptr<archive, ArchiveFree>;

constexpr std::size_t kReadBlock = 64 * 1024;

// libarchive converts names into the thread's locale; a UTF-8 one keeps ZIP names as stored
// (or as UTF-8 when flagged so) whatever locale the process runs in.
class Utf8Names {
public:
    Utf8Names() : m_locale(newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0))) {
        if (m_locale)
            m_previous = uselocale(m_locale);
    }
    ~Utf8Names() {
        if (m_locale) {
            uselocale(m_previous);
            freelocale(m_locale);
        }
    }
    Utf8Names(const Utf8Names&) = delete;
    Utf8Names& operator=(const Utf8Names&) = delete;

private:
    locale_t m_locale;
    locale_t m_previous = LC_GLOBAL_LOCALE;
};

// LHA names always pass through Unicode in libarchive: archives from Windows hold Shift-JIS,
// those made on Unix UTF-8. UTF-8 is tried first: Shift-JIS names are rarely valid UTF-8, while
// UTF-8 names often pass for Shift-JIS. The first charset that reads the whole archive wins.
constexpr const char* kLhaCharsets[] = {"UTF-8", "CP932"};
constexpr int kCharsetCount = 2;

ArchivePtr OpenLibarchive(ArchiveKind kind, const char* path, int charset) {
    const int fd = OpenForReading(path); // regular files only: a FIFO would block for ever
    if (fd < 0)
        return nullptr;
    ArchivePtr a(archive_read_new(), ArchiveFree{fd});
    if (!a) {
        ::close(fd);
        return nullptr;
    }
    if (kind == ArchiveKind::Zip) {
        archive_read_support_format_zip_seekable(a.get()); // sizes from the central directory
    } else {
        archive_read_support_format_lha(a.get());
        archive_read_set_format_option(a.get(), "lha", "hdrcharset", kLhaCharsets[charset]);
    }
    if (archive_read_open_fd(a.get(), fd, kReadBlock) != ARCHIVE_OK)
        return nullptr;
    return a;
}

int CharsetCount(ArchiveKind kind) {
    return kind == ArchiveKind::Lha ? kCharsetCount : 1;
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

// Reads the data of the current member into buffer; a member larger than the buffer is refused
// after reading at most one byte beyond it.
CLSArchiveReader::ExtractResult ReadData(archive* a, unsigned char* buffer, std::uint32_t size,
                                         std::uint32_t* written) {
    std::uint32_t total = 0;
    for (;;) {
        const la_ssize_t n = archive_read_data(a, buffer + total, size - total);
        if (n < 0)
            return CLSArchiveReader::kDamaged;
        if (n == 0)
            break;
        total += static_cast<std::uint32_t>(n);
        if (total == size) {
            unsigned char probe;
            const la_ssize_t more = archive_read_data(a, &probe, 1);
            if (more < 0)
                return CLSArchiveReader::kDamaged;
            if (more > 0)
                return CLSArchiveReader::kTooLarge;
            break;
        }
    }
    if (written)
        *written = total;
    return CLSArchiveReader::kExtracted;
}

CLSArchiveReader::ExtractResult ExtractFrom(archive* a, const char* pattern, unsigned char* buffer,
                                            std::uint32_t size, std::uint32_t* written) {
    archive_entry* entry = nullptr;
    while (NextHeader(a, &entry)) {
        const char* name = RawName(entry);
        if (name && archive_entry_filetype(entry) != AE_IFDIR &&
            MatchArchiveWildcard(pattern, name))
            return ReadData(a, buffer, size, written);
        archive_read_data_skip(a);
    }
    return CLSArchiveReader::kNoMember;
}

} // namespace

std::unique_ptr<CLSArchiveReader> CLSArchiveReader::Open(ArchiveKind kind, const char* path) {
    Utf8Names names;
    std::unique_ptr<CLSArchiveReader> best;
    for (int charset = 0; charset < CharsetCount(kind); ++charset) {
        ArchivePtr a = OpenLibarchive(kind, path, charset);
        if (!a)
            return nullptr;
        auto reader = std::make_unique<CLSArchiveReader>();
        archive_entry* entry = nullptr;
        int result;
        while ((result = archive_read_next_header(a.get(), &entry)) == ARCHIVE_OK ||
               result == ARCHIVE_WARN) {
            const char* name = RawName(entry);
            if (!name)
                continue;
            Member member{name, archive_entry_size_is_set(entry) ? archive_entry_size(entry) : -1,
                          0};
            if (archive_entry_filetype(entry) == AE_IFDIR && !member.name.empty() &&
                member.name.back() != '/' && member.name.back() != '\\')
                member.name += '/';
            reader->m_members.push_back(std::move(member));
            archive_read_data_skip(a.get());
        }
        if (result == ARCHIVE_EOF)
            return reader;
        // Damaged (or a name this charset cannot read): keep the longest listing, and refuse a
        // file where not even one member could be read.
        if (!reader->m_members.empty() &&
            (!best || reader->m_members.size() > best->m_members.size()))
            best = std::move(reader);
    }
    return best;
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
    Utf8Names names;
    ExtractResult result = kNoArchive;
    for (int charset = 0; charset < CharsetCount(kind) && result != kExtracted; ++charset) {
        ArchivePtr a = OpenLibarchive(kind, path, charset);
        if (!a)
            return kNoArchive;
        result = ExtractFrom(a.get(), pattern, buffer, size, written);
        if (result == kTooLarge)
            return result;
    }
    return result;
}
