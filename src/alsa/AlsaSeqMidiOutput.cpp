#include "alsa/AlsaSeqMidiOutput.h"

#include "alsa/AlsaSeqPorts.h"
#include "core/MidiOutError.h"
#include "output/ShortMessage.h"

#include <algorithm>
#include <alsa/asoundlib.h>

AlsaSeqMidiOutput::AlsaSeqMidiOutput(int client, int port, std::string sequencerName)
    : m_client(client), m_port(port), m_sequencerName(std::move(sequencerName)) {}

AlsaSeqMidiOutput::~AlsaSeqMidiOutput() {
    Close();
}

int AlsaSeqMidiOutput::Open() {
    std::lock_guard lock(m_mutex);
    if (m_seq != nullptr)
        return MIDIOUT_ALLOCATED;
    AlsaSeqPorts::QuietAlsaErrors();
    if (snd_seq_open(&m_seq, m_sequencerName.c_str(), SND_SEQ_OPEN_OUTPUT, 0) < 0) {
        m_seq = nullptr;
        return MIDIOUT_NODRIVER;
    }
    snd_seq_set_client_name(m_seq, "Druvel");
    m_ownPort = snd_seq_create_simple_port(
        m_seq, "Druvel output", SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
        SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    int result = MIDIOUT_OK;
    if (m_ownPort < 0 || snd_midi_event_new(16, &m_encoder) < 0)
        result = MIDIOUT_NOMEM;
    else if (snd_seq_connect_to(m_seq, m_ownPort, m_client, m_port) < 0)
        result = MIDIOUT_NODEVICE;
    else if ((m_queue = snd_seq_alloc_named_queue(m_seq, "Druvel")) < 0)
        result = MIDIOUT_NOTENABLED;
    if (result == MIDIOUT_OK) {
        snd_midi_event_no_status(m_encoder, 1);
        snd_seq_start_queue(m_seq, m_queue, nullptr);
        snd_seq_drain_output(m_seq);
        m_queueStart = std::chrono::steady_clock::now();
        m_last = m_queueStart;
        m_notes = NoteTracker();
    } else {
        Release();
    }
    return result;
}

int AlsaSeqMidiOutput::Close() {
    std::lock_guard lock(m_mutex);
    if (m_seq == nullptr)
        return MIDIOUT_INVALHANDLE;
    Silence(InOrder(std::chrono::steady_clock::now() + kLatency));
    // Every stamped event, the note-offs above included, must reach the port before the queue
    // goes away with whatever it still holds.
    snd_seq_drain_output(m_seq);
    snd_seq_sync_output_queue(m_seq);
    Release();
    return MIDIOUT_OK;
}

void AlsaSeqMidiOutput::Release() {
    if (m_queue >= 0)
        snd_seq_free_queue(m_seq, m_queue);
    if (m_encoder != nullptr)
        snd_midi_event_free(m_encoder);
    snd_seq_close(m_seq); // also removes our port and its connection
    m_queue = -1;
    m_encoder = nullptr;
    m_ownPort = -1;
    m_seq = nullptr;
}

int AlsaSeqMidiOutput::Reset() {
    std::lock_guard lock(m_mutex);
    if (m_seq == nullptr)
        return MIDIOUT_INVALHANDLE;
    return Silence(InOrder(std::chrono::steady_clock::now() + kLatency));
}

int AlsaSeqMidiOutput::Silence(MonoTime at) {
    int result = MIDIOUT_OK;
    m_notes.Silence([&](std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
        const std::uint8_t bytes[3] = {status, data1, data2};
        const int sent = SendBytes(bytes, 3, at);
        if (result == MIDIOUT_OK)
            result = sent;
    });
    return result;
}

int AlsaSeqMidiOutput::ShortMsg(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                                MonoTime due) {
    const std::size_t length = ShortMessageLength(status);
    if (length == 0)
        return MIDIOUT_INVALPARAM;
    const std::uint8_t bytes[3] = {status, data1, data2};
    std::lock_guard lock(m_mutex);
    if (m_seq == nullptr)
        return MIDIOUT_INVALHANDLE;
    m_notes.Track(status, data1, data2);
    return SendBytes(bytes, length, InOrder(due + kLatency));
}

int AlsaSeqMidiOutput::LongMsg(const std::uint8_t* bytes, std::size_t length, MonoTime due) {
    if (bytes == nullptr || length == 0)
        return MIDIOUT_INVALPARAM;
    std::lock_guard lock(m_mutex);
    if (m_seq == nullptr)
        return MIDIOUT_INVALHANDLE;
    return SendBytes(bytes, length, InOrder(due + kLatency));
}

MonoTime AlsaSeqMidiOutput::InOrder(MonoTime at) {
    m_last = std::max(at, m_last);
    return m_last;
}

int AlsaSeqMidiOutput::SendBytes(const std::uint8_t* bytes, std::size_t length, MonoTime at) {
    snd_seq_event_t event;
    snd_seq_ev_clear(&event);
    if (bytes[0] == 0xF0 || bytes[0] == 0xF7) {
        snd_seq_ev_set_sysex(&event, static_cast<unsigned>(length),
                             const_cast<std::uint8_t*>(bytes));
    } else {
        snd_midi_event_reset_encode(m_encoder);
        if (snd_midi_event_encode(m_encoder, bytes, static_cast<long>(length), &event) <= 0 ||
            event.type == SND_SEQ_EVENT_NONE)
            return MIDIOUT_INVALPARAM;
    }
    const auto offset = std::max(at - m_queueStart, MonoTime::duration::zero());
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(offset);
    snd_seq_real_time_t stamp;
    stamp.tv_sec = static_cast<unsigned>(seconds.count());
    stamp.tv_nsec = static_cast<unsigned>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(offset - seconds).count());
    snd_seq_ev_schedule_real(&event, m_queue, 0, &stamp);
    snd_seq_ev_set_source(&event, m_ownPort);
    snd_seq_ev_set_subs(&event);
    if (snd_seq_event_output(m_seq, &event) < 0 || snd_seq_drain_output(m_seq) < 0)
        return MIDIOUT_NODEVICE;
    return MIDIOUT_OK;
}

int AlsaSeqMidiOutput::SetVolume(std::uint32_t) {
    std::lock_guard lock(m_mutex);
    return m_seq == nullptr ? MIDIOUT_INVALHANDLE : MIDIOUT_NOTSUPPORTED;
}

int AlsaSeqMidiOutput::GetVolume(std::uint32_t&) {
    std::lock_guard lock(m_mutex);
    return m_seq == nullptr ? MIDIOUT_INVALHANDLE : MIDIOUT_NOTSUPPORTED;
}
