// Song information and the word list: information texts, tempo, cue-point and lyric records.
#include "midi/CLSMIDIData.h"

#include "midi/CLSMIDIDataLoadState.h"

void CLSMIDIData::OnInformationEvent(const CLSMIDIEvent&, std::uint32_t) {}
void CLSMIDIData::OnTempoEvent(std::uint32_t, std::uint32_t) {}
void CLSMIDIData::OnCuePointEvent(const CLSMIDIEvent&, std::uint32_t, LoadState&) {}
void CLSMIDIData::OnLyricEvent(const CLSMIDIEvent&, std::uint32_t, LoadState&) {}
void CLSMIDIData::CompleteWordList() {}
