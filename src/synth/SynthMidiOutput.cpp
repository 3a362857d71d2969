#include "synth/SynthMidiOutput.h"

#include "alsa/AlsaSeqPorts.h"
#include "core/MidiOutError.h"
#include "output/ShortMessage.h"
#include "pipewire/PipeWireAudioStream.h"
#include "pulse/PulseAudioStream.h"
#include "synth/FluidSynthCore.h"
#include "synth/SoundFontChoice.h"
#include "synth/SoundFontLocator.h"
#include "synth/SynthScheduler.h"
#include "synth/SynthWarmUp.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fluidsynth.h>
#include <mutex>
#include <thread>

namespace {

// Like a sound card's mixer, the volume outlives an opening of the device.
std::atomic<std::uint32_t> g_volume{MidiOutput::kFullVolume};
// A stream renders a chunk (period) whenever the server has room for one, so a chunk's length
// is both what a late wake-up of the audio path may cost before the sound runs dry and, with the
// buffer, what a message waits before it is heard. PulseAudio's client thread and server are
// woken late by 30 ms or more on a busy machine: two and a half 46 ms chunks keep it fed, for a
// latency of about 0.13 s, which a song that was never live does not betray. ALSA and PipeWire
// get two chunks of 23 ms.
int PeriodFrames(const char* driver) {
    return std::strcmp(driver, "pulseaudio") == 0 ? 2048 : 1024;
}
constexpr int kPeriods = 2;
// Our own streams, the first two of kAudioDrivers.
constexpr const char* kPipeWire = SynthMidiOutput::kAudioDrivers[0];
constexpr const char* kPulseAudio = SynthMidiOutput::kAudioDrivers[1];

std::unique_ptr<AudioStream> MakeStream(const char* driver) {
    if (std::strcmp(driver, kPipeWire) == 0)
        return std::make_unique<PipeWireAudioStream>();
    if (std::strcmp(driver, kPulseAudio) == 0)
        return std::make_unique<PulseAudioStream>();
    return nullptr;
}
// The measured latency follows the server slowly: one chunk's jitter moves it by 1/32 of it.
constexpr double kAheadSmoothing = 1.0 / 32;

// There is one synthesizer, so it can be open only once at a time.
std::atomic<bool> g_inUse{false};

// Loading a large SoundFont takes a noticeable moment, and the device is opened at every
// start of playback (a pause is a stop), so the loaded synthesizer is kept for the process.
std::mutex g_cacheMutex;
std::shared_ptr<FluidSynthCore> g_cached;

int LoadSynth(const std::string& path, const std::vector<MidiOutput::Program>& programs,
              std::shared_ptr<FluidSynthCore>& synth) {
    std::lock_guard lock(g_cacheMutex);
    if (g_cached && g_cached->SoundFontPath() == path) {
        g_cached->SystemReset();
        synth = g_cached;
        return MIDIOUT_OK;
    }
    g_cached.reset();
    auto fresh = std::make_shared<FluidSynthCore>();
    const int result = fresh->Load(path, FluidSynthCore::Presets::Kept, programs);
    if (result != MIDIOUT_OK)
        return result;
    g_cached = fresh;
    synth = std::move(fresh);
    return MIDIOUT_OK;
}

} // namespace

SynthMidiOutput::SynthMidiOutput(std::string soundFontPath)
    : m_soundFontPath(std::move(soundFontPath)), m_streamClock(FluidSynthCore::kSampleRate) {}

SynthMidiOutput::~SynthMidiOutput() {
    Close();
}

int SynthMidiOutput::Open() {
    if (m_synth)
        return MIDIOUT_ALLOCATED;
    // A warm-up holds the synthesizer while it loads; what it loaded is used below.
    SynthWarmUp::AwaitAll();
    // A path given to this output is used as it is; the choice falls back when it must.
    std::string path = m_soundFontPath.empty() ? SoundFontChoice::Resolve() : m_soundFontPath;
    if (path.empty())
        return MIDIOUT_NOSOUNDFONT;
    if (g_inUse.exchange(true))
        return MIDIOUT_ALLOCATED;
    int result = LoadSynth(path, m_programs, m_synth);
    // A file whose header passed may still be cut short or broken inside.
    if (result == MIDIOUT_NOSOUNDFONT && m_soundFontPath.empty() &&
        path == SoundFontChoice::Named()) {
        SoundFontChoice::Refuse(path, SoundFontChoice::Problem::Damaged);
        path = SoundFontLocator(SoundFontLocator::DefaultFolders(), "").Find();
        if (!path.empty())
            result = LoadSynth(path, m_programs, m_synth);
    }
    if (result == MIDIOUT_OK) {
        m_synth->KeepLoaded(m_programs); // before the audio thread exists
        m_scheduler = std::make_unique<SynthScheduler>(*m_synth, TimedMessageQueue::Growth::Fixed);
        m_synth->SetVolume(g_volume.load());
        result = OpenAudioDriver();
        if (result == MIDIOUT_OK)
            AwaitSteadyStream();
    }
    if (result != MIDIOUT_OK) {
        m_scheduler.reset();
        m_synth.reset();
        g_inUse.store(false);
    }
    return result;
}

