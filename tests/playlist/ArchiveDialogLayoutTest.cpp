#include "playlist/ArchiveDialogLayout.h"

#include <gtest/gtest.h>

namespace {

// A path line 16 high, buttons of 75 x 23 under it, the filter edit after a label.
ArchiveDialogMetrics Metrics() {
    ArchiveDialogMetrics m;
    m.pathHeight = 16;
    m.buttonWidth = 75;
    m.buttonHeight = 23;
    m.searchTop = 20;
    m.editLeft = 60;
    m.editTop = 21;
    m.editHeight = 21;
    return m;
}

} // namespace

TEST(ArchiveDialogLayout, PlacesEveryControlForTheDefaultSize) {
    const ArchiveDialogGeometry g = LayOutArchiveDialog(400, 300, Metrics());
    EXPECT_EQ(g.path, (ArchiveDialogRect{2, 2, 396, 16}));
    EXPECT_EQ(g.search, (ArchiveDialogRect{323, 20, 75, 23}));
    EXPECT_EQ(g.filterEdit, (ArchiveDialogRect{60, 21, 259, 21}));
    EXPECT_EQ(g.list, (ArchiveDialogRect{2, 47, 396, 220}));
    // Open, select all, cancel, help: 6 apart, the row centred on the middle.
    EXPECT_EQ(g.buttons[0], (ArchiveDialogRect{41, 271, 75, 23}));
    EXPECT_EQ(g.buttons[1], (ArchiveDialogRect{122, 271, 75, 23}));
    EXPECT_EQ(g.buttons[2], (ArchiveDialogRect{203, 271, 75, 23}));
    EXPECT_EQ(g.buttons[3], (ArchiveDialogRect{284, 271, 75, 23}));
}

TEST(ArchiveDialogLayout, GrowingMovesTheRowAndTheSearchButtonAndStretchesTheRest) {
    const ArchiveDialogGeometry small = LayOutArchiveDialog(400, 300, Metrics());
    const ArchiveDialogGeometry large = LayOutArchiveDialog(601, 450, Metrics());
    EXPECT_EQ(large.search.x - small.search.x, 201);
    EXPECT_EQ(large.filterEdit.width - small.filterEdit.width, 201);
    EXPECT_EQ(large.filterEdit.x, small.filterEdit.x);
    EXPECT_EQ(large.list.height - small.list.height, 150);
    EXPECT_EQ(large.list.y, small.list.y);
    // An odd width leaves the extra pixel on the right of the row.
    EXPECT_EQ(large.buttons[0].x, 601 / 2 - 3 - 75 - 6 - 75);
    EXPECT_EQ(601 - (large.buttons[3].x + 75) - large.buttons[0].x, 1);
}

TEST(ArchiveDialogLayout, OpeningSizeKeepsTheMinimumAndTheWorkArea) {
    EXPECT_EQ(ArchiveDialogOpeningSize(400, 300, 1920, 1080), (ArchiveDialogRect{0, 0, 400, 300}));
    EXPECT_EQ(ArchiveDialogOpeningSize(120, -5, 1920, 1080), (ArchiveDialogRect{0, 0, 400, 200}));
    // A size edited by hand in the settings file never outgrows the screen.
    EXPECT_EQ(ArchiveDialogOpeningSize(90000, 5000, 1920, 1080),
              (ArchiveDialogRect{0, 0, 1920, 1080}));
}

TEST(ArchiveDialogLayout, CentresOverTheOwnerThenPullsBackInsideTheWorkArea) {
    const ArchiveDialogRect work{0, 30, 1920, 1050};
    EXPECT_EQ(CentreInsideWorkArea({100, 100, 800, 600}, 400, 300, work),
              (ArchiveDialogRect{300, 250, 400, 300}));
    // Owner hanging over the bottom-right corner: right and bottom edges are pulled in.
    EXPECT_EQ(CentreInsideWorkArea({1700, 900, 400, 300}, 400, 300, work),
              (ArchiveDialogRect{1520, 780, 400, 300}));
    // Over the top-left corner: left and top.
    EXPECT_EQ(CentreInsideWorkArea({-500, -500, 200, 200}, 400, 300, work),
              (ArchiveDialogRect{0, 30, 400, 300}));
    // Larger than the work area: its left and top edges stay visible.
    EXPECT_EQ(CentreInsideWorkArea({0, 0, 800, 600}, 2000, 1200, work),
              (ArchiveDialogRect{0, 30, 2000, 1200}));
}
