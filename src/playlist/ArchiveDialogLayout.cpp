#include "playlist/ArchiveDialogLayout.h"

#include <algorithm>

namespace {

constexpr int kMargin = 2;
constexpr int kEditToButton = 4;
constexpr int kListGap = 8;
constexpr int kListToRow = 4;
constexpr int kRowBottom = 6;
constexpr int kButtonGap = 6;

// The four buttons side by side, the gap between the second and the third on the middle.
std::array<ArchiveDialogRect, 4> ButtonRow(int w, int h, int buttonWidth, int buttonHeight) {
    const int top = h - buttonHeight - kRowBottom;
    const int middle = w / 2;
    const int selectAll = middle - kButtonGap / 2 - buttonWidth;
    const int cancel = middle + kButtonGap / 2;
    const int open = selectAll - kButtonGap - buttonWidth;
    const int help = cancel + buttonWidth + kButtonGap;
    std::array<ArchiveDialogRect, 4> row;
    int i = 0;
    for (int x : {open, selectAll, cancel, help})
        row[i++] = {x, top, buttonWidth, buttonHeight};
    return row;
}

} // namespace

ArchiveDialogGeometry LayOutArchiveDialog(int w, int h, const ArchiveDialogMetrics& m) {
    ArchiveDialogGeometry g;
    g.path = {kMargin, kMargin, w - 2 * kMargin, m.pathHeight};
    g.search = {w - kMargin - m.buttonWidth, m.searchTop, m.buttonWidth, m.buttonHeight};
    g.filterEdit = {m.editLeft, m.editTop, g.search.x - kEditToButton - m.editLeft, m.editHeight};
    g.buttons = ButtonRow(w, h, m.buttonWidth, m.buttonHeight);
    const int listTop = m.pathHeight + m.buttonHeight + kListGap;
    g.list = {kMargin, listTop, w - 2 * kMargin, g.buttons[0].y - kListToRow - listTop};
    return g;
}

ArchiveDialogRect ArchiveDialogOpeningSize(int width, int height, int workWidth, int workHeight) {
    const auto fit = [](int value, int minimum, int limit) {
        return std::max(minimum, std::min(value, limit));
    };
    return {0, 0, fit(width, kArchiveDialogMinWidth, workWidth),
            fit(height, kArchiveDialogMinHeight, workHeight)};
}

ArchiveDialogRect CentreInsideWorkArea(const ArchiveDialogRect& owner, int width, int height,
                                       const ArchiveDialogRect& workArea) {
    int x = owner.x + (owner.width - width) / 2;
    int y = owner.y + (owner.height - height) / 2;
    x = std::min(x, workArea.x + workArea.width - width);
    y = std::min(y, workArea.y + workArea.height - height);
    x = std::max(x, workArea.x);
    y = std::max(y, workArea.y);
    return {x, y, width, height};
}
