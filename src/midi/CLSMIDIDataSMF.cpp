// Reading a Standard MIDI File image: header and chunks, events, the merge of the tracks and
// the spectrum rows. Every read is checked against the chunk it belongs to.
#include "midi/CLSMIDIData.h"

#include "midi/CLSMIDIDataLoadState.h"
#include "platform/ShortMessage.h"

#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t kHeaderSize = 14;
constexpr std::size_t kMinimumFileSize = 28;
constexpr unsigned kKeysPerTrack = 2048; // 16 channels x 128 programs

std::uint32_t ReadBE32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

unsigned ReadBE16(const std::uint8_t* p) {
    return (p[0] << 8) | p[1];
}

// A variable-length number of at most 4 bytes inside [pos, end); false when it is longer or
// runs past the end.
bool ReadNumber(const std::uint8_t* data, std::size_t& pos, std::size_t end, std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
        if (pos >= end)
            return false;
        const std::uint8_t byte = data[pos++];
        value = (value << 7) | (byte & 0x7F);
        if (!(byte & 0x80))
            return true;
    }
    return false;
}

// One event as read from a track, before it becomes a list event.
struct RawEvent {
    std::uint8_t status = 0;
    std::uint8_t metaType = 0;
    std::uint8_t data[4] = {};
    std::uint32_t tempo = 0;
    std::size_t blockPos = 0;
    std::size_t blockLength = 0;
    int blockPrefix = -1;
};

// Bytes taken by a message with a fixed layout, counting the status; 0 when the status is
// undefined or carries a length of its own.
unsigned FixedSize(std::uint8_t status) {
    switch (status) {
    case 0xF0:
    case 0xF7:
    case 0xFF:
        return 0;
    case 0xF4:
    case 0xF5:
    case 0xF9:
    case 0xFD:
        return 0;
    default:
        return static_cast<unsigned>(ShortMessageLength(status));
    }
}

// Meta types read with their standard length, whatever the length byte says.
unsigned FixedMetaSize(std::uint8_t type) {
    switch (type) {
    case 0x00:
    case 0x59:
        return 5;
    case 0x20:
        return 4;
    case 0x2F:
        return 3;
    case 0x51:
        return 6;
    case 0x58:
        return 7;
    default:
        return 0;
    }
}

bool ReadVariableBlock(const std::uint8_t* data, std::size_t pos, std::size_t end,
                       std::size_t& cursor, RawEvent& event) {
    std::uint32_t length = 0;
    if (!ReadNumber(data, pos, end, length) || length > end - pos)
        return false;
    event.blockPos = pos;
    event.blockLength = length;
    cursor = pos + length;
    return true;
}

// Reads the event at the track's cursor; false when the track cannot be read on (the event
// runs past its chunk or its status is undefined).
bool ReadRawEvent(const std::uint8_t* data, CLSMIDIData::CLSSMFTrack& track, RawEvent& event) {
    std::size_t cursor = track.cursor;
    const std::size_t end = track.end;
    if (cursor >= end)
        return false;
    // With running status the data start at the cursor; `pos` is where the status would be.
    std::size_t pos = cursor;
    if (data[cursor] & 0x80)
        track.runningStatus = data[cursor];
    else
        pos = cursor - 1;
    const std::uint8_t status = track.runningStatus;
    event = RawEvent{};
    event.status = status;

    if (status == 0xF0 || status == 0xF7) {
        event.blockPrefix = status == 0xF0 ? 0xF0 : -1;
        if (!ReadVariableBlock(data, pos + 1, end, track.cursor, event))
            return false;
        return true;
    }
    if (status == 0xFF) {
        if (pos + 2 > end)
            return false;
        event.metaType = data[pos + 1];
        if (event.metaType == 0x2F)
            return false; // an End of Track reached through running status ends the track too
        const unsigned size = FixedMetaSize(event.metaType);
        if (size == 0)
            return ReadVariableBlock(data, pos + 2, end, track.cursor, event);
        if (pos + size > end)
            return false;
        if (event.metaType == 0x51)
            event.tempo = (data[pos + 3] << 16) | (data[pos + 4] << 8) | data[pos + 5];
        else
            std::memcpy(event.data, data + pos + 3, size - 3);
        track.cursor = pos + size;
        return true;
    }
    const unsigned size = FixedSize(status);
    if (size == 0 || pos + size > end)
        return false;
    for (unsigned i = 1; i < size; ++i)
        event.data[i - 1] = data[pos + i];
    track.cursor = pos + size;
    if ((status & 0xF0) == 0x90 && event.data[1] == 0) {
        event.status = 0x80 | (status & 0x0F); // note-on at velocity 0 is a note-off
        event.data[1] = 64;
    }
    return true;
}