std::vector<std::string> SynthMidiOutput::AudioDrivers() {
    std::vector<std::string> names(std::begin(kAudioDrivers), std::end(kAudioDrivers));
    const char* only = std::getenv(kDriverVariable);
    if (only != nullptr && std::find(names.begin(), names.end(), only) != names.end())
        return {only};
    return names;
}

int SynthMidiOutput::OpenAudioDriver() {
    m_streamClock.Restart();
    m_measuredAhead.store(-1);
    m_aheadAverage = -1;
    AlsaSeqPorts::QuietAlsaErrors(); // a machine without a sound card is reported by our result
    fluid_settings_setint(m_synth->Settings(), "audio.periods", kPeriods);
    const std::vector<std::string> allowed = AudioDrivers();
    for (const char* name : kAudioDrivers) {
        if (std::find(allowed.begin(), allowed.end(), name) == allowed.end())
            continue;
        if (std::unique_ptr<AudioStream> stream = MakeStream(name)) {
            if (stream->Open(FluidSynthCore::kSampleRate, PeriodFrames(name),
                             &SynthMidiOutput::StreamCallback, this)) {
                m_stream = std::move(stream);
                m_driverName = name;
                return MIDIOUT_OK;
            }
            continue;
        }
        fluid_settings_setstr(m_synth->Settings(), "audio.driver", name);
        fluid_settings_setint(m_synth->Settings(), "audio.period-size", PeriodFrames(name));
        m_driver =
            new_fluid_audio_driver2(m_synth->Settings(), &SynthMidiOutput::AudioCallback, this);
        if (m_driver != nullptr) {
            m_driverName = name;
            return MIDIOUT_OK;
        }
    }
    return MIDIOUT_NOAUDIO;
}

std::string SynthMidiOutput::ProbeAudioDriver() {
    AlsaSeqPorts::QuietAlsaErrors();
    FluidSynthCore silent; // no SoundFont: nothing to load, nothing heard
    if (silent.Synth() == nullptr)
        return {};
    for (const std::string& name : AudioDrivers()) {
        if (name == kPipeWire) {
            if (PipeWireAudioStream::ServerReachable())
                return name;
            continue;
        }
        if (name == kPulseAudio) {
            if (PulseAudioStream::ServerReachable())
                return name;
            continue;
        }
        fluid_settings_setstr(silent.Settings(), "audio.driver", name.c_str());
        if (_fluid_audio_driver_t* driver =
                new_fluid_audio_driver(silent.Settings(), silent.Synth())) {
            delete_fluid_audio_driver(driver);
            return name;
        }
    }
    return {};
}

