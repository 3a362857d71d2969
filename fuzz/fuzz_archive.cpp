// Lists and extracts arbitrary bytes as a ZIP and as an LZH archive, through the same calls
// the playlist's chooser and the song loader make.
#include "FuzzInputFile.h"
#include "archive/BuiltinArchiveLibrary.h"
#include "core/ArchiveLibrary.h"
#include "core/CLSError.h"
#include "midi/ArchiveMemberImage.h"
#include "playlist/ArchiveListing.h"

namespace {

std::size_t ListAndExtract(const char* path) {
    CLSTStringArray names;
    if (!ListArchiveMembers(nullptr, path, "*", names))
        return 0;
    std::size_t bytes = 0;
    // The first members are enough: each extraction reads the archive again.
    for (unsigned i = 0; i < names.size() && i < 4; ++i) {
        CLSTString member(path);
        member += '>';
        member += names[i];
        ArchiveMemberImage image;
        if (ExtractArchiveMember(nullptr, member, image))
            bytes += image.length;
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzInputFile zip("input.zip");
    static FuzzInputFile lzh("input.lzh");
    static const CLSError::Reporter quiet = CLSError::SetReporter([](const CLSError::Report&) {});
    static const ArchiveLibraryLoader builtin = SetArchiveLibraryLoader(LoadBuiltinArchiveLibrary);
    std::size_t bytes = ListAndExtract(zip.Write(data, size));
    bytes += ListAndExtract(lzh.Write(data, size));
    return bytes == static_cast<std::size_t>(-1);
}
