#include "platform/MemoryMidiOutput.h"

#include "core/MidiOutError.h"
#include "platform/ShortMessage.h"

int MemoryMidiOutput::Open() {
    std::lock_guard lock(m_mutex);
    if (m_open)
        return MIDIOUT_ALLOCATED;
    if (m_openResult != MIDIOUT_OK)
        return m_openResult;
    m_open = true;
    ++m_opens;
    return MIDIOUT_OK;
}

int MemoryMidiOutput::Reset() {
    std::lock_guard lock(m_mutex);
    const MonoTime now = m_clock.Now();
    return Record(RecordedMidiMessage::Kind::Reset, nullptr, 0, now);
}

int MemoryMidiOutput::ShortMsg(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                               MonoTime due) {
    const std::uint8_t bytes[3] = {status, data1, data2};
    const std::size_t length = ShortMessageLength(status);
    if (length == 0)
        return MIDIOUT_INVALPARAM;
    std::lock_guard lock(m_mutex);
    return Record(RecordedMidiMessage::Kind::Short, bytes, length, due);
}

int MemoryMidiOutput::LongMsg(const std::uint8_t* bytes, std::size_t length, MonoTime due) {
    if (bytes == nullptr || length == 0)
        return MIDIOUT_INVALPARAM;
    std::lock_guard lock(m_mutex);
    return Record(RecordedMidiMessage::Kind::Long, bytes, length, due);
}

int MemoryMidiOutput::Record(RecordedMidiMessage::Kind kind, const std::uint8_t* bytes,
                             std::size_t length, MonoTime due) {
    if (!m_open)
        return MIDIOUT_INVALHANDLE;
    RecordedMidiMessage message;
    message.kind = kind;
    if (length > 0)
        message.bytes.assign(bytes, bytes + length);
    message.sent = m_clock.Now();
    message.due = due;
    m_messages.push_back(std::move(message));
    return MIDIOUT_OK;
}

int MemoryMidiOutput::SetVolume(std::uint32_t volume) {
    std::lock_guard lock(m_mutex);
    if (!m_open)
        return MIDIOUT_INVALHANDLE;
    m_volume = volume;
    return MIDIOUT_OK;
}

int MemoryMidiOutput::GetVolume(std::uint32_t& volume) {
    std::lock_guard lock(m_mutex);
    if (!m_open)
        return MIDIOUT_INVALHANDLE;
    volume = m_volume;
    return MIDIOUT_OK;
}

int MemoryMidiOutput::Close() {
    std::lock_guard lock(m_mutex);
    if (!m_open)
        return MIDIOUT_INVALHANDLE;
    m_open = false;
    ++m_closes;
    return MIDIOUT_OK;
}

std::vector<RecordedMidiMessage> MemoryMidiOutput::Messages() const {
    std::lock_guard lock(m_mutex);
    return m_messages;
}

void MemoryMidiOutput::ClearMessages() {
    std::lock_guard lock(m_mutex);
    m_messages.clear();
}

bool MemoryMidiOutput::IsOpen() const {
    std::lock_guard lock(m_mutex);
    return m_open;
}

int MemoryMidiOutput::OpenCount() const {
    std::lock_guard lock(m_mutex);
    return m_opens;
}

int MemoryMidiOutput::CloseCount() const {
    std::lock_guard lock(m_mutex);
    return m_closes;
}

std::uint32_t MemoryMidiOutput::Volume() const {
    std::lock_guard lock(m_mutex);
    return m_volume;
}
