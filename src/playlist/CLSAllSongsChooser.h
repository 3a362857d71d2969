#pragma once

#include "playlist/CLSArchiveChooser.h"

// The chooser of a playlist without a window: every song member ("*.mid", "*.kar"), in the
// order the dialog would list them, as if the user pressed select-all and open. False (after the
// error was shown) when the archive cannot be listed.
class CLSAllSongsChooser : public CLSArchiveChooser {
public:
    bool Choose(OwnerWindow owner, const CLSTString& archivePath, int& width, int& height,
                CLSTStringArray& chosen) override;
};