// Reads the delta in front of the track's next event, or ends the track at its End of Track,
// at the end of its chunk, or at a number it cannot read.
void ReadPendingDelta(const std::uint8_t* data, CLSMIDIData::CLSSMFTrack& track) {
    std::uint32_t delta = 0;
    if (track.cursor >= track.end || !ReadNumber(data, track.cursor, track.end, delta)) {
        track.exhausted = true;
        return;
    }
    track.pendingDelta = delta;
    track.nextTime += delta;
    if (track.cursor + 2 <= track.end && data[track.cursor] == 0xFF &&
        data[track.cursor + 1] == 0x2F)
        track.exhausted = true;
}

bool IsNote(std::uint8_t status) {
    return status >= 0x80 && status <= 0x9F;
}

unsigned RowKey(int mode, unsigned track, std::uint8_t status, const std::uint8_t* programs) {
    const unsigned channel = status & 0x0F;
    const unsigned program = programs[channel];
    switch (mode) {
    case 1:
        return program;
    case 2:
        return channel;
    default:
        return track * kKeysPerTrack + channel * 128 + program;
    }
}

// Orders the tracks that are not exhausted by the time of their next event, the earlier
// track first on ties; the front is the track to read next.
class TrackHeap {
public:
    TrackHeap(CLSMIDIData::CLSSMFTrack* tracks, unsigned count) : m_tracks(tracks) {
        for (unsigned i = 0; i < count; ++i) {
            if (!tracks[i].exhausted)
                m_heap.push_back(i); // ascending index, all at their first time: sift below
        }
        for (unsigned i = static_cast<unsigned>(m_heap.size()) / 2; i-- > 0;)
            SiftDown(i);
    }

    bool Empty() const noexcept { return m_heap.empty(); }
    unsigned Front() const noexcept { return m_heap.front(); }

    // The front track has moved on (or ended): put it where it now belongs.
    void Update() {
        if (m_tracks[m_heap.front()].exhausted) {
            m_heap.front() = m_heap.back();
            m_heap.pop_back();
            if (m_heap.empty())
                return;
        }
        SiftDown(0);
    }

private:
    bool Before(unsigned a, unsigned b) const noexcept {
        const std::uint64_t ta = m_tracks[a].nextTime;
        const std::uint64_t tb = m_tracks[b].nextTime;
        return ta < tb || (ta == tb && a < b);
    }

    void SiftDown(std::size_t i) {
        const std::size_t n = m_heap.size();
        for (;;) {
            std::size_t best = i;
            const std::size_t left = 2 * i + 1;
            if (left < n && Before(m_heap[left], m_heap[best]))
                best = left;
            if (left + 1 < n && Before(m_heap[left + 1], m_heap[best]))
                best = left + 1;
            if (best == i)
                return;
            std::swap(m_heap[i], m_heap[best]);
            i = best;
        }
    }

    CLSMIDIData::CLSSMFTrack* m_tracks;
    std::vector<unsigned> m_heap;
};

// Merges the tracks by time (ties: the earlier track, which so keeps priority while its
// deltas are 0) and hands each event with its delta to `onEvent`, before the event's own
// program change takes effect on its track.
template <class OnEvent>
void MergeEvents(const std::uint8_t* data, CLSMIDIData::CLSSMFTrack* tracks, unsigned count,
                 OnEvent&& onEvent) {
    std::uint64_t now = 0;
    TrackHeap heap(tracks, count);
    RawEvent event;
    while (!heap.Empty()) {
        CLSMIDIData::CLSSMFTrack& track = tracks[heap.Front()];
        if (ReadRawEvent(data, track, event)) {
            const auto delta = static_cast<std::uint32_t>(track.nextTime - now);
            now = track.nextTime;
            onEvent(track, event, delta);
            if ((event.status & 0xF0) == 0xC0)
                track.programs[event.status & 0x0F] = event.data[0];
            ReadPendingDelta(data, track);
        } else {
            track.exhausted = true;
        }
        heap.Update();
    }
}

} // namespace

