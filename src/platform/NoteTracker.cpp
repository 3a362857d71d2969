#include "platform/NoteTracker.h"

#include "platform/ShortMessage.h"

void NoteTracker::Track(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) noexcept {
    if (data1 > 127)
        return;
    std::uint8_t& count = m_counts[Index(status & 0x0F, data1)];
    if (IsNoteOn(status, data2)) {
        // Past 255 starts of one key a song is broken anyway; one note-off per count still
        // ends it on every instrument we know.
        if (count < 255) {
            ++count;
            ++m_sounding;
        }
    } else if (IsNoteOff(status, data2) && count > 0) {
        --count;
        --m_sounding;
    }
}

int NoteTracker::Count(int channel, int note) const noexcept {
    if (channel < 0 || channel > 15 || note < 0 || note > 127)
        return 0;
    return m_counts[Index(channel, note)];
}
