#pragma once

#include <string>

// The texts of the tempo, volume and key labels under the sliders (UTF-8).
class CLSStatusTexts {
public:
    // With the song's tempo u (microseconds per quarter note) known, the effective beats per
    // minute follow in brackets.
    static std::string Tempo(int percent, unsigned microsecondsPerQuarter);
    static std::string Volume(int percent);
    static std::string Key(int semitones);
    // The beats per minute a tempo percentage makes of u, rounded to nearest.
    static long long EffectiveBpm(int percent, unsigned microsecondsPerQuarter);
};