bool CLSMIDIData::CollectChunks(const std::uint8_t* data, std::size_t size,
                                CLSSMFTrackArray& tracks) {
    if (size < kMinimumFileSize || std::memcmp(data, "MThd", 4) != 0 || ReadBE32(data + 4) != 6)
        return false;
    m_format = ReadBE16(data + 8);
    if (m_format > 1)
        return false;
    const unsigned division = ReadBE16(data + 12);
    m_resolution = static_cast<int>(division);
    // Time-code division is not supported; 0 ticks per quarter note would divide by zero.
    if ((division & 0x8000) || division == 0)
        return false;
    std::uint64_t declared = ReadBE16(data + 10);
    const bool singleTrack = m_format == 0 && declared == 1;

    std::uint64_t offset = kHeaderSize;
    for (std::uint64_t i = 0; i < declared; ++i) {
        if (offset + 8 > size)
            break; // chunks missing at the end: read what is there
        const std::uint8_t* header = data + offset;
        if (std::memcmp(header, "MTrk", 4) != 0 && std::memcmp(header, "XFIH", 4) != 0 &&
            std::memcmp(header, "XFKM", 4) != 0)
            return false;
        const std::uint32_t length = ReadBE32(header + 4);
        CLSSMFTrack track;
        track.start = static_cast<std::size_t>(offset + 8);
        track.end = static_cast<std::size_t>(std::min<std::uint64_t>(offset + 8 + length, size));
        track.cursor = track.start;
        track.number = static_cast<std::uint16_t>(i);
        ReadPendingDelta(data, track);
        tracks.push_back(track);
        offset += 8 + static_cast<std::uint64_t>(length);
        // A format-0 file's extra chunks (the XF information chunks) are read as tracks too.
        if (singleTrack && offset + 8 < size) {
            ++declared;
            m_xf = 1;
        }
    }
    return true;
}

void CLSMIDIData::BuildRows(const std::uint8_t* data, const CLSSMFTrackArray& tracks,
                            druvel::vector<std::uint16_t>& rowTable, std::size_t& eventCount) {
    const int mode = s_spectrumType;
    const unsigned keys = (mode == 1 || mode == 2) ? kKeysPerTrack : tracks.size() * kKeysPerTrack;
    std::vector<std::uint8_t> marked(keys, 0);
    // Which keys occur does not depend on the merge order, so each track is read on its own.
    std::size_t count = 0;
    RawEvent event;
    for (CLSSMFTrack track : tracks) {
        while (!track.exhausted && ReadRawEvent(data, track, event)) {
            ++count;
            if (IsNote(event.status))
                marked[RowKey(mode, track.number, event.status, track.programs)] = 1;
            else if ((event.status & 0xF0) == 0xC0)
                track.programs[event.status & 0x0F] = event.data[0];
            ReadPendingDelta(data, track);
        }
    }
    eventCount = count;

    m_rows.clear();
    rowTable.clear();
    rowTable.insert(rowTable.begin(), keys, 0);
    std::uint16_t* table = rowTable.begin();
    for (unsigned key = 0; key < keys; ++key) {
        if (!marked[key])
            continue;
        MIDITRACKINFO row;
        if (mode == 2)
            row.label = static_cast<int>(key) + MIDITRACKINFO::kChannelBase;
        else if (mode != 1 && (key / 128) % 16 == 9)
            row.label = MIDITRACKINFO::kPercussion;
        else
            row.label = static_cast<int>(key % 128);
        table[key] = static_cast<std::uint16_t>(m_rows.size());
        m_rows.push_back(row);
    }
}

void CLSMIDIData::MergeTracks(const std::uint8_t* data, CLSSMFTrackArray& tracks,
                              const druvel::vector<std::uint16_t>& rowTable, LoadState& state) {
    const int mode = s_spectrumType;
    const std::uint16_t* table = rowTable.begin();
    MergeEvents(data, tracks.begin(), tracks.size(),
                [&](const CLSSMFTrack& track, const RawEvent& raw, std::uint32_t delta) {
                    CLSMIDIEvent event;
                    event.status = raw.status;
                    event.metaType = raw.metaType;
                    event.row = IsNote(raw.status)
                                    ? table[RowKey(mode, track.number, raw.status, track.programs)]
                                    : track.number;
                    if (raw.status == 0xFF && raw.metaType == 0x51)
                        event.SetTempo(raw.tempo);
                    else if (event.HasBlock())
                        event.SetBlock(data + raw.blockPos, raw.blockLength, raw.blockPrefix);
                    else
                        for (int i = 0; i < 4; ++i)
                            event.SetData(i, raw.data[i]);
                    HandleMergedEvent(std::move(event), delta, state);
                });
}

void CLSMIDIData::HandleMergedEvent(CLSMIDIEvent&& event, std::uint32_t delta, LoadState& state) {
    state.tick += delta;
    state.lengthMicroseconds +=
        (static_cast<std::uint64_t>(delta) * state.tempo + m_resolution / 2) / m_resolution;
    if (event.status == 0xFF) {
        switch (event.metaType) {
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
            if (event.metaType == 0x05)
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
    if ((event.status & 0xF0) == 0x90 && event.Data2() > m_maxVelocity)
        m_maxVelocity = event.Data2();
    state.skippedWordTime += delta;
    event.delta = static_cast<int>(delta + state.skippedEventTime);
    state.skippedEventTime = 0;
    m_events.push_back(std::move(event));
}
