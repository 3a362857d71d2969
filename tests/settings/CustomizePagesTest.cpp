#include "settings/CLSCustomizePages.h"

#include "settings/CLSDRUVSettings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

const std::string kRecentWarning =
    "最近開いたファイルの最大数は 0 ～ 32767 の間で指定してください。";
const std::string kWidthWarning = "スペクトラムの幅は 1 ～ 100 の間で指定してください。";
const std::string kTraceWarning = "歌詞を表示するタイミングは 0 ～ 32767 の間で指定してください。";

class CustomizePages : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 10; i >= 1; --i)
            settings.AddRecentFile(CLSTString(("/songs/" + std::to_string(i) + ".mid").c_str()));
    }

    std::string Recent(int index) const { return settings.GetRecentFile(index); }

    CLSDRUVSettings settings;
    CLSCustomizePages pages{settings};
};

TEST(CustomizeNumber, ReadsDigitsAndAnythingElseAsZero) {
    EXPECT_EQ(CLSCustomizePages::ReadNumber(""), 0u);
    EXPECT_EQ(CLSCustomizePages::ReadNumber("   "), 0u);
    EXPECT_EQ(CLSCustomizePages::ReadNumber("0042"), 42u);
    EXPECT_EQ(CLSCustomizePages::ReadNumber(" 17 "), 17u);
    EXPECT_EQ(CLSCustomizePages::ReadNumber("12a"), 0u);
    EXPECT_EQ(CLSCustomizePages::ReadNumber("-5"), 0u);
    EXPECT_EQ(CLSCustomizePages::ReadNumber("4294967295"), 4294967295u);
}

TEST(CustomizeNumber, ANumberBeyondThirtyTwoBitsStaysTooLarge) {
    // Wrapping or reading 0 would let "99999999999" pass as a small number.
    EXPECT_EQ(CLSCustomizePages::ReadNumber("4294967296"), UINT32_MAX);
    EXPECT_EQ(CLSCustomizePages::ReadNumber("99999999999999999999999"), UINT32_MAX);
}

TEST_F(CustomizePages, ARefusedRecentMaximumTakesNothingFromItsPage) {
    CustomizeGeneralValues page = pages.General();
    page.recentMax = "40000";
    page.searchSubFolder = false;
    page.permitMultiExecute = true;
    page.restorePlayList = true;

    EXPECT_EQ(pages.Apply(page), kRecentWarning);
    EXPECT_EQ(settings.RecentMax(), 10);
    EXPECT_EQ(settings.RecentFiles().size(), 10u);
    EXPECT_EQ(settings.Flags, CLSDRUVSettings::kDefaultFlags);

    page.recentMax = "99999999999";
    EXPECT_EQ(pages.Apply(page), kRecentWarning);
    EXPECT_EQ(settings.RecentFiles().size(), 10u);
}

TEST_F(CustomizePages, ALowerRecentMaximumKeepsTheMostRecentFiles) {
    CustomizeGeneralValues page = pages.General();
    page.recentMax = "3";
    page.permitMultiExecute = true;
    EXPECT_EQ(pages.Apply(page), std::nullopt);
    EXPECT_EQ(settings.RecentMax(), 3);
    ASSERT_EQ(settings.RecentFiles().size(), 3u);
    EXPECT_EQ(Recent(0), "/songs/1.mid");
    EXPECT_EQ(Recent(2), "/songs/3.mid");
    EXPECT_TRUE(settings.GetFlag(CLSDRUVSettings::PermitMultiExecute));

    page.recentMax = "32767";
    EXPECT_EQ(pages.Apply(page), std::nullopt);
    EXPECT_EQ(settings.RecentMax(), 32767);
}

TEST_F(CustomizePages, TheWidthAndTheLyricTimingKeepTheirRanges) {
    CustomizeSpectrumValues spectrum = pages.Spectrum();
    for (const char* refused : {"0", "101"}) {
        spectrum.meterWidth = refused;
        EXPECT_EQ(pages.Apply(spectrum), kWidthWarning) << refused;
    }
    spectrum.meterWidth = "100";
    spectrum.spectrumType = 1;
    EXPECT_EQ(pages.Apply(spectrum), std::nullopt);
    EXPECT_EQ(settings.MeterWidth, 100);
    EXPECT_EQ(settings.SpectrumType, 1);

    CustomizeMidiValues midi = pages.Midi();
    midi.wordTraceAheadTime = "32768";
    midi.adjustVelocity = true;
    EXPECT_EQ(pages.Apply(midi), kTraceWarning);
    EXPECT_FALSE(settings.GetFlag(CLSDRUVSettings::AdjustVelocity));
    midi.wordTraceAheadTime = "32767";
    EXPECT_EQ(pages.Apply(midi), std::nullopt);
    EXPECT_EQ(settings.WordTraceAheadTime, 32767);
    EXPECT_TRUE(settings.GetFlag(CLSDRUVSettings::AdjustVelocity));
}

TEST_F(CustomizePages, AKindFromTheFileThatSelectsNoEntryIsKept) {
    settings.SpectrumType = 7;
    CustomizeSpectrumValues spectrum = pages.Spectrum();
    spectrum.spectrumType = -1; // what an unselected list reads
    EXPECT_EQ(pages.Apply(spectrum), std::nullopt);
    EXPECT_EQ(settings.SpectrumType, 7);
}

TEST_F(CustomizePages, OnlyACreatedPageBecomesTheLastPage) {
    CLSCustomizePages::SetLastPage(CLSCustomizePages::kGeneral);
    pages.Activate(CLSCustomizePages::kMidi);
    EXPECT_EQ(CLSCustomizePages::LastPage(), CLSCustomizePages::kGeneral);
    pages.Create(CLSCustomizePages::kMidi);
    pages.Activate(CLSCustomizePages::kMidi);
    EXPECT_EQ(CLSCustomizePages::LastPage(), CLSCustomizePages::kMidi);
    EXPECT_FALSE(pages.IsCreated(CLSCustomizePages::kSpectrum));

    // Survives the sheet: a new one opens where the last one was left.
    CLSCustomizePages next(settings);
    EXPECT_EQ(CLSCustomizePages::LastPage(), CLSCustomizePages::kMidi);
    EXPECT_FALSE(next.IsCreated(CLSCustomizePages::kMidi));
    CLSCustomizePages::SetLastPage(3);
    EXPECT_EQ(CLSCustomizePages::LastPage(), CLSCustomizePages::kMidi);
    CLSCustomizePages::SetLastPage(CLSCustomizePages::kGeneral);
}

} // namespace
