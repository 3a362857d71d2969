#pragma once

#include <array>
#include <cstdint>

// Which notes an output has started and not yet ended, and which hold pedals are down, so that
// it can end them itself when it is reset or closed. A note started twice needs two note-offs on
// some instruments, so each note keeps a count.
class NoteTracker {
public:
    static constexpr std::uint8_t kSustain = 64;
    static constexpr std::uint8_t kSostenuto = 66;
    static constexpr std::uint8_t kResetControllers = 121;
    static constexpr std::uint8_t kAllNotesOff = 123;

    // Looks at one short message; note-ons, note-offs and the pedal controllers count.
    void Track(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) noexcept;

    int Count(int channel, int note) const noexcept;
    bool AnySounding() const noexcept { return m_sounding > 0; }
    bool PedalDown(int channel, std::uint8_t controller) const noexcept;

    // The messages that silence an instrument, as fn(status, data1, data2): a note-off per
    // start not yet ended, then per channel the release of each pedal left down and All Notes
    // Off. A held pedal keeps notes sounding through All Notes Off, so its release comes first.
    // Everything is forgotten afterwards.
    template <class Fn> void Silence(Fn&& fn) {
        Release([&](int channel, int note) {
            fn(static_cast<std::uint8_t>(0x80 | channel), static_cast<std::uint8_t>(note),
               std::uint8_t{0});
        });
        for (int channel = 0; channel < 16; ++channel) {
            const auto control = static_cast<std::uint8_t>(0xB0 | channel);
            if (m_pedals[channel] & kSustainBit)
                fn(control, kSustain, std::uint8_t{0});
            if (m_pedals[channel] & kSostenutoBit)
                fn(control, kSostenuto, std::uint8_t{0});
            fn(control, kAllNotesOff, std::uint8_t{0});
            m_pedals[channel] = 0;
        }
    }

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
    static constexpr std::uint8_t kSustainBit = 1;
    static constexpr std::uint8_t kSostenutoBit = 2;

    void TrackController(int channel, std::uint8_t controller, std::uint8_t value) noexcept;
    static constexpr int Index(int channel, int note) noexcept { return channel * 128 + note; }

    std::array<std::uint8_t, 16 * 128> m_counts{};
    int m_sounding = 0;
    std::array<std::uint8_t, 16> m_pedals{};
};
