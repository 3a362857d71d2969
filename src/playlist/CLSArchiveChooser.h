#pragma once

#include "core/CLSError.h"
#include "core/CLSTString.h"

// Lets the user pick members of one archive (the GUI's dialog implements it). width and height
// are the remembered size of the chooser: read when it opens, written back when it closes.
// False when the user cancelled; chosen then stays empty.
class CLSArchiveChooser {
public:
    virtual ~CLSArchiveChooser() = default;
    virtual bool Choose(OwnerWindow owner, const CLSTString& archivePath, int& width, int& height,
                        CLSTStringArray& chosen) = 0;
};
