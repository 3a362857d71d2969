// Loads arbitrary bytes as a song: nothing may read outside the input, crash or leak.
#include "midi/CLSMIDIData.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CLSMIDIData song;
    // The first byte picks the instrument mode, so all three row builders are exercised.
    if (size > 0)
        CLSMIDIData::SetSpectrumType(data[0] % 3);
    song.LoadFromMemory(data, size, "fuzz.mid");
    std::size_t blocks = 0;
    for (const auto& event : song.GetEvents())
        blocks += event.BlockLength();
    for (const auto& word : song.GetWords())
        blocks += static_cast<std::size_t>(word.text.Length());
    return blocks == static_cast<std::size_t>(-1);
}
