#include "synth/FluidSynthCore.h"

#include "core/MidiOutError.h"
#include "synth/SoundFontImageFiles.h"

#include <algorithm>
#include <fluidsynth.h>
#include <mutex>
#include <unistd.h>

// FluidSynth reports failed driver attempts and SoundFont problems on stderr by itself; we
// report them once, with our own texts, through the result codes.
void FluidSynthCore::QuietLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        fluid_set_log_function(FLUID_ERR, nullptr, nullptr);
        fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
        fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
        fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
    });
}

FluidSynthCore::FluidSynthCore(int cpuCores) {
    QuietLog();
    m_settings = new_fluid_settings();
    if (m_settings == nullptr)
        return;
    fluid_settings_setnum(m_settings, "synth.sample-rate", kSampleRate);
    fluid_settings_setnum(m_settings, "synth.gain", kFullGain);
    // Samples are read when their instrument is first kept (KeepLoaded), not all at load.
    fluid_settings_setint(m_settings, "synth.dynamic-sample-loading", 1);
    // One thread at a time drives a synthesizer (the audio thread while a driver runs), so
    // FluidSynth's own lock around every call would only cost the audio thread.
    fluid_settings_setint(m_settings, "synth.threadsafe-api", 0);
    if (cpuCores > 1)
        fluid_settings_setint(m_settings, "synth.cpu-cores", cpuCores);
    m_synth = new_fluid_synth(m_settings);
    if (m_synth != nullptr)
        SoundFontImageFiles::Install(m_settings, m_synth);
}

FluidSynthCore::~FluidSynthCore() {
    if (m_synth != nullptr)
        delete_fluid_synth(m_synth);
    if (!m_imageName.empty())
        m_imageFiles->Unregister(m_imageName);
    if (m_settings != nullptr)
        delete_fluid_settings(m_settings);
}

int FluidSynthCore::Load(const std::string& soundFontPath, Presets presets,
                         const std::vector<MidiOutput::Program>& programs) {
    if (m_synth == nullptr)
        return MIDIOUT_NOMEM;
    // FluidSynth would also try its own search path for a bare name; we want exactly this file.
    if (soundFontPath.empty() || ::access(soundFontPath.c_str(), R_OK) != 0)
        return MIDIOUT_NOSOUNDFONT;
    if (fluid_is_soundfont(soundFontPath.c_str()) == 0)
        return MIDIOUT_NOSOUNDFONT;
    UnloadSoundFont();
    auto subset = std::make_unique<SoundFontSubset>();
    if (presets == Presets::Kept && subset->Read(soundFontPath)) {
        m_subset = std::move(subset);
        if (!LoadImage(Held(programs)))
            m_subset.reset(); // FluidSynth refused the image: let it judge the file whole
    }
    m_soundFontPath = soundFontPath;
    if (!m_subset && !LoadWhole()) {
        m_soundFontPath.clear();
        return MIDIOUT_NOSOUNDFONT;
    }
    KeepLoaded(programs);
    return MIDIOUT_OK;
}

bool FluidSynthCore::LoadWhole() {
    m_subset.reset();
    UnloadSoundFont();
    const int id = fluid_synth_sfload(m_synth, m_soundFontPath.c_str(), 1);
    if (id == FLUID_FAILED)
        return false;
    m_soundFontId = id;
    return true;
}

// The old image goes first, so that the instruments both hold are never in memory twice.
bool FluidSynthCore::LoadImage(const std::vector<Preset>& presets) {
    std::shared_ptr<const SoundFontImage> image = m_subset->Select(presets);
    if (!image)
        return false;
    const std::string name = m_imageFiles->Register(std::move(image));
    UnloadSoundFont();
    const int id = fluid_synth_sfload(m_synth, name.c_str(), 1);
    if (id == FLUID_FAILED) {
        m_imageFiles->Unregister(name);
        return false;
    }
    m_soundFontId = id;
    m_imageName = name;
    m_imagePresets = presets;
    return true;
}

void FluidSynthCore::UnloadSoundFont() {
    if (m_soundFontId >= 0)
        fluid_synth_sfunload(m_synth, m_soundFontId, 1);
    m_soundFontId = -1;
    if (!m_imageName.empty())
        m_imageFiles->Unregister(m_imageName);
    m_imageName.clear();
    m_imagePresets.clear();
    m_kept.clear();
}

namespace {
constexpr int kDrumBank = 128;
} // namespace

bool FluidSynthCore::Has(int bank, int number) const {
    if (m_subset)
        return m_subset->Has(bank, number);
    fluid_sfont_t* sfont = fluid_synth_get_sfont_by_id(m_synth, m_soundFontId);
    return sfont != nullptr && fluid_sfont_get_preset(sfont, bank, number) != nullptr;
}

