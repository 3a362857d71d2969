#include "pipewire/PipeWireAudioStream.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <pipewire/pipewire.h>
#include <spa/param/audio/format-utils.h>
#include <string>

namespace {

constexpr int kChannels = 2;
constexpr int kStride = kChannels * static_cast<int>(sizeof(float));
// Long enough for a server that has to wake a sink, short enough not to hold up a play that
// then falls back to another driver.
constexpr int kStartSeconds = 2;

void InitLibrary() {
    static std::once_flag once;
    std::call_once(once, [] {
        pw_init(nullptr, nullptr);
        // A machine without a server is told by our result, not by the library on stderr.
        if (std::getenv("PIPEWIRE_DEBUG") == nullptr)
            pw_log_set_level(SPA_LOG_LEVEL_NONE);
    });
}

void OnStateChanged(void* data, pw_stream_state, pw_stream_state, const char*) {
    pw_thread_loop_signal(static_cast<pw_thread_loop*>(data), false);
}

// Two listeners: the thread loop wants its signal on a change of state, the renderer the
// process event.
pw_stream_events StateEvents() {
    pw_stream_events events{};
    events.version = PW_VERSION_STREAM_EVENTS;
    events.state_changed = OnStateChanged;
    return events;
}

pw_stream_events ProcessEvents(void (*process)(void*)) {
    pw_stream_events events{};
    events.version = PW_VERSION_STREAM_EVENTS;
    events.process = process;
    return events;
}

} // namespace

PipeWireAudioStream::PipeWireAudioStream() = default;

PipeWireAudioStream::~PipeWireAudioStream() {
    Close();
}

bool PipeWireAudioStream::ServerReachable() {
    InitLibrary();
    pw_main_loop* loop = pw_main_loop_new(nullptr);
    if (loop == nullptr)
        return false;
    bool reachable = false;
    if (pw_context* context = pw_context_new(pw_main_loop_get_loop(loop), nullptr, 0)) {
        if (pw_core* core = pw_context_connect(context, nullptr, 0)) {
            reachable = true;
            pw_core_disconnect(core);
        }
        pw_context_destroy(context);
    }
    pw_main_loop_destroy(loop);
    return reachable;
}

bool PipeWireAudioStream::Open(int sampleRate, int chunkFrames, RenderFunction render, void* data) {
    if (m_loop != nullptr)
        return false;
    InitLibrary();
    m_interleaver.SetRenderer(render, data, sampleRate);
    m_loop = pw_thread_loop_new("druvel-pipewire", nullptr);
    if (m_loop == nullptr)
        return false;
    // The real-time client configuration: the data thread asks for real-time priority. The
    // format converter in our process sizes its buffers for the largest chunk the graph may
    // ask for: 8192 frames by default, several MB resident. We ask for 1024, so while we play
    // the graph's chunks stay far below the 4096 allowed here.
    m_context = pw_context_new(pw_thread_loop_get_loop(m_loop),
                               pw_properties_new(PW_KEY_CONFIG_NAME, "client-rt.conf",
                                                 "default.clock.quantum-limit", "4096", nullptr),
                               0);
    if (m_context == nullptr || pw_thread_loop_start(m_loop) != 0) {
        Close();
        return false;
    }
    pw_thread_loop_lock(m_loop);
    m_core = pw_context_connect(m_context, nullptr, 0);
    if (m_core == nullptr) {
        pw_thread_loop_unlock(m_loop);
        Close();
        return false;
    }
    const std::string latency = std::to_string(chunkFrames) + "/" + std::to_string(sampleRate);
    m_stream = pw_stream_new(m_core, "Druvel",
                             pw_properties_new(PW_KEY_MEDIA_TYPE, "Audio", PW_KEY_MEDIA_CATEGORY,
                                               "Playback", PW_KEY_MEDIA_ROLE, "Music",
                                               PW_KEY_NODE_LATENCY, latency.c_str(), nullptr));
    bool started = false;
    if (m_stream != nullptr) {
        static const pw_stream_events events = ProcessEvents(&PipeWireAudioStream::OnProcess);
        static const pw_stream_events stateEvents = StateEvents();
        m_listener = std::make_unique<spa_hook>();
        m_stateListener = std::make_unique<spa_hook>();
        pw_stream_add_listener(m_stream, m_listener.get(), &events, this);
        pw_stream_add_listener(m_stream, m_stateListener.get(), &stateEvents, m_loop);

        std::uint8_t podBuffer[1024];
        spa_pod_builder builder{};
        spa_pod_builder_init(&builder, podBuffer, sizeof podBuffer);
        spa_audio_info_raw info{};
        info.format = SPA_AUDIO_FORMAT_F32;
        info.rate = static_cast<std::uint32_t>(sampleRate);
        info.channels = kChannels;
        info.position[0] = SPA_AUDIO_CHANNEL_FL;
        info.position[1] = SPA_AUDIO_CHANNEL_FR;
        const spa_pod* params[1] = {
            spa_format_audio_raw_build(&builder, SPA_PARAM_EnumFormat, &info)};
        const auto flags = static_cast<pw_stream_flags>(
            PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_MAP_BUFFERS | PW_STREAM_FLAG_RT_PROCESS);
        if (pw_stream_connect(m_stream, PW_DIRECTION_OUTPUT, PW_ID_ANY, flags, params, 1) == 0) {
            // Woken at each change of state. A server without an audio sink (PipeWire for
            // screen sharing beside PulseAudio, or no session manager) never starts the
            // stream: it is given up on time, and the next driver is the one that sounds.
            const auto deadline =
                std::chrono::steady_clock::now() + std::chrono::seconds(kStartSeconds);
            pw_stream_state state = pw_stream_get_state(m_stream, nullptr);
            while (state != PW_STREAM_STATE_STREAMING && state != PW_STREAM_STATE_ERROR &&
                   std::chrono::steady_clock::now() < deadline) {
                pw_thread_loop_timed_wait(m_loop, 1);
                state = pw_stream_get_state(m_stream, nullptr);
            }
            started = state == PW_STREAM_STATE_STREAMING;
        }
    }
    pw_thread_loop_unlock(m_loop);
    if (!started)
        Close();
    return started;
}

