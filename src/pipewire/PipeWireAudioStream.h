#pragma once

#include "clock/Clock.h"

#include <array>
#include <memory>

struct pw_buffer;
struct pw_context;
struct pw_core;
struct pw_stream;
struct pw_thread_loop;
struct spa_hook;

// A stereo playback stream on the PipeWire server of this session, through PipeWire's own
// interface. Its real-time thread asks the renderer for every chunk the server wants, and the
// server's clock tells when the chunk's first frame will be heard. Rendering is called without
// any lock of ours and must neither block nor allocate.
class PipeWireAudioStream {
public:
    // `heard` is when the chunk's first frame leaves the sink, or a default MonoTime when the
    // server has not said.
    using RenderFunction = void (*)(void* data, float* left, float* right, int frames,
                                    MonoTime heard);

    PipeWireAudioStream();
    ~PipeWireAudioStream();
    PipeWireAudioStream(const PipeWireAudioStream&) = delete;
    PipeWireAudioStream& operator=(const PipeWireAudioStream&) = delete;

    // Whether a PipeWire server answers here now (connects and disconnects at once).
    static bool ServerReachable();

    // Connects and starts the stream at `sampleRate`, asking the server for chunks of
    // `chunkFrames`. False when no server answers, the stream cannot be made, or the server
    // does not start it within two seconds (it has no sink to play on).
    bool Open(int sampleRate, int chunkFrames, RenderFunction render, void* data);
    // Stops the stream; no render call runs after this returns.
    void Close();
    bool IsOpen() const noexcept { return m_stream != nullptr; }

    // Frames the renderer is asked for at most in one call: larger chunks come in pieces.
    static constexpr int kMaxFrames = 4096;

private:
    static void OnProcess(void* data);
    void Process();

    pw_thread_loop* m_loop = nullptr;
    pw_context* m_context = nullptr;
    pw_core* m_core = nullptr;
    pw_stream* m_stream = nullptr;
    std::unique_ptr<spa_hook> m_listener;
    std::unique_ptr<spa_hook> m_stateListener;
    RenderFunction m_render = nullptr;
    void* m_data = nullptr;
    int m_sampleRate = 0;
    std::array<float, kMaxFrames> m_left{};
    std::array<float, kMaxFrames> m_right{};
};
