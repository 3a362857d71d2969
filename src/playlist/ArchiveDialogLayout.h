#pragma once

#include <array>

// The archive chooser's geometry as arithmetic, so it is tested without a display. Sizes are
// the window's logical pixels.

struct ArchiveDialogRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ArchiveDialogRect&) const = default;
};

// The sizes the controls keep whatever the dialog's size: the path's height, the search
// button's size (every button of the row has it too), and where the filter edit starts.
struct ArchiveDialogMetrics {
    int pathHeight = 0;
    int buttonWidth = 0;
    int buttonHeight = 0;
    int searchTop = 0;
    int editLeft = 0;
    int editTop = 0;
    int editHeight = 0;
};

// Where every resizable control goes for a client area of w x h. The button row holds open,
// select all, cancel and help, in that order.
struct ArchiveDialogGeometry {
    ArchiveDialogRect path;
    ArchiveDialogRect filterEdit;
    ArchiveDialogRect search;
    ArchiveDialogRect list;
    std::array<ArchiveDialogRect, 4> buttons;
};

constexpr int kArchiveDialogMinWidth = 400;
constexpr int kArchiveDialogMinHeight = 200;

ArchiveDialogGeometry LayOutArchiveDialog(int w, int h, const ArchiveDialogMetrics& metrics);

// The size the dialog opens with: the remembered one, kept between the minimum and the work
// area (a size edited by hand in the settings file must not hide the buttons off screen).
ArchiveDialogRect ArchiveDialogOpeningSize(int width, int height, int workWidth, int workHeight);

// Top-left corner of a width x height window centred over owner, then pulled back inside the
// work area: right and bottom edges first, then left and top.
ArchiveDialogRect CentreInsideWorkArea(const ArchiveDialogRect& owner, int width, int height,
                                       const ArchiveDialogRect& workArea);
