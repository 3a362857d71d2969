// What loading does with each event the reader hands out in time order: the song length,
// the event list, and the song information and lyrics of the word list.
#include "midi/CLSMIDIData.h"

#include "midi/CLSMIDIDataLoadState.h"

#include <utility>

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
    state.skippedWordTime += delta;
    event.delta = static_cast<int>(delta + state.skippedEventTime);
    state.skippedEventTime = 0;
    m_events.push_back(std::move(event));
}
