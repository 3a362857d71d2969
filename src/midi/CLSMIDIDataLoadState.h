#pragma once

#include "midi/CLSKaraokeTexts.h"
#include "midi/CLSMIDIData.h"

#include <array>

// What one load carries from event to event while the tracks are merged.
struct CLSMIDIData::LoadState {
    std::uint64_t lengthMicroseconds = 0; // 64 bits: 32 overflow after about 71 minutes
    std::uint32_t tempo = kDefaultTempo;  // tempo in force
    std::uint32_t skippedEventTime = 0;   // ticks since the last event put in the event list
    std::uint32_t skippedWordTime = 0;    // ticks since the last record put in the word list
    int lyricPart = 0;
    CLSTString pendingLyric;
    std::uint64_t tick = 0;               // of the event being handled, from the start of the song
    CLSKaraokeTexts karaoke;              // lyric texts of songs that are not XF songs
    std::array<std::uint8_t, 16> banks{}; // controller 0 in force on each channel
};
