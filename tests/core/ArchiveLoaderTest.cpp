#include "core/ArchiveLibrary.h"

#include "fixtures/ErrorSummary.h"

#include <gtest/gtest.h>

// This program installs no reader: the libraries must look missing, not crash on an empty hook.
TEST(ArchiveLoader, WithoutAnInstalledReaderBothLibrariesAreMissing) {
    ReportRecorder errors;
    ArchiveFunctionTable table;
    EXPECT_FALSE(LoadArchiveLibrary(nullptr, CLSTString("/x/a.lzh"), table));
    EXPECT_FALSE(LoadArchiveLibrary(nullptr, CLSTString("/x/a.ZIP"), table));
    EXPECT_FALSE(table.library);
    EXPECT_EQ(ErrorSummary(errors),
              (std::vector<std::string>{ErrorAt(2, "COMMON"), ErrorAt(3, "COMMON")}));
}

TEST(ArchiveLoader, AnEmptyLoaderPutsBackTheMissingState) {
    int loads = 0;
    SetArchiveLibraryLoader([&loads](const char*) {
        ++loads;
        return std::unique_ptr<ArchiveLibrary>();
    });
    ReportRecorder errors;
    ArchiveFunctionTable table;
    EXPECT_FALSE(LoadArchiveLibrary(nullptr, CLSTString("a.zip"), table));
    SetArchiveLibraryLoader(nullptr);
    EXPECT_FALSE(LoadArchiveLibrary(nullptr, CLSTString("a.zip"), table));
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(errors.Reports().size(), 2u);
}
