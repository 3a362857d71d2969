#include "midi/CLSMIDIData.h"

#include "core/Assert.h"
#include "core/OpenForReading.h"
#include "midi/ArchiveMemberImage.h"
#include "midi/CLSMIDIDataLoadState.h"
#include "midi/CLSSMFReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr int kErrRead = 7;
constexpr int kErrMemory = 14;
constexpr std::size_t kSpareBytes = 8;

std::uint32_t ReadLE32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// A file of the .rmi kind wraps the Standard MIDI File in a RIFF "RMID" form whose "data"
// chunk holds it. Narrows [data, data + size) to that chunk; anything else stays as it is.
void UnwrapRiffMidi(const std::uint8_t*& data, std::size_t& size) {
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "RMID", 4) != 0)
        return;
    std::size_t offset = 12;
    while (offset + 8 <= size) {
        const std::uint32_t length = ReadLE32(data + offset + 4);
        const std::size_t body = offset + 8;
        if (std::memcmp(data + offset, "data", 4) == 0) {
            data += body;
            size = std::min<std::size_t>(length, size - body);
            return;
        }
        if (length > size - body)
            break;
        offset = body + length + (length & 1); // chunks are padded to even sizes
    }
}

constexpr std::size_t kHeadBytes = 12;

// Reads up to `capacity` bytes; fewer only at the end of the file.
bool ReadSome(int fd, std::uint8_t* bytes, std::size_t capacity, std::size_t& length) {
    length = 0;
    while (length < capacity) {
        const ssize_t n = ::read(fd, bytes + length, capacity - length);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        length += static_cast<std::size_t>(n);
    }
    return true;
}

bool LooksLikeSong(const std::uint8_t* head, std::size_t length) {
    if (length >= 4 && std::memcmp(head, "MThd", 4) == 0)
        return true;
    return length >= 12 && std::memcmp(head, "RIFF", 4) == 0 &&
           std::memcmp(head + 8, "RMID", 4) == 0;
}

} // namespace

int CLSMIDIData::s_spectrumType = 0;

bool CLSMIDIData::ImageBuffer::Allocate(std::size_t size) {
    m_capacity = 0;
    m_length = 0;
    if (size > SIZE_MAX - kSpareBytes)
        return false;
    m_bytes.reset(static_cast<std::uint8_t*>(std::calloc(size + kSpareBytes, 1)));
    if (!m_bytes)
        return false;
    m_capacity = size + kSpareBytes;
    return true;
}

void CLSMIDIData::ImageBuffer::Adopt(std::uint8_t* bytes, std::size_t capacity,
                                     std::size_t length) noexcept {
    m_bytes.reset(bytes);
    m_capacity = capacity;
    m_length = length < capacity ? length : capacity;
}

CLSMIDIData::CLSMIDIData() = default;

CLSMIDIData::~CLSMIDIData() {
    StopPlayback();
}

void CLSMIDIData::SetOwner(OwnerWindow owner, Notifier notifier) {
    SetOwner(owner);
    SetNotifier(std::move(notifier));
}

void CLSMIDIData::SetNotifier(Notifier notifier) {
    // The timer thread may be inside the old one while playing, the opener while opening.
    DRUV_ASSERT(!IsPlaying() && !IsOpening(), kModule);
    m_publishedNotifier.store(nullptr, std::memory_order_relaxed);
    m_notifier = std::move(notifier);
    if (m_notifier)
        m_publishedNotifier.store(&m_notifier, std::memory_order_release);
}

void CLSMIDIData::SetSpectrumType(int mode) noexcept {
    s_spectrumType = mode;
}

int CLSMIDIData::GetSpectrumType() noexcept {
    return s_spectrumType;
}

void CLSMIDIData::Notify(int kind, unsigned param) const {
    if (const Notifier* notifier = m_publishedNotifier.load(std::memory_order_acquire))
        (*notifier)(kind, param);
}

