#include "synth/SoundFontImageFiles.h"

#include <fluidsynth.h>

namespace {

constexpr const char* kPrefix = "druvel-image:";

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

struct OpenFile {
    std::unique_ptr<std::FILE, FileCloser> file;
    std::shared_ptr<const SoundFontImage> image; // null: the file itself
    std::uint64_t position = 0;
};

// FluidSynth's callbacks carry no context but the name.
void* Open(const char* name) {
    std::shared_ptr<const SoundFontImage> image = SoundFontImageFiles::Shared()->Find(name);
    std::unique_ptr<std::FILE, FileCloser> file(
        std::fopen(image ? image->Path().c_str() : name, "rb"));
    if (!file)
        return nullptr;
    // Owned by FluidSynth from here until it calls Close, as it always does.
    return std::make_unique<OpenFile>(OpenFile{std::move(file), std::move(image)}).release();
}

int Read(void* buffer, fluid_long_long_t count, void* handle) {
    auto* open = static_cast<OpenFile*>(handle);
    if (count < 0)
        return FLUID_FAILED;
    const auto bytes = static_cast<std::size_t>(count);
    if (open->image) {
        if (!open->image->Read(open->file.get(), open->position, buffer, bytes))
            return FLUID_FAILED;
    } else if (::fseeko(open->file.get(), static_cast<off_t>(open->position), SEEK_SET) != 0 ||
               std::fread(buffer, 1, bytes, open->file.get()) != bytes) {
        return FLUID_FAILED;
    }
    open->position += bytes;
    return FLUID_OK;
}

int Seek(void* handle, fluid_long_long_t offset, int origin) {
    auto* open = static_cast<OpenFile*>(handle);
    fluid_long_long_t base = 0;
    if (origin == SEEK_CUR) {
        base = static_cast<fluid_long_long_t>(open->position);
    } else if (origin == SEEK_END) {
        if (open->image) {
            base = static_cast<fluid_long_long_t>(open->image->Size());
        } else {
            if (::fseeko(open->file.get(), 0, SEEK_END) != 0)
                return FLUID_FAILED;
            base = ::ftello(open->file.get());
        }
    } else if (origin != SEEK_SET) {
        return FLUID_FAILED;
    }
    if (base + offset < 0)
        return FLUID_FAILED;
    open->position = static_cast<std::uint64_t>(base + offset);
    return FLUID_OK;
}

fluid_long_long_t Tell(void* handle) {
    return static_cast<fluid_long_long_t>(static_cast<OpenFile*>(handle)->position);
}

int Close(void* handle) {
    std::unique_ptr<OpenFile> open(static_cast<OpenFile*>(handle));
    return FLUID_OK;
}

} // namespace

std::shared_ptr<SoundFontImageFiles> SoundFontImageFiles::Shared() {
    static const std::shared_ptr<SoundFontImageFiles> shared =
        std::make_shared<SoundFontImageFiles>();
    return shared;
}

void SoundFontImageFiles::Install(_fluid_hashtable_t* settings, _fluid_synth_t* synth) {
    fluid_sfloader_t* loader = new_fluid_defsfloader(settings);
    if (loader == nullptr)
        return;
    fluid_sfloader_set_callbacks(loader, Open, Read, Seek, Tell, Close);
    fluid_synth_add_sfloader(synth, loader);
}

std::string SoundFontImageFiles::Register(std::shared_ptr<const SoundFontImage> image) {
    std::lock_guard lock(m_mutex);
    std::string name = kPrefix + std::to_string(++m_serial) + ":" + image->Path();
    m_images.emplace(name, std::move(image));
    return name;
}

void SoundFontImageFiles::Unregister(const std::string& name) {
    std::lock_guard lock(m_mutex);
    m_images.erase(name);
}

std::shared_ptr<const SoundFontImage> SoundFontImageFiles::Find(const std::string& name) const {
    std::lock_guard lock(m_mutex);
    const auto at = m_images.find(name);
    return at == m_images.end() ? nullptr : at->second;
}
