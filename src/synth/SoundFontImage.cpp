#include "synth/SoundFontImage.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr std::uint64_t kRiffSizeOffset = 4;
constexpr std::uint64_t kRiffSizeBytes = 4;

} // namespace

SoundFontImage::SoundFontImage(std::string path, std::uint64_t keptBytes,
                               std::vector<std::uint8_t> presetPart)
    : m_path(std::move(path)), m_keptBytes(keptBytes), m_presetPart(std::move(presetPart)) {
    const std::uint64_t riffSize = Size() - 8;
    for (std::uint64_t i = 0; i < kRiffSizeBytes; ++i)
        m_riffSize[i] = static_cast<std::uint8_t>(riffSize >> (8 * i));
}

bool SoundFontImage::Read(std::FILE* file, std::uint64_t offset, void* buffer,
                          std::size_t count) const {
    if (offset > Size() || count > Size() - offset)
        return false;
    auto* out = static_cast<std::uint8_t*>(buffer);
    if (offset < m_keptBytes) {
        const std::size_t fromFile =
            static_cast<std::size_t>(std::min<std::uint64_t>(count, m_keptBytes - offset));
        if (::fseeko(file, static_cast<off_t>(offset), SEEK_SET) != 0 ||
            std::fread(out, 1, fromFile, file) != fromFile)
            return false;
        // The RIFF size is ours: the preset part differs in length from the file's.
        for (std::uint64_t i = 0; i < kRiffSizeBytes; ++i) {
            const std::uint64_t at = kRiffSizeOffset + i;
            if (at >= offset && at < offset + fromFile)
                out[at - offset] = m_riffSize[i];
        }
        out += fromFile;
        offset += fromFile;
        count -= fromFile;
    }
    if (count > 0)
        std::memcpy(out, m_presetPart.data() + (offset - m_keptBytes), count);
    return true;
}
