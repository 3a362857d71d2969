#pragma once

#include "clock/AudioStream.h"
#include "clock/StereoInterleaver.h"

#include <memory>

struct pw_buffer;
struct pw_context;
struct pw_core;
struct pw_stream;
struct pw_thread_loop;
struct spa_hook;

// The playback stream on the PipeWire server of this session, through PipeWire's own
// interface: its real-time thread renders, and the server's clock tells when frames are heard.
class PipeWireAudioStream final : public AudioStream {
public:
    PipeWireAudioStream();
    ~PipeWireAudioStream() override;
    PipeWireAudioStream(const PipeWireAudioStream&) = delete;
    PipeWireAudioStream& operator=(const PipeWireAudioStream&) = delete;

    // Whether a PipeWire server answers here now (connects and disconnects at once).
    static bool ServerReachable();

    // Connects and starts the stream at `sampleRate`, asking the server for chunks of
    // `chunkFrames`. False when no server answers, the stream cannot be made, or the server
    // does not start it within two seconds (it has no sink to play on).
    bool Open(int sampleRate, int chunkFrames, RenderFunction render, void* data) override;
    void Close() override;
    bool IsOpen() const noexcept { return m_stream != nullptr; }

private:
    static void OnProcess(void* data);
    void Process();

    pw_thread_loop* m_loop = nullptr;
    pw_context* m_context = nullptr;
    pw_core* m_core = nullptr;
    pw_stream* m_stream = nullptr;
    std::unique_ptr<spa_hook> m_listener;
    std::unique_ptr<spa_hook> m_stateListener;
    StereoInterleaver m_interleaver;
};
