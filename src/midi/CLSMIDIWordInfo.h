#pragma once

#include "core/CLSTString.h"
#include "core/vector.h"

// One record of the word list: syllables, page words, cue points, tempo, clear-line and
// title records, timed in ticks since the previous record.
struct CLSMIDIWordInfo {
    enum Kind : int {
        kSyllable = 0,
        kPageWord = 1,
        kCuePoint = 2,
        kTempo = 3,
        kClearLine = 4,
        kTitle = 5,
    };

    struct Point {
        int x = 0;
        int y = 0;
    };

    int time = 0;     // ticks since the previous record
    int duration = 0; // tempo records: the tempo; XF songs: ms to the next record
    int kind = kSyllable;
    int part = 0; // singer part 0, 1 ("&w") or 2 ("&x", and all added records)
    CLSTString text;
    Point startPoint; // filled by the lyrics display in its own copies
    Point endPoint;
    int line = 0; // line inside the page, 0 = bottom line; for clear-line records the line to clear
};

using CLSMIDIWordInfoArray = druvel::vector<CLSMIDIWordInfo>;
