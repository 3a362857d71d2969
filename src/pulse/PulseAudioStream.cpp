#include "pulse/PulseAudioStream.h"

#include <algorithm>
#include <chrono>
#include <pulse/pulseaudio.h>

namespace {

constexpr int kChannels = 2;
constexpr std::size_t kStride = kChannels * sizeof(float);
// The server holds two and a half chunks and asks for one at a time. With just two, a null sink
// was seen asking for a little more than it played (1700 ppm), which no clock can follow.
constexpr int kHalfChunks = 5;
// Long enough for a server that has to wake a sink, short enough not to hold up a play that
// then falls back to another driver.
constexpr auto kStartTime = std::chrono::seconds(2);

bool ContextSettled(pa_context_state_t state) {
    return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
}

bool StreamSettled(pa_stream_state_t state) {
    return state == PA_STREAM_READY || !PA_STREAM_IS_GOOD(state);
}

pa_proplist* Properties() {
    pa_proplist* properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, "Druvel");
    pa_proplist_sets(properties, PA_PROP_APPLICATION_ID, "druvel");
    pa_proplist_sets(properties, PA_PROP_APPLICATION_ICON_NAME, "druvel");
    pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, "music");
    return properties;
}

// Waits on the loop (its lock held) until `settled`, giving up at the deadline: the library
// has no timed wait, so a wake-up of our own is set on the loop for it.
template <class Settled> bool AwaitSettled(pa_threaded_mainloop* loop, Settled settled) {
    const auto deadline = std::chrono::steady_clock::now() + kStartTime;
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop);
    const auto wake = [](pa_mainloop_api*, pa_time_event*, const timeval*, void* data) {
        pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(data), 0);
    };
    timeval at{};
    pa_timeval_add(pa_gettimeofday(&at), std::chrono::microseconds(kStartTime).count());
    pa_time_event* timeout = api->time_new(api, &at, wake, loop);
    while (!settled() && std::chrono::steady_clock::now() < deadline)
        pa_threaded_mainloop_wait(loop);
    api->time_free(timeout);
    return settled();
}

} // namespace

PulseAudioStream::~PulseAudioStream() {
    Close();
}

bool PulseAudioStream::ServerReachable() {
    PulseAudioStream probe;
    const bool reachable = probe.ConnectContext();
    probe.Close();
    return reachable;
}

bool PulseAudioStream::Open(int sampleRate, int chunkFrames, RenderFunction render, void* data) {
    if (m_loop != nullptr)
        return false;
    m_interleaver.SetRenderer(render, data, sampleRate);
    const bool open = ConnectContext() && ConnectStream(sampleRate, chunkFrames);
    if (!open)
        Close();
    return open;
}

bool PulseAudioStream::ConnectContext() {
    m_loop = pa_threaded_mainloop_new();
    if (m_loop == nullptr)
        return false;
    pa_proplist* properties = Properties();
    m_context =
        pa_context_new_with_proplist(pa_threaded_mainloop_get_api(m_loop), "Druvel", properties);
    pa_proplist_free(properties);
    if (m_context == nullptr)
        return false;
    pa_context_set_state_callback(m_context, &PulseAudioStream::OnContextState, this);
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0 ||
        pa_threaded_mainloop_start(m_loop) < 0)
        return false;
    pa_threaded_mainloop_lock(m_loop);
    const bool ready =
        AwaitSettled(m_loop, [this] { return ContextSettled(pa_context_get_state(m_context)); }) &&
        pa_context_get_state(m_context) == PA_CONTEXT_READY;
    pa_threaded_mainloop_unlock(m_loop);
    return ready;
}

