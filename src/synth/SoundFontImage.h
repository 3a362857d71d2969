#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// A SoundFont file as the synthesizer is to read it: the file's own bytes up to its preset
// part, then a preset part given here in its place. The samples stay in the file, at the same
// offsets, and are read from it only when an instrument is kept.
class SoundFontImage {
public:
    // `keptBytes` of `path` are used as they are but for the RIFF size, which is made to fit.
    SoundFontImage(std::string path, std::uint64_t keptBytes, std::vector<std::uint8_t> presetPart);

    const std::string& Path() const noexcept { return m_path; }
    std::uint64_t Size() const noexcept { return m_keptBytes + m_presetPart.size(); }

    // Fills `buffer` with the image's bytes from `offset`, reading `file` (opened on Path())
    // where they are the file's; false if the image or the file ends first.
    bool Read(std::FILE* file, std::uint64_t offset, void* buffer, std::size_t count) const;

private:
    std::string m_path;
    std::uint64_t m_keptBytes;
    std::vector<std::uint8_t> m_presetPart;
    std::uint8_t m_riffSize[4]; // little-endian Size() - 8, at offset 4
};
