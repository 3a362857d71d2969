#pragma once

#include "clock/Clock.h"

// A stereo playback stream on a sound server whose thread asks a renderer for every chunk the
// server wants, saying when the chunk's first frame will be heard. Rendering is called without
// any lock of ours and must neither block nor allocate.
class AudioStream {
public:
    // `heard` is when the chunk's first frame leaves the sink, or a default MonoTime when the
    // server has not said.
    using RenderFunction = void (*)(void* data, float* left, float* right, int frames,
                                    MonoTime heard);
    // Frames the renderer is asked for at most in one call: larger chunks come in pieces.
    static constexpr int kMaxFrames = 4096;

    virtual ~AudioStream() = default;

    // Connects and starts the stream at `sampleRate`, in chunks of about `chunkFrames`. False
    // when no server answers, the stream cannot be made, or the server does not start it in time.
    virtual bool Open(int sampleRate, int chunkFrames, RenderFunction render, void* data) = 0;
    // Stops the stream; no render call runs after this returns.
    virtual void Close() = 0;
};
