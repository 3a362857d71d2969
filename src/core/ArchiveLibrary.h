#pragma once

#include "core/CLSError.h"
#include "core/CLSTString.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

// Access to the archive libraries (one for LHA, one for ZIP) through a table of functions that
// is filled afresh for every task and released when the task ends.

// Filled by a library's find functions. Only the name is read by the program; it sits at byte
// offset 26 as in the libraries' own record.
struct ArchiveMemberRecord {
    std::uint32_t originalSize;
    std::uint32_t compressedSize;
    std::uint32_t crc;
    std::uint32_t flags;
    std::uint32_t osType;
    std::uint16_t ratio;
    std::uint16_t date;
    std::uint16_t time;
    char fileName[513];
    char reserved[3];
    char attribute[8];
    char method[8];
};
static_assert(offsetof(ArchiveMemberRecord, fileName) == 26);

using ArchiveHandle = void*;
using ArchiveProc = void (*)();

// The calling conventions of the library functions as the call sites use them.
using ArchiveQueryFunctionList = int (*)(int index);
using ArchiveOpen = ArchiveHandle (*)(OwnerWindow owner, const char* path, std::uint32_t mode);
using ArchiveClose = int (*)(ArchiveHandle archive);
using ArchiveFindFirst = int (*)(ArchiveHandle archive, const char* wildcard,
                                 ArchiveMemberRecord* record);
using ArchiveFindNext = int (*)(ArchiveHandle archive, ArchiveMemberRecord* record);
using ArchiveGetFileName = int (*)(ArchiveHandle archive, char* buffer, int size);
using ArchiveGetOriginalSize = std::int32_t (*)(ArchiveHandle archive);
using ArchiveExtractMem = int (*)(OwnerWindow owner, const char* command, unsigned char* buffer,
                                  std::uint32_t size, void* time, void* attributes,
                                  std::uint32_t* written);

// Function-list indices asked of a library before a function is looked up.
enum ArchiveFunctionIndex {
    kArcOpenArchive = 23,
    kArcCloseArchive = 24,
    kArcFindFirst = 25,
    kArcFindNext = 26,
    kArcGetArcOriginalSize = 42,
    kArcGetFileName = 57,
};

constexpr std::uint32_t kArchiveOpenMode = 8;
constexpr int kArchiveNameBufferSize = 513;

// A library loaded for one task: its exports found by name. Releasing it unloads the library.
struct ArchiveLibrary {
    std::function<ArchiveProc(const char* name)> findExport;
};

struct ArchiveFunctionTable {
    std::unique_ptr<ArchiveLibrary> library;
    ArchiveOpen openArchive = nullptr;
    ArchiveClose closeArchive = nullptr;
    ArchiveFindFirst findFirst = nullptr;
    ArchiveFindNext findNext = nullptr;
    ArchiveGetFileName getFileName = nullptr;
    ArchiveGetOriginalSize getOriginalSize = nullptr;
    ArchiveExtractMem extractMem = nullptr;

    // Unloads the library and empties every entry.
    void Clear() { *this = ArchiveFunctionTable(); }
};

// Loads the library that serves the archive's extension and fills the table. Shows code 2 or 3
// (the library cannot be loaded) or 12 (unknown kind, no function list), owned by owner.
bool LoadArchiveLibrary(OwnerWindow owner, const CLSTString& archivePath,
                        ArchiveFunctionTable& table);

// True when the path names an archive member (contains ">") or an archive (".zip", ".lzh").
bool IsArchivePath(const char* path) noexcept;

// How a library is loaded by its file name; null when it cannot be. Until the program installs
// its reader at start-up no library loads, as on a machine without them; tests install their
// own to simulate older libraries. An empty loader restores that state.
using ArchiveLibraryLoader = std::function<std::unique_ptr<ArchiveLibrary>(const char* fileName)>;
ArchiveLibraryLoader SetArchiveLibraryLoader(ArchiveLibraryLoader loader);
