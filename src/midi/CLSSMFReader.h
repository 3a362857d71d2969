#pragma once

#include "midi/CLSMIDIData.h"
#include "midi/MIDITRACKINFO.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Reads a Standard MIDI File image: the header and the chunks, the spectrum rows of the notes,
// then the events of every track merged by time. Every read is checked against the chunk it
// belongs to; the image must outlive the reader.
class CLSSMFReader {
public:
    using Event = CLSMIDIData::CLSMIDIEvent;
    using Track = CLSMIDIData::CLSSMFTrack;

    // Rows by instrument mode: 0 per track, channel and program; 1 per program; 2 per channel.
    CLSSMFReader(const std::uint8_t* data, std::size_t size, int spectrumType) noexcept
        : m_data(data), m_size(size), m_mode(spectrumType) {}

    // Checks the header and collects the track chunks. False for what is no Standard MIDI File
    // this reader takes: no "MThd" header of length 6, format 2, a time-code or zero division,
    // or more tracks than the events' 16-bit track number holds.
    bool ReadHeader();
    unsigned Format() const noexcept { return m_format; }
    int Resolution() const noexcept { return m_resolution; }
    // Chunks followed the only track of a format-0 file (the XF information chunks).
    bool IsXF() const noexcept { return m_xf; }
    std::size_t TrackCount() const noexcept { return m_tracks.size(); }

    // The spectrum rows, one per key that occurs, in ascending key order. False when there
    // would be more rows than the events' 16-bit row index holds.
    bool BuildRows(MIDITRACKINFOARRAY& rows);
    // Number of events BuildRows read: the merge hands out at most this many.
    std::size_t EventCount() const noexcept { return m_eventCount; }

    // The next event in time order (ties: the earlier track) and its ticks since the previous
    // one. False when every track is exhausted.
    bool NextEvent(Event& event, std::uint32_t& delta);

private:
    bool CollectChunk(std::uint64_t start, std::uint64_t end);
    std::uint16_t RowOf(const Track& track, std::uint8_t status) const;
    Event MakeEvent(const Track& track) const;
    void StartMerge();
    bool Before(unsigned a, unsigned b) const noexcept;
    void SiftDown(std::size_t i) noexcept;
    void UpdateFront() noexcept;

    struct RawEvent {
        std::uint8_t status = 0;
        std::uint8_t metaType = 0;
        std::uint8_t data[4] = {};
        std::uint32_t tempo = 0;
        std::size_t blockPos = 0;
        std::size_t blockLength = 0;
        int blockPrefix = -1;
    };
    bool ReadRawEvent(Track& track, RawEvent& event) const;
    void ReadPendingDelta(Track& track) const;

    const std::uint8_t* m_data;
    std::size_t m_size;
    int m_mode;
    unsigned m_format = 0;
    int m_resolution = 0;
    bool m_xf = false;
    std::vector<Track> m_tracks;
    std::vector<std::uint32_t> m_rowKeys; // sorted; a note's row is the index of its key
    std::size_t m_eventCount = 0;
    // The merge: tracks not exhausted, ordered by the time of their next event.
    std::vector<unsigned> m_heap;
    bool m_merging = false;
    std::uint64_t m_now = 0;
    RawEvent m_raw;
};
