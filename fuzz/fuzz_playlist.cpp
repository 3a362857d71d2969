// Reads arbitrary bytes as a playlist file. Lines name paths of this machine, so the file is
// read from an empty folder of its own: relative lines resolve to nothing there.
#include "FuzzInputFile.h"
#include "core/CLSError.h"
#include "playlist/CLSPlayList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzInputFile input("list.m3u");
    static const CLSError::Reporter quiet = CLSError::SetReporter([](const CLSError::Report&) {});
    const char* path = input.Write(data, size);
    CLSPlayList playList;
    try {
        playList.Add(path, false);
    } catch (const CLSError&) {
        // a read error is reported by the caller; nothing else may escape
    }
    std::size_t bytes = 0;
    for (unsigned i = 0; i < playList.Count(); ++i)
        bytes += playList.GetPath(i).Length();
    return bytes == static_cast<std::size_t>(-1);
}
