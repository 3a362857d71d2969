#include "synth/SoundFontSubset.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace {

// Record sizes of the preset headers, their zones, modulators and generators.
constexpr std::size_t kPresetBytes = 38;
constexpr std::size_t kBagBytes = 4;
constexpr std::size_t kModulatorBytes = 10;
constexpr std::size_t kGeneratorBytes = 4;
constexpr std::size_t kPresetBagOffset = 24;
// More than any SoundFont's preset part; a larger size is a broken file.
constexpr std::uint32_t kMostPresetBytes = 256u << 20;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::uint32_t Le32(const std::uint8_t* at) {
    return at[0] | at[1] << 8 | at[2] << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}
std::uint16_t Le16(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}
void PutLe16(std::uint8_t* at, std::size_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}
void AppendLe32(std::vector<std::uint8_t>& out, std::size_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

bool ReadAt(std::FILE* file, std::uint64_t offset, void* buffer, std::size_t count) {
    return ::fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0 &&
           std::fread(buffer, 1, count, file) == count;
}

// The four lists the presets are made of, as records.
struct PresetLists {
    const std::uint8_t* headers = nullptr;
    std::size_t headerCount = 0; // with the terminal record
    const std::uint8_t* bags = nullptr;
    std::size_t bagCount = 0;
    const std::uint8_t* modulators = nullptr;
    std::size_t modulatorCount = 0;
    const std::uint8_t* generators = nullptr;
    std::size_t generatorCount = 0;

    std::size_t FirstBag(std::size_t preset) const {
        return Le16(headers + preset * kPresetBytes + kPresetBagOffset);
    }
    std::size_t FirstGenerator(std::size_t bag) const { return Le16(bags + bag * kBagBytes); }
    std::size_t FirstModulator(std::size_t bag) const { return Le16(bags + bag * kBagBytes + 2); }

    // Every index within its list and none going back, as the file format promises.
    bool Consistent() const {
        if (headerCount < 1 || bagCount < 1 || modulatorCount < 1 || generatorCount < 1)
            return false;
        for (std::size_t p = 0; p + 1 < headerCount; ++p)
            if (FirstBag(p) > FirstBag(p + 1))
                return false;
        if (FirstBag(headerCount - 1) != bagCount - 1)
            return false;
        for (std::size_t b = 0; b + 1 < bagCount; ++b)
            if (FirstGenerator(b) > FirstGenerator(b + 1) ||
                FirstModulator(b) > FirstModulator(b + 1))
                return false;
        return FirstGenerator(bagCount - 1) < generatorCount &&
               FirstModulator(bagCount - 1) < modulatorCount;
    }
};

// The first four chunks of a checked preset part, as lists.
template <class Chunks>
PresetLists ListsOf(const Chunks& chunks, const std::vector<std::uint8_t>& part) {
    return {part.data() + chunks[0].offset, chunks[0].size / kPresetBytes,
            part.data() + chunks[1].offset, chunks[1].size / kBagBytes,
            part.data() + chunks[2].offset, chunks[2].size / kModulatorBytes,
            part.data() + chunks[3].offset, chunks[3].size / kGeneratorBytes};
}

} // namespace

bool SoundFontSubset::Read(const std::string& path) {
    m_path.clear();
    m_presets.clear();
    File file(std::fopen(path.c_str(), "rb"));
    if (!file || ::fseeko(file.get(), 0, SEEK_END) != 0)
        return false;
    const auto fileSize = static_cast<std::uint64_t>(::ftello(file.get()));
    std::uint8_t header[12];
    if (!ReadAt(file.get(), 0, header, sizeof header) || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "sfbk", 4) != 0)
        return false;
    const std::uint64_t riffEnd = std::min<std::uint64_t>(fileSize, 8 + Le32(header + 4));
    bool found = false;
    for (std::uint64_t at = 12; at + 8 <= riffEnd;) {
        std::uint8_t chunk[12];
        if (!ReadAt(file.get(), at, chunk, sizeof chunk))
            return false;
        const std::uint32_t size = Le32(chunk + 4);
        if (found || at + 8 + size > fileSize)
            return false; // something after the presets, or cut short
        if (std::memcmp(chunk, "LIST", 4) == 0 && std::memcmp(chunk + 8, "pdta", 4) == 0) {
            m_presetPartOffset = at;
            m_presetPartSize = size;
            found = true;
        }
        at += 8 + size + (size & 1);
    }
    if (!found || m_presetPartSize > kMostPresetBytes)
        return false;
    m_path = path;
    std::vector<Chunk> chunks;
    std::vector<std::uint8_t> part;
    if (!ReadPresetPart(chunks, part)) {
        m_path.clear();
        return false;
    }
    const PresetLists lists = ListsOf(chunks, part);
    for (std::size_t p = 0; p + 1 < lists.headerCount; ++p) {
        const std::uint8_t* record = lists.headers + p * kPresetBytes;
        m_presets.emplace_back(Le16(record + 22), Le16(record + 20));
    }
    std::sort(m_presets.begin(), m_presets.end());
    return true;
}

