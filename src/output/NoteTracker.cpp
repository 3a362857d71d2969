#include "output/NoteTracker.h"

#include "output/ShortMessage.h"

void NoteTracker::Track(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) noexcept {
    if (data1 > 127)
        return;
    if ((status & 0xF0) == 0xB0) {
        TrackController(status & 0x0F, data1, data2);
        return;
    }
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

void NoteTracker::TrackController(int channel, std::uint8_t controller,
                                  std::uint8_t value) noexcept {
    std::uint8_t bit = 0;
    if (controller == kSustain)
        bit = kSustainBit;
    else if (controller == kSostenuto)
        bit = kSostenutoBit;
    else if (controller == kResetControllers)
        bit = kSustainBit | kSostenutoBit; // lets both pedals up
    if (bit == 0)
        return;
    // A pedal is down from 64 on.
    if (controller != kResetControllers && value >= 64)
        m_pedals[channel] |= bit;
    else
        m_pedals[channel] &= static_cast<std::uint8_t>(~bit);
}

bool NoteTracker::PedalDown(int channel, std::uint8_t controller) const noexcept {
    if (channel < 0 || channel > 15)
        return false;
    if (controller == kSustain)
        return (m_pedals[channel] & kSustainBit) != 0;
    if (controller == kSostenuto)
        return (m_pedals[channel] & kSostenutoBit) != 0;
    return false;
}