void PipeWireAudioStream::Close() {
    if (m_loop == nullptr)
        return;
    pw_thread_loop_lock(m_loop);
    // Destroying the stream takes it out of the data thread first: no process call follows.
    if (m_stream != nullptr) {
        pw_stream_destroy(m_stream);
        m_stream = nullptr;
    }
    if (m_core != nullptr) {
        pw_core_disconnect(m_core);
        m_core = nullptr;
    }
    pw_thread_loop_unlock(m_loop);
    pw_thread_loop_stop(m_loop);
    if (m_context != nullptr) {
        pw_context_destroy(m_context);
        m_context = nullptr;
    }
    pw_thread_loop_destroy(m_loop);
    m_loop = nullptr;
    m_listener.reset();
    m_stateListener.reset();
}

void PipeWireAudioStream::OnProcess(void* data) {
    static_cast<PipeWireAudioStream*>(data)->Process();
}

// The real-time thread: no lock, no allocation.
void PipeWireAudioStream::Process() {
    pw_buffer* buffer = pw_stream_dequeue_buffer(m_stream);
    if (buffer == nullptr)
        return;
    spa_data& plane = buffer->buffer->datas[0];
    auto* out = static_cast<float*>(plane.data);
    if (out == nullptr) {
        pw_stream_queue_buffer(m_stream, buffer);
        return;
    }
    int frames = static_cast<int>(plane.maxsize / kStride);
    if (buffer->requested > 0)
        frames = std::min(frames, static_cast<int>(buffer->requested));

    // What the server already holds of ours, and its path to the sink, come before this chunk.
    MonoTime heard{};
    pw_time time{};
    if (pw_stream_get_time_n(m_stream, &time, sizeof time) == 0 && time.now > 0 &&
        time.rate.denom > 0) {
        const std::int64_t delay = time.delay * 1000000000 * time.rate.num / time.rate.denom;
        const auto held = static_cast<std::int64_t>(time.queued + time.buffered);
        heard = MonoTime(std::chrono::nanoseconds(time.now + delay +
                                                  held * 1000000000 / m_interleaver.SampleRate()));
    }

    m_interleaver.Render(out, frames, heard);
    plane.chunk->offset = 0;
    plane.chunk->stride = kStride;
    plane.chunk->size = static_cast<std::uint32_t>(frames * kStride);
    // Counted in frames, so the server's report of what it holds is in frames too.
    buffer->size = static_cast<std::uint64_t>(frames);
    pw_stream_queue_buffer(m_stream, buffer);
}
