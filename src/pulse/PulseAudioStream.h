#pragma once

#include "clock/AudioStream.h"
#include "clock/StereoInterleaver.h"

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

// The playback stream on the PulseAudio server (or pipewire-pulse) of this session. The
// client library's own thread renders each request of the server in place, so one thread both
// renders and talks to the server, woken once a chunk; the server's timing reports tell when
// the frames are heard.
class PulseAudioStream final : public AudioStream {
public:
    PulseAudioStream() = default;
    ~PulseAudioStream() override;
    PulseAudioStream(const PulseAudioStream&) = delete;
    PulseAudioStream& operator=(const PulseAudioStream&) = delete;

    // Whether a PulseAudio server answers here now (connects and disconnects at once).
    static bool ServerReachable();

    // The server holds two and a half chunks of `chunkFrames` and asks for one at a time.
    bool Open(int sampleRate, int chunkFrames, RenderFunction render, void* data) override;
    void Close() override;
    bool IsOpen() const noexcept { return m_stream != nullptr; }

private:
    static void OnContextState(pa_context* context, void* self);
    static void OnStreamState(pa_stream* stream, void* self);
    static void OnWrite(pa_stream* stream, std::size_t bytes, void* self);
    bool ConnectContext();
    bool ConnectStream(int sampleRate, int chunkFrames);
    void Write(std::size_t bytes);

    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    pa_stream* m_stream = nullptr;
    StereoInterleaver m_interleaver;
};
