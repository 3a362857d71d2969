#pragma once

#include "synth/SoundFontImage.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The presets of a SoundFont file, and images of it that hold only some of them. FluidSynth
// builds tables for every preset it is given, 11 MB for a General MIDI set, though a song
// selects a dozen; an image with only those costs a fraction and sounds the same, its
// instruments and samples being the file's own.
class SoundFontSubset {
public:
    using Preset = std::pair<int, int>; // bank, program

    // Reads the preset list; false if the file is not a SoundFont laid out as the standard
    // says (information, samples, then presets, last), which is then to be loaded whole.
    bool Read(const std::string& path);

    const std::string& Path() const noexcept { return m_path; }
    bool Has(int bank, int program) const;
    const std::vector<Preset>& Presets() const noexcept { return m_presets; }

    // An image with those of `presets` the file has; null if the file changed meanwhile.
    std::shared_ptr<const SoundFontImage> Select(const std::vector<Preset>& presets) const;

private:
    struct Chunk {
        std::string id;
        std::uint64_t offset = 0; // of its data
        std::uint32_t size = 0;
    };
    bool ReadPresetPart(std::vector<Chunk>& chunks, std::vector<std::uint8_t>& part) const;

    std::string m_path;
    std::uint64_t m_presetPartOffset = 0; // of the pdta list's header
    std::uint32_t m_presetPartSize = 0;   // its data, after the header
    std::vector<Preset> m_presets;        // sorted
};