void CLSMIDIData::Clear() {
    StopPlayback();
    m_length = 0;
    m_xf = 0;
    m_events.clear();
    m_songPrograms.clear();
    m_eventArena.Release();
    m_words.clear();
    m_rows.clear();
    m_fileName = "";
    m_title = "";
    m_composer = "";
    m_lyricist = "";
    m_arranger = "";
    m_artist = "";
    m_information = "";
    m_textEncoding.clear();
    m_lyricLayout = false;
}

bool CLSMIDIData::Load(const char* path) {
    Clear();
    ImageBuffer image;
    const bool read =
        IsArchiveMemberPath(path) ? ReadArchiveMember(path, image) : ReadFileImage(path, image);
    if (!read)
        return false;
    return BuildSong(image.Data(), image.Length(), path);
}

bool CLSMIDIData::LoadFromMemory(const void* data, std::size_t size, const char* name) {
    Clear();
    return BuildSong(static_cast<const std::uint8_t*>(data), size, name ? name : "");
}

bool CLSMIDIData::ReadFileImage(const char* path, ImageBuffer& image) {
    const auto fail = [&](int code, int line, int fd) {
        if (fd >= 0)
            ::close(fd);
        if (m_owner)
            CLSError(code, kModule, line).Show(m_owner);
        return false;
    };
    const int fd = OpenForReading(path); // regular files only: a FIFO would block for ever
    if (fd < 0)
        return fail(kErrRead, __LINE__, fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_size < 0)
        return fail(kErrRead, __LINE__, fd);
    // What is no song is told by its first bytes: a huge file of anything else costs nothing.
    std::uint8_t head[kHeadBytes] = {};
    std::size_t headLength = 0;
    if (!ReadSome(fd, head, sizeof head, headLength))
        return fail(kErrRead, __LINE__, fd);
    if (!LooksLikeSong(head, headLength)) {
        ::close(fd);
        return false;
    }
    // Archive members have the same bound: no song comes near it.
    if (info.st_size > kMaxArchiveMemberSize)
        return fail(kErrMemory, __LINE__, fd);
    const auto size = static_cast<std::size_t>(info.st_size);
    if (size < headLength || !image.Allocate(size))
        return fail(kErrMemory, __LINE__, fd);
    std::memcpy(image.Data(), head, headLength);
    std::size_t done = headLength;
    while (done < size) {
        const ssize_t n = ::read(fd, image.Data() + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(kErrRead, __LINE__, fd);
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    image.SetLength(done);
    return true;
}

bool CLSMIDIData::BuildSong(const std::uint8_t* data, std::size_t size, const char* name) {
    UnwrapRiffMidi(data, size);
    CLSSMFReader reader(data, size, s_spectrumType);
    const bool read = reader.ReadHeader();
    m_format = reader.Format();
    m_resolution = reader.Resolution();
    if (!read || !reader.BuildRows(m_rows)) {
        Clear();
        return false;
    }
    m_xf = reader.IsXF() ? 1 : 0;
    // One list node per event at most: reserve them in one piece.
    m_eventArena.Reserve(reader.EventCount() * (sizeof(CLSMIDIEvent) + 2 * sizeof(void*)));

    LoadState state;
    m_maxVelocity = 1;
    CLSMIDIEvent event;
    std::uint32_t delta = 0;
    while (reader.NextEvent(event, delta))
        HandleMergedEvent(std::move(event), delta, state);
    const std::uint64_t ms = state.lengthMicroseconds / 1000;
    m_length = ms > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<unsigned>(ms);

    CompleteWordList(state);
    m_fileName = name;
    Notify(kNotifyLoaded, 0);
    return true;
}

// ---- CLSMIDIEvent ----

unsigned CLSMIDIData::CLSMIDIEvent::BlockLength() const noexcept {
    const std::uint8_t* block = Block();
    return block ? static_cast<unsigned>(block[0] | (block[1] << 8)) : 0;
}

const std::uint8_t* CLSMIDIData::CLSMIDIEvent::BlockData() const noexcept {
    const std::uint8_t* block = Block();
    return block ? block + 2 : nullptr;
}

const char* CLSMIDIData::CLSMIDIEvent::BlockText() const noexcept {
    const std::uint8_t* bytes = BlockData();
    return bytes ? reinterpret_cast<const char*>(bytes) : "";
}

CLSMIDIData::CLSMIDIEvent CLSMIDIData::CLSMIDIEvent::Message(std::uint8_t status,
                                                             std::uint8_t data1,
                                                             std::uint8_t data2) noexcept {
    CLSMIDIEvent event(status, 0);
    if (!event.HasBlock()) {
        const std::uint8_t bytes[2] = {data1, data2};
        event.SetDataBytes(bytes, 2);
    }
    return event;
}

CLSMIDIData::CLSMIDIEvent
CLSMIDIData::CLSMIDIEvent::FixedMeta(std::uint8_t metaType,
                                     const std::uint8_t (&data)[4]) noexcept {
    CLSMIDIEvent event(0xFF, metaType);
    if (!event.HasBlock())
        event.SetDataBytes(data, 4);
    return event;
}

CLSMIDIData::CLSMIDIEvent CLSMIDIData::CLSMIDIEvent::TempoChange(std::uint32_t tempo) noexcept {
    CLSMIDIEvent event(0xFF, 0x51);
    event.m_payload.tempo = tempo;
    return event;
}

CLSMIDIData::CLSMIDIEvent CLSMIDIData::CLSMIDIEvent::WithBlock(std::uint8_t status,
                                                               std::uint8_t metaType,
                                                               const std::uint8_t* bytes,
                                                               std::size_t count, int prefix) {
    CLSMIDIEvent event(status, metaType);
    if (event.HasBlock())
        event.MakeBlock(bytes, count, prefix);
    else
        event.SetDataBytes(bytes, count);
    return event;
}

void CLSMIDIData::CLSMIDIEvent::SetDataBytes(const std::uint8_t* bytes,
                                             std::size_t count) noexcept {
    m_payload.tempo = 0;
    for (std::size_t i = 0; i < count && i < 4; ++i)
        m_payload.bytes[i] = bytes[i];
}

void CLSMIDIData::CLSMIDIEvent::MakeBlock(const std::uint8_t* bytes, std::size_t count,
                                          int prefix) {
    const std::size_t stored = count + (prefix >= 0 ? 1 : 0);
    // Two zero bytes after every block let meta texts be read as null-terminated strings.
    auto owned = std::make_unique_for_overwrite<std::uint8_t[]>(2 + stored + 2);
    std::uint8_t* block = owned.get();
    block[0] = static_cast<std::uint8_t>(stored & 0xFF);
    block[1] = static_cast<std::uint8_t>((stored >> 8) & 0xFF);
    std::uint8_t* out = block + 2;
    if (prefix >= 0)
        *out++ = static_cast<std::uint8_t>(prefix);
    if (count > 0)
        std::memcpy(out, bytes, count);
    out[count] = 0;
    out[count + 1] = 0;
    m_payload.block = owned.release(); // owned by this event from here on, see FreeBlock
}

void CLSMIDIData::CLSMIDIEvent::FreeBlock() noexcept {
    if (HasBlock())
        std::unique_ptr<std::uint8_t[]>(std::exchange(m_payload.block, nullptr)).reset();
}

void CLSMIDIData::CLSMIDIEvent::Take(CLSMIDIEvent& other) noexcept {
    delta = other.delta;
    row = other.row;
    m_status = other.m_status;
    m_metaType = other.m_metaType;
    m_payload = other.m_payload;
    other.m_payload.block = nullptr;
    other.m_status = 0;
    other.m_metaType = 0;
}
