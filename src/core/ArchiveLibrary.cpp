#include "core/ArchiveLibrary.h"

#include "core/PathText.h"

#include <cstring>
#include <string>

namespace {

constexpr const char* kModule = "COMMON";
constexpr int kErrLhaLibrary = 2;
constexpr int kErrZipLibrary = 3;
constexpr int kErrUnsupported = 12;

struct LibraryKind {
    const char* extension;
    const char* fileName;
    const char* prefix;
    int loadError;
};

constexpr LibraryKind kKinds[] = {
    {".lzh", "UNLHA32.DLL", "Unlha", kErrLhaLibrary},
    {".zip", "UNZIP32.DLL", "UnZip", kErrZipLibrary},
};

const LibraryKind* KindOf(const char* path) noexcept {
    const char* extension = FindExtension(path);
    for (const LibraryKind& kind : kKinds) {
        if (EqualsNoCase(extension, kind.extension))
            return &kind;
    }
    return nullptr;
}

std::unique_ptr<ArchiveLibrary> NoLibrary(const char*) {
    return nullptr;
}

ArchiveLibraryLoader& CurrentLoader() {
    static ArchiveLibraryLoader loader = NoLibrary;
    return loader;
}

template <class Function>
Function Lookup(const ArchiveLibrary& library, const char* prefix, const char* name) {
    const std::string full = std::string(prefix) + name;
    return reinterpret_cast<Function>(library.findExport(full.c_str()));
}

template <class Function>
void LookupIfOffered(const ArchiveLibrary& library, ArchiveQueryFunctionList query,
                     const char* prefix, int index, const char* name, Function& entry) {
    if (query(index))
        entry = Lookup<Function>(library, prefix, name);
}

} // namespace

ArchiveLibraryLoader SetArchiveLibraryLoader(ArchiveLibraryLoader loader) {
    ArchiveLibraryLoader previous = std::move(CurrentLoader());
    CurrentLoader() = loader ? std::move(loader) : ArchiveLibraryLoader(NoLibrary);
    return previous;
}

bool IsArchivePath(const char* path) noexcept {
    static const char* const kArchiveExtensions[] = {".zip", ".lzh"};
    return std::strchr(path, '>') != nullptr || HasExtension(path, kArchiveExtensions, 2);
}

bool LoadArchiveLibrary(OwnerWindow owner, const CLSTString& archivePath,
                        ArchiveFunctionTable& table) {
    const LibraryKind* kind = KindOf(archivePath.Text());
    if (!kind) {
        CLSError(kErrUnsupported, kModule, __LINE__).Show(owner);
        return false;
    }
    std::unique_ptr<ArchiveLibrary> library = CurrentLoader()(kind->fileName);
    if (!library || !library->findExport) {
        CLSError(kind->loadError, kModule, __LINE__).Show(owner);
        return false;
    }
    table.Clear();
    const char* prefix = kind->prefix;
    const auto query = Lookup<ArchiveQueryFunctionList>(*library, prefix, "QueryFunctionList");
    if (!query) {
        CLSError(kErrUnsupported, kModule, __LINE__).Show(owner);
        return false;
    }
    LookupIfOffered(*library, query, prefix, kArcOpenArchive, "OpenArchive", table.openArchive);
    LookupIfOffered(*library, query, prefix, kArcCloseArchive, "CloseArchive", table.closeArchive);
    LookupIfOffered(*library, query, prefix, kArcFindFirst, "FindFirst", table.findFirst);
    LookupIfOffered(*library, query, prefix, kArcFindNext, "FindNext", table.findNext);
    LookupIfOffered(*library, query, prefix, kArcGetFileName, "GetFileName", table.getFileName);
    LookupIfOffered(*library, query, prefix, kArcGetArcOriginalSize, "GetArcOriginalSize",
                    table.getOriginalSize);
    table.extractMem = Lookup<ArchiveExtractMem>(*library, prefix, "ExtractMem");
    table.library = std::move(library);
    return true;
}
