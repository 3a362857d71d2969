#pragma once

#include "output/MidiOutput.h"
#include "synth/PeakLimiter.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct _fluid_hashtable_t;
struct _fluid_synth_t;

// One FluidSynth synthesizer with a SoundFont loaded, rendered by whoever owns it (an audio
// driver's callback or the offline renderer). MIDI bytes go in, float samples come out.
//
// FluidSynth applies an event at the start of its next internal block of kBlockFrames, so the
// frame count kept here tells callers where those blocks begin. Not thread-safe: its owner
// calls it from one thread at a time.
class FluidSynthCore {
public:
    static constexpr int kSampleRate = 44100;
    static constexpr int kBlockFrames = 64;
    // The synthesizer's gain at full volume: ordinary songs stay loud, and the limiter on the
    // output holds the peaks of dense ones below full scale.
    static constexpr float kFullGain = 0.4f;

    // `cpuCores` above 1 lets FluidSynth render voices on that many threads of its own.
    explicit FluidSynthCore(int cpuCores = 1);
    // Silences FluidSynth's own messages on stderr, for good.
    static void QuietLog();
    ~FluidSynthCore();
    FluidSynthCore(const FluidSynthCore&) = delete;
    FluidSynthCore& operator=(const FluidSynthCore&) = delete;

    // MIDIOUT_OK, MIDIOUT_NOMEM or MIDIOUT_NOSOUNDFONT (unreadable or not a SoundFont).
    int Load(const std::string& soundFontPath);
    const std::string& SoundFontPath() const noexcept { return m_soundFontPath; }

    // Instruments are read from the SoundFont when first selected, so memory grows with what
    // songs use. Selecting happens where a program change is applied (the audio thread), so
    // the song's instruments, and those a reset selects, are loaded here beforehand and kept
    // until a later call no longer names them. Not while another thread renders.
    void KeepLoaded(const std::vector<MidiOutput::Program>& programs);

    // One short message (1..3 bytes, status first); other bytes are ignored.
    void SendShort(const std::uint8_t* bytes, std::size_t length);
    // F0 ... F7 as sent on the wire.
    void SendExclusive(const std::uint8_t* bytes, std::size_t length);
    // Sustain released and every note off on every channel.
    void AllNotesOff();
    // Back to the state of a fresh synthesizer (programs, controllers, silence).
    void SystemReset();

    // Volume packed as left | right << 16, 0xFFFF each at full gain.
    void SetVolume(std::uint32_t volume);

    // Limited output: no sample reaches full scale.
    void Render(float* left, float* right, int frames);
    std::int64_t FramesRendered() const noexcept { return m_frames; }

    // The raw handles, for an audio driver.
    _fluid_hashtable_t* Settings() const noexcept { return m_settings; }
    _fluid_synth_t* Synth() const noexcept { return m_synth; }

private:
    _fluid_hashtable_t* m_settings = nullptr;
    _fluid_synth_t* m_synth = nullptr;
    std::string m_soundFontPath;
    int m_soundFontId = -1;
    std::vector<std::pair<int, int>> m_kept; // bank, program: pinned, sorted
    std::int64_t m_frames = 0;
    PeakLimiter m_limiter{kSampleRate};
};
