#pragma once

#include "output/MidiOutput.h"
#include "synth/PeakLimiter.h"
#include "synth/SoundFontImageFiles.h"
#include "synth/SoundFontSubset.h"

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

    // Which of a SoundFont's presets the synthesizer holds: all, or those KeepLoaded names
    // (what a reset selects until then). A program change to any other one gets FluidSynth's
    // stand-in (the same program in bank 0, the piano, the standard kit).
    enum class Presets { All, Kept };

    // MIDIOUT_OK, MIDIOUT_NOMEM or MIDIOUT_NOSOUNDFONT (unreadable or not a SoundFont).
    // `programs` are kept loaded at once (see KeepLoaded).
    int Load(const std::string& soundFontPath, Presets presets = Presets::All,
             const std::vector<MidiOutput::Program>& programs = {});
    const std::string& SoundFontPath() const noexcept { return m_soundFontPath; }

    // Instruments are read from the SoundFont when first selected, so memory grows with what
    // songs use. Selecting happens where a program change is applied (the audio thread), so
    // the song's instruments, and those a reset selects, are loaded here beforehand and kept
    // until a later call no longer names them. With Presets::Kept, the presets held change to
    // those named, the drum kits of the song's program numbers (for a part it makes a drum
    // part) and what a reset selects. Not while another thread renders.
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
    using Preset = SoundFontSubset::Preset;
    bool Has(int bank, int number) const;
    std::vector<Preset> Wanted(const std::vector<MidiOutput::Program>& programs) const;
    std::vector<Preset> Held(const std::vector<MidiOutput::Program>& programs) const;
    bool LoadImage(const std::vector<Preset>& presets);
    bool LoadWhole();
    void UnloadSoundFont();

    std::shared_ptr<SoundFontImageFiles> m_imageFiles = SoundFontImageFiles::Shared();
    _fluid_hashtable_t* m_settings = nullptr;
    _fluid_synth_t* m_synth = nullptr;
    std::string m_soundFontPath;
    int m_soundFontId = -1;
    std::vector<Preset> m_kept; // pinned, sorted
    // Presets::Kept: the file's preset list, and the image loaded instead of the file.
    std::unique_ptr<SoundFontSubset> m_subset;
    std::string m_imageName;
    std::vector<Preset> m_imagePresets;
    std::int64_t m_frames = 0;
    PeakLimiter m_limiter{kSampleRate};
};
