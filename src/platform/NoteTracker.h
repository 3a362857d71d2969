#pragma once

#include <array>
#include <cstdint>

// Which notes an output has started and not yet ended, so that it can end them itself when it
// is reset or closed. A note started twice needs two note-offs on some instruments, so each
// note keeps a count.
class NoteTracker {
public:
    // Looks at one short message; only note-ons and note-offs change anything.
    void Track(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) noexcept;

    int Count(int channel, int note) const noexcept;
    bool AnySounding() const noexcept { return m_sounding > 0; }

    // Calls fn(channel, note) once per start not yet ended, channel by channel, then forgets
    // them all.
    template <class Fn> void Release(Fn&& fn) {
        for (int channel = 0; channel < 16 && m_sounding > 0; ++channel) {
            for (int note = 0; note < 128; ++note) {
                std::uint8_t& count = m_counts[Index(channel, note)];
                for (; count > 0; --count, --m_sounding)
                    fn(channel, note);
            }
        }
    }

private:
    static constexpr int Index(int channel, int note) noexcept { return channel * 128 + note; }

    std::array<std::uint8_t, 16 * 128> m_counts{};
    int m_sounding = 0;
};
