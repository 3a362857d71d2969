#include "midi/ArchiveMemberImage.h"

#include "core/ArchiveLibrary.h"

namespace {

constexpr const char* kModule = "MIDIDATA";
constexpr int kErrOpen = 5;
constexpr int kErrRead = 7;
constexpr int kErrVersion = 10;
constexpr int kErrMemory = 14;
constexpr int kErrUnexpected = 16;

bool Fail(OwnerWindow owner, int code, int line) {
    CLSError(code, kModule, line).Show(owner);
    return false;
}

bool CanExtract(const ArchiveFunctionTable& table) {
    return table.openArchive && table.closeArchive && table.findFirst && table.getOriginalSize &&
           table.extractMem;
}

} // namespace

CLSTString QuoteSpaces(const CLSTString& text) {
    if (text.Find(' ') < 0)
        return text;
    CLSTString quoted("\"");
    quoted += text;
    quoted += '"';
    return quoted;
}

bool ExtractArchiveMember(OwnerWindow owner, const CLSTString& path, ArchiveMemberImage& image) {
    image = ArchiveMemberImage();
    const int split = path.Find('>');
    if (split < 0)
        return Fail(owner, kErrUnexpected, __LINE__);
    const CLSTString archivePath = path.Mid(0, split);
    const CLSTString memberName = path.Mid(split + 1);

    ArchiveFunctionTable table;
    if (!LoadArchiveLibrary(owner, archivePath, table))
        return Fail(owner, kErrVersion, __LINE__);
    const CLSTString quotedArchive = QuoteSpaces(archivePath);
    const CLSTString quotedMember = QuoteSpaces(memberName);
    if (!CanExtract(table))
        return Fail(owner, kErrVersion, __LINE__);

    const ArchiveHandle archive = table.openArchive(owner, quotedArchive.Text(), kArchiveOpenMode);
    if (!archive)
        return Fail(owner, kErrOpen, __LINE__);
    table.findFirst(archive, quotedMember.Text(), nullptr);
    const std::int32_t size = table.getOriginalSize(archive);
    table.closeArchive(archive);
    if (size < 0)
        return Fail(owner, kErrRead, __LINE__);
    if (size > kMaxArchiveMemberSize)
        return Fail(owner, kErrMemory, __LINE__);

    const std::uint32_t capacity = static_cast<std::uint32_t>(size) + kArchiveMemberSpareBytes;
    ArchiveMemberImage extracted;
    extracted.data.reset(static_cast<unsigned char*>(std::calloc(capacity, 1)));
    if (!extracted.data)
        return Fail(owner, kErrMemory, __LINE__);

    CLSTString command = quotedArchive;
    command += ' ';
    command += quotedMember;
    std::uint32_t written = 0;
    if (table.extractMem(owner, command.Text(), extracted.data.get(), capacity, nullptr, nullptr,
                         &written) != 0)
        return Fail(owner, kErrRead, __LINE__);
    // More data than the header promised would eat the zero bytes the loader counts on.
    if (written > static_cast<std::uint32_t>(size))
        return Fail(owner, kErrRead, __LINE__);
    extracted.length = written;
    image = std::move(extracted);
    return true;
}