// The sub-chunks of the preset part, at offsets into `part`, checked to make sense.
bool SoundFontSubset::ReadPresetPart(std::vector<Chunk>& chunks,
                                     std::vector<std::uint8_t>& part) const {
    File file(std::fopen(m_path.c_str(), "rb"));
    part.resize(m_presetPartSize);
    if (!file || !ReadAt(file.get(), m_presetPartOffset + 8, part.data(), part.size()))
        return false;
    static constexpr const char* kOrder[] = {"pdta", "phdr", "pbag", "pmod", "pgen"};
    static constexpr std::size_t kRecord[] = {0, kPresetBytes, kBagBytes, kModulatorBytes,
                                              kGeneratorBytes};
    if (part.size() < 4 || std::memcmp(part.data(), kOrder[0], 4) != 0)
        return false;
    chunks.clear();
    for (std::size_t at = 4; at + 8 <= part.size();) {
        Chunk chunk{std::string(reinterpret_cast<const char*>(part.data() + at), 4), at + 8,
                    Le32(part.data() + at + 4)};
        if (chunk.offset + chunk.size > part.size())
            return false;
        at = chunk.offset + chunk.size + (chunk.size & 1);
        chunks.push_back(std::move(chunk));
    }
    // The four preset lists come first, in this order, each a whole number of records.
    if (chunks.size() < 4)
        return false;
    for (std::size_t i = 0; i < 4; ++i)
        if (chunks[i].id != kOrder[i + 1] || chunks[i].size % kRecord[i + 1] != 0)
            return false;
    return ListsOf(chunks, part).Consistent();
}

bool SoundFontSubset::Has(int bank, int program) const {
    return std::binary_search(m_presets.begin(), m_presets.end(), Preset{bank, program});
}

std::shared_ptr<const SoundFontImage>
SoundFontSubset::Select(const std::vector<Preset>& presets) const {
    std::vector<Chunk> chunks;
    std::vector<std::uint8_t> part;
    if (m_path.empty() || !ReadPresetPart(chunks, part))
        return nullptr;
    const PresetLists lists = ListsOf(chunks, part);
    std::vector<std::uint8_t> headers, bags, modulators, generators;
    const auto copy = [](std::vector<std::uint8_t>& to, const std::uint8_t* list, std::size_t from,
                         std::size_t until, std::size_t record) {
        to.insert(to.end(), list + from * record, list + until * record);
    };
    const auto addHeader = [&](std::size_t preset) {
        copy(headers, lists.headers, preset, preset + 1, kPresetBytes);
        PutLe16(headers.data() + headers.size() - kPresetBytes + kPresetBagOffset,
                bags.size() / kBagBytes);
    };
    const auto addBag = [&] {
        const std::size_t at = bags.size();
        bags.resize(at + kBagBytes);
        PutLe16(bags.data() + at, generators.size() / kGeneratorBytes);
        PutLe16(bags.data() + at + 2, modulators.size() / kModulatorBytes);
    };
    for (std::size_t p = 0; p + 1 < lists.headerCount; ++p) {
        const std::uint8_t* record = lists.headers + p * kPresetBytes;
        if (std::find(presets.begin(), presets.end(),
                      Preset{Le16(record + 22), Le16(record + 20)}) == presets.end())
            continue;
        addHeader(p);
        for (std::size_t b = lists.FirstBag(p); b < lists.FirstBag(p + 1); ++b) {
            addBag();
            copy(generators, lists.generators, lists.FirstGenerator(b), lists.FirstGenerator(b + 1),
                 kGeneratorBytes);
            copy(modulators, lists.modulators, lists.FirstModulator(b), lists.FirstModulator(b + 1),
                 kModulatorBytes);
        }
    }
    // Each list ends in its terminal record, the bag indices of the header's and the bag's
    // pointing past the last zone.
    addHeader(lists.headerCount - 1);
    addBag();
    copy(modulators, lists.modulators, lists.modulatorCount - 1, lists.modulatorCount,
         kModulatorBytes);
    copy(generators, lists.generators, lists.generatorCount - 1, lists.generatorCount,
         kGeneratorBytes);

    const std::map<std::string, const std::vector<std::uint8_t>*> replaced{
        {"phdr", &headers}, {"pbag", &bags}, {"pmod", &modulators}, {"pgen", &generators}};
    std::vector<std::uint8_t> out{'L', 'I', 'S', 'T', 0, 0, 0, 0, 'p', 'd', 't', 'a'};
    for (const Chunk& chunk : chunks) {
        out.insert(out.end(), chunk.id.begin(), chunk.id.end());
        const auto mine = replaced.find(chunk.id);
        const std::uint8_t* data =
            mine != replaced.end() ? mine->second->data() : part.data() + chunk.offset;
        const std::size_t size = mine != replaced.end() ? mine->second->size() : chunk.size;
        AppendLe32(out, size);
        out.insert(out.end(), data, data + size);
        if (size & 1)
            out.push_back(0);
    }
    const std::size_t listSize = out.size() - 8;
    for (int i = 0; i < 4; ++i)
        out[4 + i] = static_cast<std::uint8_t>(listSize >> (8 * i));
    return std::make_shared<const SoundFontImage>(m_path, m_presetPartOffset, std::move(out));
}