bool PulseAudioStream::ConnectStream(int sampleRate, int chunkFrames) {
    pa_threaded_mainloop_lock(m_loop);
    pa_sample_spec format{};
    format.format = PA_SAMPLE_FLOAT32NE;
    format.rate = static_cast<std::uint32_t>(sampleRate);
    format.channels = kChannels;
    pa_channel_map map{};
    pa_channel_map_init_stereo(&map);
    pa_proplist* properties = Properties();
    m_stream = pa_stream_new_with_proplist(m_context, "Druvel", &format, &map, properties);
    pa_proplist_free(properties);
    bool ready = false;
    if (m_stream != nullptr) {
        pa_stream_set_state_callback(m_stream, &PulseAudioStream::OnStreamState, this);
        pa_stream_set_write_callback(m_stream, &PulseAudioStream::OnWrite, this);
        // The server asks for a whole chunk at a time, so the loop wakes once a chunk; the
        // latency is what it holds, the sink's own included.
        const auto chunk = static_cast<std::uint32_t>(chunkFrames * kStride);
        pa_buffer_attr attributes{};
        attributes.maxlength = static_cast<std::uint32_t>(-1);
        attributes.tlength = static_cast<std::uint32_t>(chunkFrames / 2 * kHalfChunks * kStride);
        attributes.prebuf = static_cast<std::uint32_t>(-1);
        attributes.minreq = chunk;
        attributes.fragsize = static_cast<std::uint32_t>(-1);
        const auto flags = static_cast<pa_stream_flags_t>(
            PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE);
        if (pa_stream_connect_playback(m_stream, nullptr, &attributes, flags, nullptr, nullptr) ==
            0)
            ready = AwaitSettled(m_loop,
                                 [this] { return StreamSettled(pa_stream_get_state(m_stream)); }) &&
                    pa_stream_get_state(m_stream) == PA_STREAM_READY;
    }
    pa_threaded_mainloop_unlock(m_loop);
    return ready;
}

void PulseAudioStream::Close() {
    if (m_loop == nullptr)
        return;
    pa_threaded_mainloop_lock(m_loop);
    // Under the loop's lock no callback runs; once disconnected, none follows.
    if (m_stream != nullptr) {
        pa_stream_set_write_callback(m_stream, nullptr, nullptr);
        pa_stream_set_state_callback(m_stream, nullptr, nullptr);
        pa_stream_disconnect(m_stream);
        pa_stream_unref(m_stream);
        m_stream = nullptr;
    }
    if (m_context != nullptr) {
        pa_context_set_state_callback(m_context, nullptr, nullptr);
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
        m_context = nullptr;
    }
    pa_threaded_mainloop_unlock(m_loop);
    pa_threaded_mainloop_stop(m_loop);
    pa_threaded_mainloop_free(m_loop);
    m_loop = nullptr;
}

void PulseAudioStream::OnContextState(pa_context*, void* self) {
    pa_threaded_mainloop_signal(static_cast<PulseAudioStream*>(self)->m_loop, 0);
}

void PulseAudioStream::OnStreamState(pa_stream*, void* self) {
    pa_threaded_mainloop_signal(static_cast<PulseAudioStream*>(self)->m_loop, 0);
}

void PulseAudioStream::OnWrite(pa_stream*, std::size_t bytes, void* self) {
    static_cast<PulseAudioStream*>(self)->Write(bytes);
}

// The loop's thread, with its lock held: the library's own buffer is filled in place.
void PulseAudioStream::Write(std::size_t bytes) {
    // What the server holds of ours and its path to the sink come before these frames.
    MonoTime heard{};
    pa_usec_t latency = 0;
    int negative = 0;
    if (pa_stream_get_latency(m_stream, &latency, &negative) == 0 && negative == 0)
        heard = std::chrono::steady_clock::now() + std::chrono::microseconds(latency);
    std::int64_t written = 0;
    while (bytes >= kStride) {
        void* buffer = nullptr;
        std::size_t size = bytes;
        if (pa_stream_begin_write(m_stream, &buffer, &size) < 0 || buffer == nullptr)
            return;
        const int frames = static_cast<int>(std::min(size, bytes) / kStride);
        m_interleaver.Render(static_cast<float*>(buffer), frames,
                             heard == MonoTime{}
                                 ? heard
                                 : heard + std::chrono::nanoseconds(written * 1000000000 /
                                                                    m_interleaver.SampleRate()));
        const std::size_t filled = static_cast<std::size_t>(frames) * kStride;
        if (pa_stream_write(m_stream, buffer, filled, nullptr, 0, PA_SEEK_RELATIVE) < 0)
            return;
        written += frames;
        bytes -= filled;
    }
}
