#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// Writes small Standard MIDI Files for the playback tests: events are given at absolute ticks
// per track and written in time order with running status off.
class SongBuilder {
public:
    explicit SongBuilder(int resolution = 480) : m_resolution(resolution) {}

    // Selects (creating as needed) the track the next events go to.
    SongBuilder& Track(unsigned index) {
        if (m_tracks.size() <= index)
            m_tracks.resize(index + 1);
        m_current = index;
        return *this;
    }

    SongBuilder& Raw(std::uint32_t tick, std::initializer_list<std::uint8_t> bytes) {
        return Add(tick, std::vector<std::uint8_t>(bytes));
    }
    SongBuilder& NoteOn(std::uint32_t tick, int channel, int note, int velocity) {
        return Raw(tick, {Status(0x90, channel), Byte(note), Byte(velocity)});
    }
    SongBuilder& NoteOff(std::uint32_t tick, int channel, int note) {
        return Raw(tick, {Status(0x80, channel), Byte(note), 64});
    }
    SongBuilder& Program(std::uint32_t tick, int channel, int program) {
        return Raw(tick, {Status(0xC0, channel), Byte(program)});
    }
    SongBuilder& Controller(std::uint32_t tick, int channel, int controller, int value) {
        return Raw(tick, {Status(0xB0, channel), Byte(controller), Byte(value)});
    }
    SongBuilder& Tempo(std::uint32_t tick, std::uint32_t microseconds) {
        return Raw(tick, {0xFF, 0x51, 0x03, Byte(microseconds >> 16), Byte(microseconds >> 8),
                          Byte(microseconds)});
    }
    SongBuilder& Meta(std::uint32_t tick, int type, const std::string& text) {
        std::vector<std::uint8_t> bytes = {0xFF, Byte(type)};
        AppendNumber(bytes, static_cast<std::uint32_t>(text.size()));
        bytes.insert(bytes.end(), text.begin(), text.end());
        return Add(tick, std::move(bytes));
    }
    SongBuilder& Lyric(std::uint32_t tick, const std::string& text) {
        return Meta(tick, 0x05, text);
    }
    // An exclusive message of `size` bytes in all, F0 and F7 included.
    SongBuilder& Exclusive(std::uint32_t tick, std::size_t size) {
        std::vector<std::uint8_t> bytes = {0xF0};
        AppendNumber(bytes, static_cast<std::uint32_t>(size - 1));
        for (std::size_t i = 0; i + 2 < size; ++i)
            bytes.push_back(static_cast<std::uint8_t>(i & 0x7F));
        bytes.push_back(0xF7);
        return Add(tick, std::move(bytes));
    }

    std::vector<std::uint8_t> Bytes() const {
        std::vector<std::uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
        Append16(out, static_cast<unsigned>(m_tracks.size()));
        Append16(out, static_cast<unsigned>(m_resolution));
        for (const TrackEvents& track : m_tracks)
            AppendTrack(out, track);
        return out;
    }

private:
    struct Event {
        std::uint32_t tick;
        std::vector<std::uint8_t> bytes;
    };
    using TrackEvents = std::vector<Event>;

    static std::uint8_t Byte(std::uint32_t value) { return static_cast<std::uint8_t>(value); }
    static std::uint8_t Status(int kind, int channel) { return Byte(kind | (channel & 0x0F)); }

    SongBuilder& Add(std::uint32_t tick, std::vector<std::uint8_t> bytes) {
        if (m_tracks.empty())
            m_tracks.resize(1);
        m_tracks[m_current].push_back({tick, std::move(bytes)});
        return *this;
    }

    static void Append16(std::vector<std::uint8_t>& out, unsigned value) {
        out.push_back(Byte(value >> 8));
        out.push_back(Byte(value));
    }

    static void AppendNumber(std::vector<std::uint8_t>& out, std::uint32_t value) {
        std::uint8_t groups[5];
        int count = 0;
        do {
            groups[count++] = Byte(value & 0x7F);
            value >>= 7;
        } while (value != 0);
        while (count-- > 0)
            out.push_back(Byte(groups[count] | (count > 0 ? 0x80 : 0)));
    }

    static void AppendTrack(std::vector<std::uint8_t>& out, TrackEvents events) {
        std::stable_sort(events.begin(), events.end(),
                         [](const Event& a, const Event& b) { return a.tick < b.tick; });
        std::vector<std::uint8_t> body;
        std::uint32_t last = 0;
        for (const Event& event : events) {
            AppendNumber(body, event.tick - last);
            last = event.tick;
            body.insert(body.end(), event.bytes.begin(), event.bytes.end());
        }
        body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        const auto size = static_cast<std::uint32_t>(body.size());
        out.insert(out.end(), {Byte(size >> 24), Byte(size >> 16), Byte(size >> 8), Byte(size)});
        out.insert(out.end(), body.begin(), body.end());
    }

    int m_resolution;
    std::vector<TrackEvents> m_tracks;
    unsigned m_current = 0;
};
