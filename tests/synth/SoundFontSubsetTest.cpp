#include "synth/SoundFontSubset.h"
#include "core/MidiOutError.h"
#include "fixtures/TestPaths.h"
#include "synth/FluidSynthCore.h"

#include <cstdio>
#include <fluidsynth.h>
#include <gtest/gtest.h>
#include <set>
#include <unistd.h>

namespace {

using Preset = SoundFontSubset::Preset;
using Program = MidiOutput::Program;

// Small and quick to load; FluidR3 is the same format, only larger.
std::string SmallSoundFont() {
    for (const char* path :
         {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2"})
        if (::access(path, R_OK) == 0)
            return path;
    return {};
}

std::set<Preset> PresetsIn(const FluidSynthCore& core) {
    std::set<Preset> presets;
    for (int i = 0; i < fluid_synth_sfcount(core.Synth()); ++i) {
        fluid_sfont_t* sfont = fluid_synth_get_sfont(core.Synth(), i);
        fluid_sfont_iteration_start(sfont);
        while (fluid_preset_t* preset = fluid_sfont_iteration_next(sfont))
            presets.emplace(fluid_preset_get_banknum(preset), fluid_preset_get_num(preset));
    }
    return presets;
}

// Program changes and a chord on three parts, with the drums, then half a second of sound.
std::vector<float> Play(FluidSynthCore& core) {
    const std::uint8_t messages[][3] = {{0xC0, 40, 0},   {0xC1, 73, 0},  {0xB2, 91, 100},
                                        {0x90, 60, 100}, {0x91, 67, 90}, {0x92, 64, 80},
                                        {0x99, 36, 110}, {0x99, 42, 90}, {0xE0, 0, 80}};
    for (const auto& message : messages)
        core.SendShort(message, 3);
    std::vector<float> left(22050), right(22050);
    core.Render(left.data(), right.data(), static_cast<int>(left.size()));
    left.insert(left.end(), right.begin(), right.end());
    return left;
}

class SoundFontSubsetTest : public testing::Test {
protected:
    void SetUp() override {
        font = SmallSoundFont();
        if (font.empty())
            GTEST_SKIP() << "no General MIDI SoundFont installed";
    }
    std::string font;
    const std::vector<Program> programs{{0, 40, false}, {0, 73, false}, {0, 0, true}};
};

} // namespace

// The point of holding a few presets: the same samples come out as with the whole file.
TEST_F(SoundFontSubsetTest, HoldsOnlyTheSongsPresetsAndSoundsAsTheWholeFile) {
    FluidSynthCore whole, kept;
    ASSERT_EQ(whole.Load(font), MIDIOUT_OK);
    ASSERT_EQ(kept.Load(font, FluidSynthCore::Presets::Kept, programs), MIDIOUT_OK);
    EXPECT_GT(PresetsIn(whole).size(), 100u);
    const std::set<Preset> held = PresetsIn(kept);
    for (const Preset& preset : {Preset{0, 0}, Preset{0, 40}, Preset{0, 73}, Preset{128, 0}})
        EXPECT_TRUE(held.count(preset)) << preset.first << ":" << preset.second;
    EXPECT_LE(held.size(), 6u); // and the drum kits of 40 and 73, where the file has them
    const std::vector<float> expected = Play(whole);
    EXPECT_TRUE(Play(kept) == expected);

    // The next song's presets replace the last one's.
    kept.SystemReset();
    kept.KeepLoaded({{0, 24, false}});
    EXPECT_TRUE(PresetsIn(kept).count({0, 24}));
    EXPECT_FALSE(PresetsIn(kept).count({0, 73}));
}

// A file laid out otherwise than the standard says is loaded whole, and still plays.
TEST_F(SoundFontSubsetTest, AFileWithSomethingAfterItsPresetsIsLoadedWhole) {
    TempDir dir;
    std::string bytes = ReadFileBytes(font);
    bytes += std::string("junk\x04\0\0\0abcd", 12);
    const std::uint32_t riff = static_cast<std::uint32_t>(bytes.size() - 8);
    for (int i = 0; i < 4; ++i)
        bytes[4 + i] = static_cast<char>(riff >> (8 * i));
    const std::string odd = dir.File("odd.sf2");
    WriteFileBytes(odd, bytes);
    SoundFontSubset subset;
    EXPECT_FALSE(subset.Read(odd));
    FluidSynthCore core;
    ASSERT_EQ(core.Load(odd, FluidSynthCore::Presets::Kept, programs), MIDIOUT_OK);
    EXPECT_GT(PresetsIn(core).size(), 100u);
}

// Reads that cross from the file's bytes into the preset part, the RIFF size made to fit.
TEST(SoundFontImage, ReadsTheFileThenItsOwnPartWithTheSizeMadeToFit) {
    TempDir dir;
    const std::string path = dir.File("image");
    WriteFileBytes(path, std::string("RIFF\xff\xff\xff\xffsfbkDATA-FROM-FILE-IGNORED-TAIL", 40));
    const SoundFontImage image(path, 24, {'O', 'W', 'N'});
    ASSERT_EQ(image.Size(), 27u);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::string all(27, '\0');
    EXPECT_TRUE(image.Read(file, 0, all.data(), all.size()));
    EXPECT_EQ(all, std::string("RIFF\x13\0\0\0sfbkDATA-FROM-FIOWN", 27));
    std::string middle(5, '\0');
    EXPECT_TRUE(image.Read(file, 22, middle.data(), middle.size()));
    EXPECT_EQ(middle, "FIOWN");
    EXPECT_FALSE(image.Read(file, 25, middle.data(), 3)); // past its end
    std::fclose(file);
}
