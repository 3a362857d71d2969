// What loading does with each event the reader hands out in time order: the song length,
// the event list, and the song information and lyrics of the word list.
#include "midi/CLSMIDIData.h"

#include "midi/CLSMIDIDataLoadState.h"

#include <algorithm>
#include <utility>

// Bank selects count once a program change takes them, as a synthesizer reads them.
void CLSMIDIData::NoteProgram(const CLSMIDIEvent& event, LoadState& state) {
    const int channel = event.Status() & 0x0F;
    if ((event.Status() & 0xF0) == 0xB0 && event.Data1() == 0)
        state.banks[channel] = static_cast<std::uint8_t>(event.Data2() & 0x7F);
    if ((event.Status() & 0xF0) != 0xC0)
        return;
    const MidiOutput::Program program{
        state.banks[channel], static_cast<std::uint8_t>(event.Data1() & 0x7F), channel == 9};
    const auto at = std::lower_bound(m_songPrograms.begin(), m_songPrograms.end(), program);
    if (at == m_songPrograms.end() || *at != program)
        m_songPrograms.insert(at, program);
}

void CLSMIDIData::HandleMergedEvent(CLSMIDIEvent&& event, std::uint32_t delta, LoadState& state) {
    state.tick += delta;
    state.lengthMicroseconds +=
        (static_cast<std::uint64_t>(delta) * state.tempo + m_resolution / 2) / m_resolution;
    if (event.Status() == 0xFF) {
        switch (event.MetaType()) {
        case 0x51:
            OnTempoEvent(state.skippedWordTime + delta, event.Tempo());
            state.tempo = event.Tempo();
            event.delta = static_cast<int>(delta + state.skippedEventTime);
            m_events.push_back(std::move(event));
            state.skippedEventTime = 0;
            state.skippedWordTime = 0;
            return;
        case 0x05:
        case 0x07:
            if (event.MetaType() == 0x05)
                OnLyricEvent(event, delta, state);
            else
                OnCuePointEvent(event, delta, state);
            state.skippedEventTime += delta;
            return;
        case 0x01:
        case 0x03:
            OnInformationEvent(event, delta, state);
            state.skippedEventTime += delta;
            state.skippedWordTime += delta;
            return;
        default:
            break;
        }
    }
    if ((event.Status() & 0xF0) == 0x90 && event.Data2() > m_maxVelocity)
        m_maxVelocity = event.Data2();
    NoteProgram(event, state);
    state.skippedWordTime += delta;
    event.delta = static_cast<int>(delta + state.skippedEventTime);
    state.skippedEventTime = 0;
    m_events.push_back(std::move(event));
}
