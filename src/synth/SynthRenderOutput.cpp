#include "synth/SynthRenderOutput.h"

#include "core/MidiOutError.h"
#include "output/ShortMessage.h"
#include "synth/FluidSynthCore.h"
#include "synth/SoundFontLocator.h"
#include "synth/SynthScheduler.h"

#include <algorithm>

namespace {

constexpr int kChunkFrames = 8192;

} // namespace

SynthRenderOutput::SynthRenderOutput(std::string soundFontPath, const Clock& clock, int cpuCores)
    : m_soundFontPath(std::move(soundFontPath)), m_clock(clock), m_cpuCores(cpuCores) {}

SynthRenderOutput::~SynthRenderOutput() = default;

int SynthRenderOutput::Open() {
    if (m_synth)
        return MIDIOUT_ALLOCATED;
    const std::string path = m_soundFontPath.empty() ? SoundFontLocator().Find() : m_soundFontPath;
    if (path.empty())
        return MIDIOUT_NOSOUNDFONT;
    auto synth = std::make_unique<FluidSynthCore>(m_cpuCores);
    const int result = synth->Load(path);
    if (result != MIDIOUT_OK)
        return result;
    m_synth = std::move(synth);
    m_synth->SetVolume(m_volume);
    m_scheduler = std::make_unique<SynthScheduler>(*m_synth, TimedMessageQueue::Growth::Doubling);
    m_usedPath = path;
    m_origin = m_clock.Now();
    m_frames = 0;
    m_left.assign(kChunkFrames, 0.0f);
    m_right.assign(kChunkFrames, 0.0f);
    return MIDIOUT_OK;
}

int SynthRenderOutput::Close() {
    if (!m_synth)
        return MIDIOUT_INVALHANDLE;
    m_scheduler.reset();
    m_synth.reset();
    return MIDIOUT_OK;
}

int SynthRenderOutput::Reset() {
    if (!m_scheduler)
        return MIDIOUT_INVALHANDLE;
    return m_scheduler->Push(TimedMessageQueue::Kind::Reset, nullptr, 0, m_clock.Now());
}

int SynthRenderOutput::ShortMsg(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                                MonoTime due) {
    if (!m_scheduler)
        return MIDIOUT_INVALHANDLE;
    const std::uint8_t bytes[3] = {status, data1, data2};
    const std::size_t length = ShortMessageLength(status);
    if (length == 0)
        return MIDIOUT_INVALPARAM;
    return m_scheduler->Push(TimedMessageQueue::Kind::Short, bytes, length, due);
}

int SynthRenderOutput::LongMsg(const std::uint8_t* bytes, std::size_t length, MonoTime due) {
    if (!m_scheduler)
        return MIDIOUT_INVALHANDLE;
    if (bytes == nullptr || length == 0)
        return MIDIOUT_INVALPARAM;
    return m_scheduler->Push(TimedMessageQueue::Kind::Long, bytes, length, due);
}

int SynthRenderOutput::SetVolume(std::uint32_t volume) {
    if (!m_synth)
        return MIDIOUT_INVALHANDLE;
    m_volume = volume;
    m_synth->SetVolume(volume);
    return MIDIOUT_OK;
}

int SynthRenderOutput::GetVolume(std::uint32_t& volume) {
    if (!m_synth)
        return MIDIOUT_INVALHANDLE;
    volume = m_volume;
    return MIDIOUT_OK;
}

bool SynthRenderOutput::RenderUntil(MonoTime until, const Sink& sink) {
    const std::int64_t ns =
        std::chrono::duration_cast<std::chrono::nanoseconds>(until - m_origin).count();
    const std::int64_t target = ns <= 0 ? 0 : ns * kSampleRate / 1000000000;
    return RenderFrames(std::max<std::int64_t>(target - m_frames, 0), sink);
}

bool SynthRenderOutput::RenderFrames(std::int64_t frames, const Sink& sink) {
    if (!m_scheduler)
        return false;
    while (frames > 0) {
        const int chunk = static_cast<int>(std::min<std::int64_t>(frames, kChunkFrames));
        const MonoTime first =
            m_origin + std::chrono::nanoseconds(m_frames * 1000000000 / kSampleRate);
        m_scheduler->Render(m_left.data(), m_right.data(), chunk, first);
        m_frames += chunk;
        frames -= chunk;
        if (!sink(m_left.data(), m_right.data(), chunk))
            return false;
    }
    return true;
}
