#include "output/CaptureMidiOutput.h"

#include "core/MidiOutError.h"
#include "output/ShortMessage.h"

#include <cinttypes>

CaptureMidiOutput::CaptureMidiOutput(std::string path, const Clock& clock)
    : m_path(std::move(path)), m_clock(clock) {}

CaptureMidiOutput::CaptureMidiOutput(std::string path, const Clock& clock, Start start,
                                     MonoTime origin)
    : m_path(std::move(path)), m_clock(clock), m_start(start), m_origin(origin) {}

CaptureMidiOutput::~CaptureMidiOutput() {
    Close();
}

int CaptureMidiOutput::Open() {
    std::lock_guard lock(m_mutex);
    if (m_file)
        return MIDIOUT_ALLOCATED;
    m_file.reset(std::fopen(m_path.c_str(), m_start == Start::Append ? "a" : "w"));
    if (!m_file)
        return MIDIOUT_NODEVICE;
    m_openedAt = m_origin.value_or(m_clock.Now());
    return MIDIOUT_OK;
}

int CaptureMidiOutput::Reset() {
    std::lock_guard lock(m_mutex);
    if (!m_file)
        return MIDIOUT_INVALHANDLE;
    const std::int64_t sent = MicrosecondsBetween(m_openedAt, m_clock.Now());
    std::fprintf(m_file.get(), "%" PRId64 " %" PRId64 " RESET\n", sent, sent);
    std::fflush(m_file.get());
    return MIDIOUT_OK;
}

int CaptureMidiOutput::ShortMsg(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                                MonoTime due) {
    const std::uint8_t bytes[3] = {status, data1, data2};
    const std::size_t length = ShortMessageLength(status);
    if (length == 0)
        return MIDIOUT_INVALPARAM;
    std::lock_guard lock(m_mutex);
    return WriteLine(bytes, length, due);
}

int CaptureMidiOutput::LongMsg(const std::uint8_t* bytes, std::size_t length, MonoTime due) {
    if (bytes == nullptr || length == 0)
        return MIDIOUT_INVALPARAM;
    std::lock_guard lock(m_mutex);
    return WriteLine(bytes, length, due);
}

int CaptureMidiOutput::WriteLine(const std::uint8_t* bytes, std::size_t length, MonoTime due) {
    if (!m_file)
        return MIDIOUT_INVALHANDLE;
    std::FILE* out = m_file.get();
    std::fprintf(out, "%" PRId64 " %" PRId64, MicrosecondsBetween(m_openedAt, m_clock.Now()),
                 MicrosecondsBetween(m_openedAt, due));
    for (std::size_t i = 0; i < length; ++i)
        std::fprintf(out, " %02X", bytes[i]);
    std::fputc('\n', out);
    return MIDIOUT_OK;
}

void CaptureMidiOutput::Flush() noexcept {
    std::lock_guard lock(m_mutex);
    if (m_file)
        std::fflush(m_file.get());
}

int CaptureMidiOutput::SetVolume(std::uint32_t volume) {
    std::lock_guard lock(m_mutex);
    if (!m_file)
        return MIDIOUT_INVALHANDLE;
    m_volume = volume;
    return MIDIOUT_OK;
}

int CaptureMidiOutput::GetVolume(std::uint32_t& volume) {
    std::lock_guard lock(m_mutex);
    if (!m_file)
        return MIDIOUT_INVALHANDLE;
    volume = m_volume;
    return MIDIOUT_OK;
}

int CaptureMidiOutput::Close() {
    std::lock_guard lock(m_mutex);
    if (!m_file)
        return MIDIOUT_INVALHANDLE;
    // A full disk shows only when the buffered lines are written out.
    const bool written = std::fflush(m_file.get()) == 0 && !std::ferror(m_file.get());
    m_file.reset();
    return written ? MIDIOUT_OK : MIDIOUT_ERROR;
}
