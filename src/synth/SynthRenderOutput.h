#pragma once

#include "output/MidiOutput.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class FluidSynthCore;
class SynthScheduler;

// The embedded synthesizer without an audio device: renders to memory as fast as it can, each
// message at the frame of its due time (no latency is added), on a timeline whose frame 0 is
// the clock's time at Open. The caller alternates sending and RenderUntil.
class SynthRenderOutput final : public MidiOutput {
public:
    // Receives stretches of rendered stereo audio; returning false stops rendering.
    using Sink = std::function<bool(const float* left, const float* right, int frames)>;

    static constexpr int kSampleRate = 44100;

    // An empty path means SoundFontLocator's choice. `cpuCores` above 1 spreads the voices
    // over that many threads; the samples stay the same.
    SynthRenderOutput(std::string soundFontPath, const Clock& clock, int cpuCores = 1);
    ~SynthRenderOutput() override;

    int Open() override;
    int Reset() override;
    int ShortMsg(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                 MonoTime due) override;
    int LongMsg(const std::uint8_t* bytes, std::size_t length, MonoTime due) override;
    int SetVolume(std::uint32_t volume) override;
    int GetVolume(std::uint32_t& volume) override;
    int Close() override;

    // Renders every frame before `until`. False when not open or the sink refused.
    bool RenderUntil(MonoTime until, const Sink& sink);
    bool RenderFrames(std::int64_t frames, const Sink& sink);
    std::int64_t FramesRendered() const noexcept { return m_frames; }
    const std::string& SoundFontPath() const noexcept { return m_usedPath; }

private:
    std::string m_soundFontPath;
    std::string m_usedPath;
    const Clock& m_clock;
    int m_cpuCores;
    std::unique_ptr<FluidSynthCore> m_synth;
    std::unique_ptr<SynthScheduler> m_scheduler;
    MonoTime m_origin{};
    std::int64_t m_frames = 0;
    std::uint32_t m_volume = kFullVolume;
    std::vector<float> m_left;
    std::vector<float> m_right;
};
