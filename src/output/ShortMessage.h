#pragma once

#include <cstddef>
#include <cstdint>

// Helpers over the bytes of one short MIDI message.

// Number of bytes a message with this status byte has (1..3); 0 for a data byte, which
// cannot start a message.
std::size_t ShortMessageLength(std::uint8_t status) noexcept;

inline bool IsNoteOn(std::uint8_t status, std::uint8_t velocity) noexcept {
    return (status & 0xF0) == 0x90 && velocity != 0;
}

// A note-off, or a note-on with velocity 0, which means the same.
inline bool IsNoteOff(std::uint8_t status, std::uint8_t velocity) noexcept {
    return (status & 0xF0) == 0x80 || ((status & 0xF0) == 0x90 && velocity == 0);
}
