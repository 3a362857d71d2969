#pragma once

#include "synth/SoundFontImage.h"

#include <memory>
#include <string>

struct _fluid_hashtable_t;
struct _fluid_synth_t;

// Lets FluidSynth open SoundFont images by name as it opens files: a synthesizer given the
// loader reads a registered image through it, and any other name as the file it names. An
// image stays readable while FluidSynth holds it open, unregistered or not.
class SoundFontImageFiles {
public:
    // Adds the loader to `synth`, which owns it from then on.
    static void Install(_fluid_hashtable_t* settings, _fluid_synth_t* synth);
    // The name to load the image by, until Unregister.
    static std::string Register(std::shared_ptr<const SoundFontImage> image);
    static void Unregister(const std::string& name);
};
