#pragma once

#include "synth/SoundFontImage.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

struct _fluid_hashtable_t;
struct _fluid_synth_t;

// Lets FluidSynth open SoundFont images by name as it opens files: a synthesizer given the
// loader reads a registered image through it, and any other name as the file it names. An
// image stays readable while FluidSynth holds it open, unregistered or not.
class SoundFontImageFiles {
public:
    // The one registry. A synthesizer keeps it while it lives: a cached synthesizer is
    // destroyed at exit, in an order across files that nothing fixes.
    static std::shared_ptr<SoundFontImageFiles> Shared();
    // Adds the loader to `synth`, which owns it from then on.
    static void Install(_fluid_hashtable_t* settings, _fluid_synth_t* synth);

    // The name to load the image by, until Unregister.
    std::string Register(std::shared_ptr<const SoundFontImage> image);
    void Unregister(const std::string& name);
    std::shared_ptr<const SoundFontImage> Find(const std::string& name) const;

private:
    // FluidSynth opens a SoundFont at loading and again whenever it reads an instrument's
    // samples, from whichever thread loads.
    mutable std::mutex m_mutex;
    std::map<std::string, std::shared_ptr<const SoundFontImage>> m_images; // guarded
    std::uint64_t m_serial = 0;                                            // guarded
};
