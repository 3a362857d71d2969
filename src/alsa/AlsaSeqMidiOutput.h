#pragma once

#include "output/MidiOutput.h"
#include "output/NoteTracker.h"

#include <mutex>
#include <string>

struct _snd_seq;
struct snd_midi_event;

// A port of another ALSA sequencer client (an external instrument or a software synthesizer).
// Messages go through an ALSA queue stamped with real time due + kLatency, so the port gets
// them evenly spaced. Reset and Close end the notes this output started (note-offs, the release
// of any hold pedal the song left down, then All Notes Off on every channel): an external
// instrument would otherwise keep them sounding after a pause or a stop. The port's volume is its
// own business: volume is not supported.
class AlsaSeqMidiOutput final : public MidiOutput {
public:
    AlsaSeqMidiOutput(int client, int port, std::string sequencerName = "default");
    ~AlsaSeqMidiOutput() override;

    // MIDIOUT_NODRIVER without a sequencer, MIDIOUT_NODEVICE when the port cannot be reached.
    int Open() override;
    int Reset() override;
    int ShortMsg(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                 MonoTime due) override;
    int LongMsg(const std::uint8_t* bytes, std::size_t length, MonoTime due) override;
    int SetVolume(std::uint32_t volume) override;
    int GetVolume(std::uint32_t& volume) override;
    int Close() override;
    std::chrono::microseconds SoundLatency() const noexcept override { return kLatency; }

private:
    int SendBytes(const std::uint8_t* bytes, std::size_t length, MonoTime at);
    int Silence(MonoTime at);
    MonoTime InOrder(MonoTime at);
    void Release();

    int m_client;
    int m_port;
    std::string m_sequencerName;
    std::mutex m_mutex; // the sequencer handle is not safe to share between threads
    _snd_seq* m_seq = nullptr;
    snd_midi_event* m_encoder = nullptr;
    int m_ownPort = -1;
    int m_queue = -1;
    MonoTime m_queueStart{};
    MonoTime m_last{};
    NoteTracker m_notes;
};
