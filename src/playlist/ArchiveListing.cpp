#include "playlist/ArchiveListing.h"

#include "core/ArchiveLibrary.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr const char* kModule = "PLAYLIST";
constexpr int kErrOpen = 5;
constexpr int kErrVersion = 10;

bool IsFolderName(const char* name) {
    const std::size_t n = std::strlen(name);
    return n > 0 && (name[n - 1] == '/' || name[n - 1] == '\\');
}

// The current member's name: from the library when it offers the function, else from the
// member record the find functions filled.
CLSTString MemberName(const ArchiveFunctionTable& table, ArchiveHandle archive,
                      const ArchiveMemberRecord& record) {
    char name[kArchiveNameBufferSize] = {};
    if (table.getFileName)
        table.getFileName(archive, name, sizeof name);
    else
        std::memcpy(name, record.fileName, sizeof name);
    name[sizeof name - 1] = 0;
    return CLSTString(name);
}

int FoldedCompare(const CLSTString& a, const CLSTString& b) {
    const auto fold = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
    const auto* x = reinterpret_cast<const unsigned char*>(a.Text());
    const auto* y = reinterpret_cast<const unsigned char*>(b.Text());
    for (; *x && fold(*x) == fold(*y); ++x, ++y) {
    }
    if (fold(*x) != fold(*y))
        return fold(*x) - fold(*y);
    return std::strcmp(a.Text(), b.Text());
}

} // namespace

bool ListArchiveMembers(OwnerWindow owner, const CLSTString& archivePath, const char* filter,
                        CLSTStringArray& names) {
    names.clear();
    ArchiveFunctionTable table;
    if (!LoadArchiveLibrary(owner, archivePath, table))
        return false;
    if (!table.openArchive || !table.closeArchive || !table.findFirst || !table.findNext) {
        CLSError(kErrVersion, kModule, __LINE__).Show(owner);
        return false;
    }
    const ArchiveHandle archive = table.openArchive(owner, archivePath.Text(), kArchiveOpenMode);
    if (!archive) {
        CLSError(kErrOpen, kModule, __LINE__).Show(owner);
        return false;
    }
    ArchiveMemberRecord record{};
    for (int found = table.findFirst(archive, filter, &record); found == 0;
         found = table.findNext(archive, &record)) {
        const CLSTString name = MemberName(table, archive, record);
        if (!name.IsEmpty() && !IsFolderName(name.Text()))
            names.push_back(name);
    }
    table.closeArchive(archive);
    return true;
}

void SortMemberNames(CLSTStringArray& names) {
    std::sort(names.begin(), names.end(),
              [](const CLSTString& a, const CLSTString& b) { return FoldedCompare(a, b) < 0; });
}