// A preset the SoundFont lacks is replaced as FluidSynth replaces it: bank 0 for an instrument,
// the standard kit for drums.
std::vector<FluidSynthCore::Preset>
FluidSynthCore::Wanted(const std::vector<MidiOutput::Program>& programs) const {
    std::vector<Preset> wanted;
    const auto want = [&](int bank, int number) {
        if (!Has(bank, number))
            return false;
        wanted.emplace_back(bank, number);
        return true;
    };
    want(0, 0); // what a reset selects
    want(kDrumBank, 0);
    for (const MidiOutput::Program& program : programs) {
        if (program.drums)
            want(kDrumBank, program.number) || want(kDrumBank, 0);
        else
            want(program.bank, program.number) || want(0, program.number) || want(0, 0);
    }
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
    return wanted;
}

std::vector<FluidSynthCore::Preset>
FluidSynthCore::Held(const std::vector<MidiOutput::Program>& programs) const {
    std::vector<Preset> held = Wanted(programs);
    for (const MidiOutput::Program& program : programs)
        if (!program.drums && Has(kDrumBank, program.number))
            held.emplace_back(kDrumBank, program.number);
    std::sort(held.begin(), held.end());
    held.erase(std::unique(held.begin(), held.end()), held.end());
    return held;
}

void FluidSynthCore::KeepLoaded(const std::vector<MidiOutput::Program>& programs) {
    if (m_subset) {
        const std::vector<Preset> held = Held(programs);
        if (held != m_imagePresets && !LoadImage(held) && m_soundFontId < 0)
            LoadWhole(); // the file changed or broke since: FluidSynth judges it whole
    }
    if (m_soundFontId < 0)
        return;
    const std::vector<Preset> wanted = Wanted(programs);
    // Pinned first, unpinned after: a preset in both lists is never read twice.
    for (const auto& [bank, number] : wanted) {
        if (!std::binary_search(m_kept.begin(), m_kept.end(), std::pair{bank, number}))
            fluid_synth_pin_preset(m_synth, m_soundFontId, bank, number);
    }
    for (const auto& [bank, number] : m_kept) {
        if (!std::binary_search(wanted.begin(), wanted.end(), std::pair{bank, number}))
            fluid_synth_unpin_preset(m_synth, m_soundFontId, bank, number);
    }
    m_kept = wanted;
}

void FluidSynthCore::SendShort(const std::uint8_t* bytes, std::size_t length) {
    if (length == 0 || bytes[0] < 0x80)
        return;
    const int status = bytes[0];
    const int channel = status & 0x0F;
    const int data1 = length > 1 ? bytes[1] & 0x7F : 0;
    const int data2 = length > 2 ? bytes[2] & 0x7F : 0;
    switch (status & 0xF0) {
    case 0x80:
        fluid_synth_noteoff(m_synth, channel, data1);
        break;
    case 0x90:
        if (data2 == 0)
            fluid_synth_noteoff(m_synth, channel, data1);
        else
            fluid_synth_noteon(m_synth, channel, data1, data2);
        break;
    case 0xA0:
        fluid_synth_key_pressure(m_synth, channel, data1, data2);
        break;
    case 0xB0:
        fluid_synth_cc(m_synth, channel, data1, data2);
        break;
    case 0xC0:
        fluid_synth_program_change(m_synth, channel, data1);
        break;
    case 0xD0:
        fluid_synth_channel_pressure(m_synth, channel, data1);
        break;
    case 0xE0:
        fluid_synth_pitch_bend(m_synth, channel, data1 | (data2 << 7));
        break;
    default:
        if (status == 0xFF)
            fluid_synth_system_reset(m_synth);
        break; // clock, song position and the like mean nothing to a synthesizer
    }
}

void FluidSynthCore::SendExclusive(const std::uint8_t* bytes, std::size_t length) {
    // Only a complete F0 ... F7 message can be interpreted; continuation packets are dropped.
    if (length < 2 || bytes[0] != 0xF0)
        return;
    std::size_t body = length - 1;
    if (bytes[length - 1] == 0xF7)
        --body;
    fluid_synth_sysex(m_synth, reinterpret_cast<const char*>(bytes + 1), static_cast<int>(body),
                      nullptr, nullptr, nullptr, 0);
}

void FluidSynthCore::AllNotesOff() {
    for (int channel = 0; channel < 16; ++channel) {
        fluid_synth_cc(m_synth, channel, 64, 0);
        fluid_synth_all_notes_off(m_synth, channel);
    }
}

void FluidSynthCore::SystemReset() {
    fluid_synth_system_reset(m_synth);
}

void FluidSynthCore::SetVolume(std::uint32_t volume) {
    const float left = static_cast<float>(volume & 0xFFFF) / 65535.0f;
    const float right = static_cast<float>(volume >> 16) / 65535.0f;
    // One gain for both sides: the synthesizer has no balance of its own.
    fluid_synth_set_gain(m_synth, kFullGain * (left + right) / 2.0f);
}

void FluidSynthCore::Render(float* left, float* right, int frames) {
    if (frames <= 0)
        return;
    fluid_synth_write_float(m_synth, frames, left, 0, 1, right, 0, 1);
    m_limiter.Process(left, right, frames);
    m_frames += frames;
}
