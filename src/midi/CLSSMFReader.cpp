#include "midi/CLSSMFReader.h"

#include "output/ShortMessage.h"

#include <algorithm>
#include <bitset>
#include <cstring>
#include <utility>

namespace {

constexpr std::size_t kHeaderSize = 14;
constexpr std::size_t kMinimumFileSize = 28;
constexpr unsigned kKeysPerTrack = 2048; // 16 channels x 128 programs
// Events keep their row, or the number of their track, in 16 bits.
constexpr std::size_t kMaxTracks = 0x10000;
constexpr std::size_t kMaxRows = 0x10000;

std::uint32_t ReadBE32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

unsigned ReadBE16(const std::uint8_t* p) {
    return (p[0] << 8) | p[1];
}

bool IsTrackChunk(const std::uint8_t* header) {
    return std::memcmp(header, "MTrk", 4) == 0 || std::memcmp(header, "XFIH", 4) == 0 ||
           std::memcmp(header, "XFKM", 4) == 0;
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

// Bytes taken by a message with a fixed layout, counting the status; 0 when the status is
// undefined or carries a length of its own.
unsigned FixedSize(std::uint8_t status) {
    switch (status) {
    case 0xF0:
    case 0xF7:
    case 0xFF:
    case 0xF4:
    case 0xF5:
    case 0xF9:
    case 0xFD:
        return 0;
    default: {
        // At most a status and two data bytes, as RawEvent holds them.
        const int length = ShortMessageLength(status);
        return length > 0 && length <= 3 ? static_cast<unsigned>(length) : 0;
    }
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

bool IsNote(std::uint8_t status) {
    return status >= 0x80 && status <= 0x9F;
}

// The key of a note within its track (mode 0) or the song (modes 1 and 2).
unsigned LocalKey(int mode, std::uint8_t status, const std::uint8_t* programs) {
    const unsigned channel = status & 0x0F;
    // A data byte with its top bit set (a broken file) must not reach another channel's keys.
    const unsigned program = programs[channel] & 0x7F;
    switch (mode) {
    case 1:
        return program;
    case 2:
        return channel;
    default:
        return channel * 128 + program;
    }
}

// The row keys seen since the last MoveTo, each once.
class KeySet {
public:
    void Add(unsigned key) {
        if (m_seen.test(key))
            return;
        m_seen.set(key);
        m_keys.push_back(static_cast<std::uint16_t>(key));
    }

    // Appends base + key for every key seen, ascending, and forgets them.
    void MoveTo(std::vector<std::uint32_t>& out, std::uint32_t base) {
        std::sort(m_keys.begin(), m_keys.end());
        for (const std::uint16_t key : m_keys) {
            out.push_back(base + key);
            m_seen.reset(key);
        }
        m_keys.clear();
    }

private:
    std::bitset<kKeysPerTrack> m_seen;
    std::vector<std::uint16_t> m_keys;
};

} // namespace

bool CLSSMFReader::ReadHeader() {
    const std::uint8_t* data = m_data;
    if (m_size < kMinimumFileSize || std::memcmp(data, "MThd", 4) != 0 || ReadBE32(data + 4) != 6)
        return false;
    m_format = ReadBE16(data + 8);
    if (m_format > 1)
        return false;
    const unsigned division = ReadBE16(data + 12);
    m_resolution = static_cast<int>(division);
    // Time-code division is not supported; 0 ticks per quarter note would divide by zero.
    if ((division & 0x8000) || division == 0)
        return false;
    const std::uint64_t declared = ReadBE16(data + 10);
    // A format-0 file's extra chunks (the XF information chunks) are read as tracks too.
    const bool singleTrack = m_format == 0 && declared == 1;

    std::uint64_t offset = kHeaderSize;
    // Chunks missing at the end: read what is there; a few bytes of padding are no chunk.
    while ((singleTrack || m_tracks.size() < declared) && offset + 8 <= m_size) {
        const std::uint8_t* header = data + offset;
        const std::uint64_t start = offset + 8;
        offset = start + ReadBE32(header + 4);
        // Other sequencers' private chunks are no tracks and do not count as declared ones.
        if (IsTrackChunk(header) && !CollectChunk(start, offset))
            return false;
    }
    m_xf = singleTrack && m_tracks.size() > 1;
    return true;
}

bool CLSSMFReader::CollectChunk(std::uint64_t start, std::uint64_t end) {
    if (m_tracks.size() >= kMaxTracks)
        return false; // track numbers would no longer fit the events' 16-bit field
    Track track;
    track.start = static_cast<std::size_t>(start);
    track.end = static_cast<std::size_t>(std::min<std::uint64_t>(end, m_size));
    track.cursor = track.start;
    track.number = static_cast<std::uint16_t>(m_tracks.size());
    ReadPendingDelta(track);
    m_tracks.push_back(track);
    return true;
}

bool CLSSMFReader::BuildRows(MIDITRACKINFOARRAY& rows) {
    // Only the keys that occur are kept: a table over every possible key grows with the track
    // count times 2048. Under mode 0 the keys of one track are gathered, sorted and appended
    // track by track; as track numbers ascend, so do the keys.
    KeySet seen;
    m_rowKeys.clear();
    std::size_t count = 0;
    RawEvent event;
    // Which keys occur does not depend on the merge order, so each track is read on its own.
    for (Track track : m_tracks) {
        while (!track.exhausted && ReadRawEvent(track, event)) {
            ++count;
            if (IsNote(event.status))
                seen.Add(LocalKey(m_mode, event.status, track.programs));
            else if ((event.status & 0xF0) == 0xC0)
                track.programs[event.status & 0x0F] = event.data[0];
            ReadPendingDelta(track);
        }
        if (m_mode == 0)
            seen.MoveTo(m_rowKeys, track.number * kKeysPerTrack);
        if (m_rowKeys.size() > kMaxRows)
            return false;
    }
    if (m_mode != 0)
        seen.MoveTo(m_rowKeys, 0);
    m_eventCount = count;

    rows.clear();
    // In one piece: the rows' array grows 16 slots at a time.
    rows.insert(rows.end(), static_cast<unsigned>(m_rowKeys.size()), MIDITRACKINFO());
    for (unsigned i = 0; i < rows.size(); ++i) {
        const std::uint32_t key = m_rowKeys[i];
        int& label = rows[i].label;
        if (m_mode == 2)
            label = static_cast<int>(key) + MIDITRACKINFO::kChannelBase;
        else if (m_mode != 1 && (key / 128) % 16 == 9)
            label = MIDITRACKINFO::kPercussion;
        else
            label = static_cast<int>(key % 128);
    }
    return true;
}

std::uint16_t CLSSMFReader::RowOf(const Track& track, std::uint8_t status) const {
    std::uint32_t key = LocalKey(m_mode, status, track.programs);
    if (m_mode == 0)
        key += track.number * kKeysPerTrack;
    const auto found = std::lower_bound(m_rowKeys.begin(), m_rowKeys.end(), key);
    return static_cast<std::uint16_t>(found - m_rowKeys.begin());
}

// Reads the event at the track's cursor; false when the track cannot be read on (the event
// runs past its chunk or its status is undefined).
bool CLSSMFReader::ReadRawEvent(Track& track, RawEvent& event) const {
    const std::uint8_t* data = m_data;
    const std::size_t cursor = track.cursor;
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

    const auto readBlock = [&](std::size_t at) {
        std::uint32_t length = 0;
        if (!ReadNumber(data, at, end, length) || length > end - at)
            return false;
        event.blockPos = at;
        event.blockLength = length;
        track.cursor = at + length;
        return true;
    };
    if (status == 0xF0 || status == 0xF7) {
        event.blockPrefix = status == 0xF0 ? 0xF0 : -1;
        return readBlock(pos + 1);
    }
    if (status == 0xFF) {
        if (pos + 2 > end)
            return false;
        event.metaType = data[pos + 1];
        if (event.metaType == 0x2F)
            return false; // an End of Track reached through running status ends the track too
        const unsigned size = FixedMetaSize(event.metaType);
        if (size == 0)
            return readBlock(pos + 2);
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
void CLSSMFReader::ReadPendingDelta(Track& track) const {
    std::uint32_t delta = 0;
    if (track.cursor >= track.end || !ReadNumber(m_data, track.cursor, track.end, delta)) {
        track.exhausted = true;
        return;
    }
    track.pendingDelta = delta;
    track.nextTime += delta;
    if (track.cursor + 2 <= track.end && m_data[track.cursor] == 0xFF &&
        m_data[track.cursor + 1] == 0x2F)
        track.exhausted = true;
}

CLSSMFReader::Event CLSSMFReader::MakeEvent(const Track& track) const {
    const RawEvent& raw = m_raw;
    Event event;
    if (raw.status == 0xFF && raw.metaType == 0x51)
        event = Event::TempoChange(raw.tempo);
    else if (Event::CarriesBlock(raw.status, raw.metaType))
        event = Event::WithBlock(raw.status, raw.metaType, m_data + raw.blockPos, raw.blockLength,
                                 raw.blockPrefix);
    else if (raw.status == 0xFF)
        event = Event::FixedMeta(raw.metaType, raw.data);
    else
        event = Event::Message(raw.status, raw.data[0], raw.data[1]);
    // Note-on and note-off: the row of the note; any other event: the track it came from.
    event.row = IsNote(raw.status) ? RowOf(track, raw.status) : track.number;
    return event;
}

bool CLSSMFReader::NextEvent(Event& event, std::uint32_t& delta) {
    if (!m_merging)
        StartMerge();
    while (!m_heap.empty()) {
        Track& track = m_tracks[m_heap.front()];
        if (ReadRawEvent(track, m_raw)) {
            delta = static_cast<std::uint32_t>(track.nextTime - m_now);
            m_now = track.nextTime;
            // The row uses the track's programs before the event's own program change.
            event = MakeEvent(track);
            if ((m_raw.status & 0xF0) == 0xC0)
                track.programs[m_raw.status & 0x0F] = m_raw.data[0];
            ReadPendingDelta(track);
            UpdateFront();
            return true;
        }
        track.exhausted = true;
        UpdateFront();
    }
    return false;
}

// The earlier track wins ties, and so keeps priority while its deltas are 0: the events of one
// tick come out track by track in file order.
void CLSSMFReader::StartMerge() {
    m_merging = true;
    for (unsigned i = 0; i < m_tracks.size(); ++i) {
        if (!m_tracks[i].exhausted)
            m_heap.push_back(i);
    }
    for (std::size_t i = m_heap.size() / 2; i-- > 0;)
        SiftDown(i);
}

bool CLSSMFReader::Before(unsigned a, unsigned b) const noexcept {
    const std::uint64_t ta = m_tracks[a].nextTime;
    const std::uint64_t tb = m_tracks[b].nextTime;
    return ta < tb || (ta == tb && a < b);
}

void CLSSMFReader::SiftDown(std::size_t i) noexcept {
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

// The front track has moved on (or ended): put it where it now belongs.
void CLSSMFReader::UpdateFront() noexcept {
    if (m_tracks[m_heap.front()].exhausted) {
        m_heap.front() = m_heap.back();
        m_heap.pop_back();
        if (m_heap.empty())
            return;
    }
    SiftDown(0);
}