// Messages are placed by the stream's frame line, which needs the sink to be taking frames;
// a sink that never starts leaves the line to settle later rather than failing the device.
void SynthMidiOutput::AwaitSteadyStream() const {
    constexpr auto kGiveUp = std::chrono::seconds(3);
    const auto start = std::chrono::steady_clock::now();
    // Our streams also say how late their frames are heard, soon after the line is set.
    const auto steady = [this] {
        return m_streamClock.Settled() && (!m_stream || LatencyMeasured());
    };
    while (!steady() && std::chrono::steady_clock::now() - start < kGiveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

int SynthMidiOutput::Close() {
    if (!m_synth)
        return MIDIOUT_INVALHANDLE;
    // Both join the audio thread: nothing renders after this.
    m_stream.reset();
    if (m_driver != nullptr)
        delete_fluid_audio_driver(m_driver);
    m_driver = nullptr;
    m_driverName = "";
    m_measuredAhead.store(-1);
    m_scheduler.reset();
    m_synth->SystemReset();
    m_synth.reset();
    g_inUse.store(false);
    return MIDIOUT_OK;
}

int SynthMidiOutput::Reset() {
    if (!m_scheduler)
        return MIDIOUT_INVALHANDLE;
    return PushWaiting(TimedMessageQueue::Kind::Reset, nullptr, 0,
                       std::chrono::steady_clock::now() + kLatency);
}

int SynthMidiOutput::ShortMsg(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                              MonoTime due) {
    if (!m_scheduler)
        return MIDIOUT_INVALHANDLE;
    const std::uint8_t bytes[3] = {status, data1, data2};
    const std::size_t length = ShortMessageLength(status);
    if (length == 0)
        return MIDIOUT_INVALPARAM;
    return PushWaiting(TimedMessageQueue::Kind::Short, bytes, length, due + kLatency);
}

int SynthMidiOutput::LongMsg(const std::uint8_t* bytes, std::size_t length, MonoTime due) {
    if (!m_scheduler)
        return MIDIOUT_INVALHANDLE;
    if (bytes == nullptr || length == 0)
        return MIDIOUT_INVALPARAM;
    return PushWaiting(TimedMessageQueue::Kind::Long, bytes, length, due + kLatency);
}

// Replaying a long song up to a start position hands over thousands of controllers at once,
// more than the queue holds; each of them matters for what follows, so the sender waits for
// the audio thread to take some rather than losing them. A stalled audio thread gives up.
int SynthMidiOutput::PushWaiting(TimedMessageQueue::Kind kind, const std::uint8_t* bytes,
                                 std::size_t length, MonoTime at) {
    return m_scheduler->PushWaiting(kind, bytes, length, at, std::chrono::seconds(2));
}

int SynthMidiOutput::SetVolume(std::uint32_t volume) {
    if (!m_synth)
        return MIDIOUT_INVALHANDLE;
    g_volume.store(volume);
    // The audio thread alone touches the running synthesizer.
    m_volumeRequest.store(volume, std::memory_order_release);
    return MIDIOUT_OK;
}

int SynthMidiOutput::GetVolume(std::uint32_t& volume) {
    if (!m_synth)
        return MIDIOUT_INVALHANDLE;
    volume = g_volume.load();
    return MIDIOUT_OK;
}

std::chrono::microseconds SynthMidiOutput::SoundLatency() const noexcept {
    if (m_driver == nullptr && !m_stream)
        return std::chrono::microseconds(0);
    if (const std::int64_t ahead = m_measuredAhead.load(); ahead >= 0)
        return kLatency + std::chrono::microseconds(ahead / 1000);
    const std::int64_t buffered = std::int64_t{PeriodFrames(m_driverName)} * kPeriods;
    return kLatency + std::chrono::microseconds(buffered * 1000000 / FluidSynthCore::kSampleRate) +
           AudioStreamClock::kMargin;
}

int SynthMidiOutput::AudioCallback(void* data, int frames, int fxCount, float* fx[], int outCount,
                                   float* out[]) {
    auto* self = static_cast<SynthMidiOutput*>(data);
    if (outCount < 2)
        return FLUID_FAILED;
    for (int i = 0; i < fxCount; ++i)
        std::fill(fx[i], fx[i] + frames, 0.0f);
    self->RenderAudio(out[0], out[1], frames, MonoTime{});
    return FLUID_OK;
}

void SynthMidiOutput::StreamCallback(void* data, float* left, float* right, int frames,
                                     MonoTime heard) {
    static_cast<SynthMidiOutput*>(data)->RenderAudio(left, right, frames, heard);
}

void SynthMidiOutput::RenderAudio(float* left, float* right, int frames, MonoTime heard) {
    const std::uint64_t volume =
        m_volumeRequest.exchange(kNoVolumeRequest, std::memory_order_acquire);
    if (volume != kNoVolumeRequest)
        m_synth->SetVolume(static_cast<std::uint32_t>(volume));
    const MonoTime label = m_streamClock.Label(std::chrono::steady_clock::now(), frames);
    m_scheduler->Render(left, right, frames, label);
    // Labels say something only once the line is set.
    if (heard == MonoTime{} || !m_streamClock.Settled())
        return;
    const auto ahead = static_cast<double>(
        std::max<std::int64_t>(0, std::chrono::nanoseconds(heard - label).count()));
    m_aheadAverage =
        m_aheadAverage < 0 ? ahead : m_aheadAverage + (ahead - m_aheadAverage) * kAheadSmoothing;
    m_measuredAhead.store(static_cast<std::int64_t>(m_aheadAverage), std::memory_order_relaxed);
}
