#include "player/CLSMainLayout.h"
#include "settings/CLSDRUVSettings.h"

#include <gtest/gtest.h>

namespace {

constexpr int kToolBar = 30;

TEST(MainLayout, NormalWindowAt800x600) {
    const CLSMainLayout layout(kToolBar, 0);
    const CLSMainLayout::Geometry g = layout.Layout(800, 600, 500);
    EXPECT_EQ(g.rects.at(kChildSpectrum), (LayoutRect{0, 466, 503, 134}));
    EXPECT_EQ(g.rects.at(kChildSeekBar), (LayoutRect{0, 443, 800, 21}));
    EXPECT_EQ(g.rects.at(kChildPlayList), (LayoutRect{503, 0, 297, 427}));
    EXPECT_EQ(g.rects.at(kChildLyrics), (LayoutRect{0, 0, 496, 413}));
    EXPECT_EQ(g.rects.at(kChildTimeLabel), (LayoutRect{0, 413, 112, 30}));
    EXPECT_EQ(g.rects.at(kChildToolBar), (LayoutRect{112, 413, 175, 30}));
    EXPECT_EQ(g.rects.at(kChildMarquee), (LayoutRect{289, 429, 511, 12}));
    EXPECT_EQ(g.rects.at(kChildTempoSlider), (LayoutRect{507, 478, 289, 17}));
    EXPECT_EQ(g.rects.at(kChildVolumeSlider), (LayoutRect{507, 522, 289, 17}));
    EXPECT_EQ(g.rects.at(kChildKeySlider), (LayoutRect{507, 566, 289, 17}));
    EXPECT_EQ(g.rects.at(kChildKeyLabel), (LayoutRect{507, 583, 289, 12}));
    EXPECT_EQ(g.rects.at(kChildSplitter), (LayoutRect{497, 0, 7, 427}));
    EXPECT_EQ(g.splitterMin, 77);
    EXPECT_EQ(g.splitterMax, 723);
}

TEST(MainLayout, BandlessModesGiveTheSpaceToTheSeekBarAndPlaylist) {
    const CLSMainLayout noSpectrum(kToolBar, 3);
    const CLSMainLayout::Geometry g = noSpectrum.Layout(800, 600, 500);
    EXPECT_EQ(g.rects.at(kChildSeekBar).y, 577);
    EXPECT_EQ(g.rects.at(kChildPlayList).height, 561);
    const CLSMainLayout compact(kToolBar, 1);
    EXPECT_EQ(compact.Layout(800, 53, 500).rects.at(kChildPlayList).height, 0);
    EXPECT_EQ(compact.Layout(800, 53, 500).rects.at(kChildSeekBar).y, 30);
}

TEST(MainLayout, LyricsOnlyFillsTheWindowAndShowsNothingElse) {
    const CLSMainLayout layout(kToolBar, 4);
    const CLSMainLayout::Geometry g = layout.Layout(640, 480, 300);
    ASSERT_EQ(g.rects.size(), 1u);
    EXPECT_EQ(g.rects.at(kChildLyrics), (LayoutRect{0, 0, 640, 480}));
    for (int id = kChildLyrics; id <= kChildMarquee; ++id)
        EXPECT_EQ(layout.IsShown(id), id == kChildLyrics) << id;
}

TEST(MainLayout, TheSplitterKeepsItsMarginsAndTheControlsFollowIt) {
    const CLSMainLayout layout(kToolBar, 0);
    const CLSMainLayout::Geometry left = layout.Layout(800, 600, 10);
    EXPECT_EQ(left.splitterCentre, 77);
    EXPECT_EQ(left.rects.at(kChildLyrics).width, 73);
    const CLSMainLayout::Geometry right = layout.Layout(800, 600, 790);
    EXPECT_EQ(right.splitterCentre, 723);
    EXPECT_EQ(right.rects.at(kChildPlayList).width, 74);
}

TEST(MainLayout, WideningKeepsThePlaylistWidth) {
    const CLSMainLayout layout(kToolBar, 0);
    const int before = 500;
    const int after = CLSMainLayout::KeepPlaylistWidth(before, 816, 800, 916);
    const CLSMainLayout::Geometry old = layout.Layout(800, 600, before);
    const CLSMainLayout::Geometry wide = layout.Layout(900, 600, after);
    EXPECT_EQ(wide.rects.at(kChildPlayList).width, old.rects.at(kChildPlayList).width);
    EXPECT_EQ(wide.rects.at(kChildLyrics).width, old.rects.at(kChildLyrics).width + 100);
    EXPECT_EQ(CLSMainLayout::KeepPlaylistWidth(before, 816, 0, 916), before);
}

TEST(MainLayout, SplitterStartsWhereThePlaylistGetsItsSavedWidth) {
    const int centre = CLSMainLayout::SplitterCentreFor(800, 176);
    EXPECT_EQ(CLSMainLayout(kToolBar, 0).Layout(800, 600, centre).rects.at(kChildPlayList).width,
              176);
}

TEST(MainLayout, FixedHeightModesLockOnlyTheHeight) {
    const CLSMainLayout normal(kToolBar, 0);
    EXPECT_EQ(normal.LimitSize(50).minWidth, 450);
    EXPECT_EQ(normal.LimitSize(50).minHeight, 350);
    EXPECT_FALSE(normal.LimitSize(50).maxHeight);
    const CLSMainLayout compact(kToolBar, 1);
    EXPECT_EQ(compact.LimitSize(50).minHeight, 30 + 23 + 50);
    EXPECT_EQ(compact.LimitSize(50).maxHeight, 30 + 23 + 50);
    EXPECT_EQ(CLSMainLayout(kToolBar, 2).LimitSize(50).maxHeight, 30 + 159 + 50);
}

TEST(MainLayout, ModeSwitchesKeepTheNormalHeight) {
    CLSDRUVSettings settings;
    CLSMainLayout layout(kToolBar, 0);
    WindowPlacement normal{10, 20, 700, 600, false, 180, 120, 41};
    const auto toCompact = layout.SetWindowMode(83, normal, settings);
    ASSERT_TRUE(toCompact);
    EXPECT_EQ(toCompact->fixedClientHeight, 53);
    EXPECT_FALSE(toCompact->maximiseBox);
    EXPECT_EQ(settings.WindowMode, 1);
    EXPECT_EQ(settings.Height, 600);
    EXPECT_EQ(settings.PlayListWidth, 180);

    WindowPlacement compact{15, 25, 720, 103, false, 0, 0, 0};
    const auto back = layout.SetWindowMode(82, compact, settings);
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->restoreToSettings);
    EXPECT_TRUE(back->maximiseBox);
    EXPECT_EQ(settings.Left, 15);
    EXPECT_EQ(settings.Width, 720);
    EXPECT_EQ(settings.Height, 600);
    EXPECT_EQ(settings.PlayListWidth, 180);
    EXPECT_EQ(layout.Mode(), 0);
    EXPECT_FALSE(layout.SetWindowMode(87, compact, settings));
    EXPECT_EQ(layout.Mode(), 0);
}

TEST(MainLayout, AMaximisedNormalWindowIsRemembered) {
    CLSDRUVSettings settings;
    CLSMainLayout::SavePlacement(3, {0, 0, 800, 600, true, 200, 100, 40}, settings);
    EXPECT_TRUE(settings.GetFlag(CLSDRUVSettings::Show));
    CLSMainLayout::SavePlacement(2, {0, 0, 800, 200, false, 0, 0, 0}, settings);
    EXPECT_TRUE(settings.GetFlag(CLSDRUVSettings::Show));
}

} // namespace
