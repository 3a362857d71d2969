#include "core/CLSFileWriteAtomic.h"
#include "settings/CLSDRUVSettings.h"

#include "fixtures/ExpectError.h"
#include "fixtures/FileSizeLimit.h"
#include "fixtures/ReportRecorder.h"
#include "fixtures/TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

const std::string kOldFile = "[Window]\r\nLeft=42\r\n";

// Names in a folder other than the given one.
std::vector<std::string> OtherFiles(const std::string& folder, const std::string& keep) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename() != keep)
            names.push_back(entry.path().filename());
    }
    return names;
}

class SettingsSave : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.File("DRUV.INI");
    CLSDRUVSettings settings;
    ReportRecorder recorder;
};

} // namespace

TEST_F(SettingsSave, ReplacesTheFileAndLeavesNothingElse) {
    WriteFileBytes(path, kOldFile);
    ASSERT_TRUE(settings.Save(path.c_str()));
    EXPECT_EQ(ReadFileBytes(path).rfind("[Window]\r\nShow=0\r\n", 0), 0u);
    EXPECT_TRUE(OtherFiles(dir.Path(), "DRUV.INI").empty());
    EXPECT_TRUE(recorder.Reports().empty());
}

TEST_F(SettingsSave, CannotCreateWritesNothingAndSaysNothing) {
    WriteFileBytes(path, kOldFile);
    // The temporary file's name is taken by a folder: creating it fails, even for root.
    fs::create_directory(CLSFileWriteAtomic::TemporaryPath(path));
    EXPECT_FALSE(settings.Save(path.c_str()));
    EXPECT_EQ(ReadFileBytes(path), kOldFile);
    EXPECT_TRUE(fs::is_directory(CLSFileWriteAtomic::TemporaryPath(path)));

    // A folder beneath a plain file cannot exist.
    WriteFileBytes(dir.File("plain"), "x");
    EXPECT_FALSE(settings.Save(dir.File("plain/sub/DRUV.INI").c_str()));
    // A folder where the file should be is not replaced.
    fs::create_directory(dir.File("isdir"));
    EXPECT_FALSE(settings.Save(dir.File("isdir").c_str()));
    EXPECT_TRUE(fs::is_directory(dir.File("isdir")));
    EXPECT_TRUE(recorder.Reports().empty());
}

TEST_F(SettingsSave, FailedWriteKeepsTheOldFileAndThrowsCode9) {
    WriteFileBytes(path, kOldFile);
    {
        FileSizeLimit limit(100); // the defaults need several hundred bytes
        EXPECT_TRUE(ThrowsCLSError([&] { settings.Save(path.c_str()); }, 9, "READLINE"));
    }
    EXPECT_EQ(ReadFileBytes(path), kOldFile);
    EXPECT_TRUE(OtherFiles(dir.Path(), "DRUV.INI").empty()); // no temporary file left behind
}

TEST_F(SettingsSave, StaleTemporaryFileFromACrashIsReplaced) {
    WriteFileBytes(CLSFileWriteAtomic::TemporaryPath(path), "half a fi");
    ASSERT_TRUE(settings.Save(path.c_str()));
    EXPECT_EQ(ReadFileBytes(path).substr(0, 8), "[Window]");
    EXPECT_TRUE(OtherFiles(dir.Path(), "DRUV.INI").empty());
}

TEST_F(SettingsSave, CreatesMissingFolders) {
    const std::string nested = dir.File("config/druvel/DRUV.INI");
    ASSERT_TRUE(settings.Save(nested.c_str()));
    CLSDRUVSettings again;
    EXPECT_TRUE(again.Load(nested.c_str()));
    EXPECT_EQ(fs::status(dir.File("config/druvel")).permissions() & fs::perms::all,
              fs::perms::owner_all);
}

TEST_F(SettingsSave, KeepsTheModeAndWritesThroughASymbolicLink) {
    const std::string real = dir.File("dotfiles.ini");
    WriteFileBytes(real, kOldFile);
    ::chmod(real.c_str(), 0600);
    fs::create_symlink(real, path);
    ASSERT_TRUE(settings.Save(path.c_str()));
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(ReadFileBytes(real).substr(0, 8), "[Window]");
    struct stat info {};
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
}

TEST(CLSFileWriteAtomicTest, AbandonedWritesNeverReachTheFile) {
    TempDir dir;
    const std::string path = dir.File("list.m3u");
    WriteFileBytes(path, "old");
    {
        CLSFileWriteAtomic file;
        ASSERT_TRUE(file.Open(path.c_str()));
        file.Writer().WriteLine("new");
    } // no Commit
    EXPECT_EQ(ReadFileBytes(path), "old");
    EXPECT_TRUE(OtherFiles(dir.Path(), "list.m3u").empty());
    CLSFileWriteAtomic file;
    ASSERT_TRUE(file.Open(path.c_str()));
    file.Writer().WriteLine("new");
    file.Commit();
    EXPECT_EQ(ReadFileBytes(path), "new\r\n");
    // Committing twice has nothing left to put in place.
    EXPECT_TRUE(ThrowsCLSError([&] { file.Commit(); }, 9, "READLINE"));
    EXPECT_EQ(ReadFileBytes(path), "new\r\n");
}
