#include "archive/BuiltinArchiveLibrary.h"

#include "archive/ArchiveWildcard.h"
#include "archive/CLSArchiveReader.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

namespace {

// Results of the find and extract functions.
constexpr int kOk = 0;
constexpr int kEnd = -1;
constexpr int kError = 1;

// Open archives by handle, so a stale or foreign handle is refused instead of followed.
struct OpenArchives {
    std::mutex mutex;
    std::map<ArchiveHandle, std::unique_ptr<CLSArchiveReader>> readers;
};

OpenArchives& Archives() {
    static OpenArchives archives;
    return archives;
}

CLSArchiveReader* Reader(ArchiveHandle handle) {
    std::lock_guard lock(Archives().mutex);
    const auto found = Archives().readers.find(handle);
    return found == Archives().readers.end() ? nullptr : found->second.get();
}

void FillRecord(const CLSArchiveReader::Member& member, ArchiveMemberRecord* record) {
    if (!record)
        return;
    *record = ArchiveMemberRecord{};
    record->originalSize = static_cast<std::uint32_t>(std::max<std::int64_t>(member.size, 0));
    const std::size_t n = std::min(member.name.size(), sizeof record->fileName - 1);
    std::memcpy(record->fileName, member.name.data(), n);
}

// The path as given, or its inside when it is enclosed in double quotes.
std::string Unquoted(const char* path) {
    const std::size_t n = std::strlen(path);
    if (n >= 2 && path[0] == '"' && path[n - 1] == '"')
        return std::string(path + 1, n - 2);
    return path;
}

int QueryFunctionList(int index) {
    switch (index) {
    case kArcOpenArchive:
    case kArcCloseArchive:
    case kArcFindFirst:
    case kArcFindNext:
    case kArcGetArcOriginalSize:
    case kArcGetFileName:
        return 1;
    default:
        return 0;
    }
}

template <ArchiveKind K> ArchiveHandle OpenArchive(OwnerWindow, const char* path, std::uint32_t) {
    if (!path)
        return nullptr;
    std::unique_ptr<CLSArchiveReader> reader = CLSArchiveReader::Open(K, Unquoted(path).c_str());
    if (!reader)
        return nullptr;
    ArchiveHandle handle = reader.get();
    std::lock_guard lock(Archives().mutex);
    Archives().readers.emplace(handle, std::move(reader));
    return handle;
}

int CloseArchive(ArchiveHandle handle) {
    std::lock_guard lock(Archives().mutex);
    return Archives().readers.erase(handle) ? kOk : kError;
}

int FindFirst(ArchiveHandle handle, const char* wildcard, ArchiveMemberRecord* record) {
    CLSArchiveReader* reader = Reader(handle);
    if (!reader)
        return kError;
    if (!reader->FindFirst(wildcard))
        return kEnd;
    FillRecord(*reader->Current(), record);
    return kOk;
}

int FindNext(ArchiveHandle handle, ArchiveMemberRecord* record) {
    CLSArchiveReader* reader = Reader(handle);
    if (!reader)
        return kError;
    if (!reader->FindNext())
        return kEnd;
    FillRecord(*reader->Current(), record);
    return kOk;
}

int GetFileName(ArchiveHandle handle, char* buffer, int size) {
    CLSArchiveReader* reader = Reader(handle);
    if (!reader || !buffer || size <= 0)
        return kError;
    const CLSArchiveReader::Member* member = reader->Current();
    const std::string name = member ? member->name : std::string();
    const std::size_t n = std::min(name.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, name.data(), n);
    buffer[n] = 0;
    return member && n == name.size() ? kOk : kError;
}

std::int32_t GetArcOriginalSize(ArchiveHandle handle) {
    CLSArchiveReader* reader = Reader(handle);
    if (!reader)
        return -1;
    const std::int64_t size = reader->FoundSize();
    // A size beyond 32 bits is reported as the largest one, never as a small wrapped number.
    return static_cast<std::int32_t>(std::min<std::int64_t>(size, INT32_MAX));
}

template <ArchiveKind K>
int ExtractMem(OwnerWindow, const char* command, unsigned char* buffer, std::uint32_t size, void*,
               void*, std::uint32_t* written) {
    if (written)
        *written = 0;
    const std::vector<std::string> words = SplitArchiveWords(command ? command : "");
    if (words.size() < 2 || !buffer)
        return kError;
    const auto result =
        CLSArchiveReader::Extract(K, words[0].c_str(), words[1].c_str(), buffer, size, written);
    return result == CLSArchiveReader::kExtracted ? kOk : kError + result;
}

template <class F> ArchiveProc Proc(F function) {
    return reinterpret_cast<ArchiveProc>(function);
}

template <ArchiveKind K> ArchiveProc FindExport(const char* prefix, const char* name) {
    const std::size_t prefixLength = std::strlen(prefix);
    if (std::strncmp(name, prefix, prefixLength) != 0)
        return nullptr;
    const std::string rest = name + prefixLength;
    if (rest == "QueryFunctionList")
        return Proc(&QueryFunctionList);
    if (rest == "OpenArchive")
        return Proc(&OpenArchive<K>);
    if (rest == "CloseArchive")
        return Proc(&CloseArchive);
    if (rest == "FindFirst")
        return Proc(&FindFirst);
    if (rest == "FindNext")
        return Proc(&FindNext);
    if (rest == "GetFileName")
        return Proc(&GetFileName);
    if (rest == "GetArcOriginalSize")
        return Proc(&GetArcOriginalSize);
    if (rest == "ExtractMem")
        return Proc(&ExtractMem<K>);
    return nullptr;
}

} // namespace

std::unique_ptr<ArchiveLibrary> LoadBuiltinArchiveLibrary(const char* fileName) {
    auto library = std::make_unique<ArchiveLibrary>();
    if (std::strcmp(fileName, "UNLHA32.DLL") == 0)
        library->findExport = [](const char* name) {
            return FindExport<ArchiveKind::Lha>("Unlha", name);
        };
    else if (std::strcmp(fileName, "UNZIP32.DLL") == 0)
        library->findExport = [](const char* name) {
            return FindExport<ArchiveKind::Zip>("UnZip", name);
        };
    else
        return nullptr;
    return library;
}
