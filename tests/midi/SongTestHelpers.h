#pragma once

#include "fixtures/SmfBuilder.h"
#include "midi/CLSMIDIData.h"

#include <string>
#include <vector>

// Loads SMF bytes into a song and lets a test look at the lists by index.
inline bool LoadBytes(CLSMIDIData& song, const std::string& bytes) {
    return song.LoadFromMemory(bytes.data(), bytes.size(), "test.mid");
}

inline std::vector<const CLSMIDIData::CLSMIDIEvent*> Events(const CLSMIDIData& song) {
    std::vector<const CLSMIDIData::CLSMIDIEvent*> out;
    for (const auto& e : song.GetEvents())
        out.push_back(&e);
    return out;
}

inline std::vector<CLSMIDIWordInfo> Words(const CLSMIDIData& song) {
    return {song.GetWords().begin(), song.GetWords().end()};
}
