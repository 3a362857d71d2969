#pragma once

#include "clock/AudioStreamClock.h"
#include "output/MidiOutput.h"
#include "synth/TimedMessageQueue.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

class FluidSynthCore;
class AudioStream;
class SynthScheduler;
struct _fluid_audio_driver_t;

// The embedded synthesizer played live: through a stream of our own on the PipeWire or PulseAudio
// server, else FluidSynth's own ALSA driver (the first of them that opens). A
// message due at T is rendered into the frame that AudioStreamClock labels T + kLatency, so it is
// heard a constant time after T (kLatency, the driver's render-ahead and the clock's margin)
// whatever the tick's lateness. Open returns once the audio stream runs steadily. Closing stops the
// sound.
class SynthMidiOutput final : public MidiOutput {
public:
    // Drivers tried in this order: our own PipeWire and PulseAudio streams, then FluidSynth's
    // ALSA driver. The environment variable, set to one of them, leaves only that one.
    static constexpr const char* kAudioDrivers[] = {"pipewire", "pulseaudio", "alsa"};
    static constexpr const char* kDriverVariable = "DRUVEL_AUDIO_DRIVER";

    // An empty path means SoundFontChoice's, which falls back to the search when its file is
    // bad; a path given here is used as it is.
    explicit SynthMidiOutput(std::string soundFontPath = {});
    ~SynthMidiOutput() override;

    // MIDIOUT_NOSOUNDFONT without a usable SoundFont, MIDIOUT_NOAUDIO when no driver opens.
    // Waits for a running SynthWarmUp first.
    // The instruments Open loads before the stream starts.
    void PrepareSounds(const std::vector<Program>& programs) override { m_programs = programs; }
    int Open() override;
    int Reset() override;
    int ShortMsg(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                 MonoTime due) override;
    int LongMsg(const std::uint8_t* bytes, std::size_t length, MonoTime due) override;
    int SetVolume(std::uint32_t volume) override;
    int GetVolume(std::uint32_t& volume) override;
    int Close() override;
    // The timer period and how long a frame takes from its label to the sink: measured where
    // the server says when frames are heard, else the driver's buffered chunks and the stream
    // clock's margin.
    std::chrono::microseconds SoundLatency() const noexcept override;
    // Whether SoundLatency comes from the server rather than from the formula.
    bool LatencyMeasured() const noexcept { return m_measuredAhead.load() >= 0; }

    // The first driver of kAudioDrivers that opens here now, empty for none; opens it briefly.
    static std::string ProbeAudioDriver();
    // The drivers to try, in order, as the environment leaves them.
    static std::vector<std::string> AudioDrivers();

    // The driver that opened (for messages), empty while closed.
    const char* AudioDriver() const noexcept { return m_driverName; }

private:
    static int AudioCallback(void* data, int frames, int fxCount, float* fx[], int outCount,
                             float* out[]);
    static void StreamCallback(void* data, float* left, float* right, int frames, MonoTime heard);
    // `heard`: when the first frame leaves the sink, a default MonoTime when unknown.
    void RenderAudio(float* left, float* right, int frames, MonoTime heard);
    int PushWaiting(TimedMessageQueue::Kind kind, const std::uint8_t* bytes, std::size_t length,
                    MonoTime at);
    int OpenAudioDriver();
    void AwaitSteadyStream() const;

    std::string m_soundFontPath;
    std::vector<Program> m_programs;
    std::shared_ptr<FluidSynthCore> m_synth;
    std::unique_ptr<SynthScheduler> m_scheduler;
    _fluid_audio_driver_t* m_driver = nullptr;
    std::unique_ptr<AudioStream> m_stream;
    const char* m_driverName = "";
    // ns from a frame's label to its sound, averaged on the audio thread; -1 while unknown.
    std::atomic<std::int64_t> m_measuredAhead{-1};
    double m_aheadAverage = -1; // audio thread only
    AudioStreamClock m_streamClock;
    static constexpr std::uint64_t kNoVolumeRequest = std::uint64_t{1} << 32;
    std::atomic<std::uint64_t> m_volumeRequest{kNoVolumeRequest};
};
