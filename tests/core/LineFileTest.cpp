#include "core/CLSFileReadLine.h"
#include "core/CLSFileWriteString.h"

#include "fixtures/ExpectError.h"
#include "fixtures/FifoTimeLimit.h"
#include "fixtures/TestPaths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every line the reader returns, each followed by "|", then "#" for the final false.
std::string ReadAll(const std::string& path) {
    CLSFileReadLine reader(path.c_str());
    std::string out;
    CLSTString line("junk");
    while (reader.ReadLine(line))
        out += std::string(line.Text(), line.Length()) + "|";
    EXPECT_EQ(line.Length(), 0);
    EXPECT_TRUE(reader.IsEOF());
    EXPECT_FALSE(reader.ReadLine(line));
    return out + "#";
}

class LineFile : public ::testing::Test {
protected:
    std::string Lines(const std::string& bytes) {
        WriteFileBytes(path, bytes);
        return ReadAll(path);
    }
    TempDir dir;
    std::string path = dir.File("lines.txt");
};

} // namespace

TEST_F(LineFile, EveryKindOfLineEnd) {
    EXPECT_EQ(Lines("a\r\n\r\nb"), "a||b|#");
    EXPECT_EQ(Lines("a\rb\nc"), "a|b|c|#");
    EXPECT_EQ(Lines("a\n\rb"), "a||b|#"); // LF CR is two line ends
    EXPECT_EQ(Lines(std::string("a\0b\0\0c", 7)), "a|b||c|#");
    EXPECT_EQ(Lines("last\r\n"), "last|#");
}

TEST_F(LineFile, EmptyFilesAndEmptyLines) {
    EXPECT_EQ(Lines(""), "#");
    EXPECT_EQ(Lines("\r\n"), "|#");
    EXPECT_EQ(Lines("\r\n\r\n"), "||#");
    EXPECT_EQ(Lines("\r"), "|#");
}

TEST_F(LineFile, CrLfSplitBetweenBlocksIsOneLineEnd) {
    const std::string x1024(1024, 'x');
    EXPECT_EQ(Lines(x1024 + "\r\n"), x1024 + "|#");
    EXPECT_EQ(Lines(x1024 + "\r\nnext"), x1024 + "|next|#");
    // A lone CR at the block's end followed by a line in the next block.
    EXPECT_EQ(Lines(x1024 + "\rnext"), x1024 + "|next|#");
    // The CR at the end of the block followed by a CR is still an empty line.
    EXPECT_EQ(Lines(x1024 + "\r\rz"), x1024 + "||z|#");
    // The LF begins a block that holds nothing else.
    EXPECT_EQ(Lines(std::string(1023, 'y') + "\n" + "\r\n"), std::string(1023, 'y') + "||#");
}

TEST_F(LineFile, LinesLongerThanABlockAndAcrossBoundaries) {
    const std::string long3000(3000, 'L');
    EXPECT_EQ(Lines(long3000 + "\nshort"), long3000 + "|short|#");
    std::string many;
    std::string expected;
    for (int i = 0; i < 700; ++i) {
        const std::string line = std::to_string(i * 37) + std::string(i % 11, 'a');
        many += line + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
        expected += line + "|";
    }
    EXPECT_EQ(Lines(many), expected + "#");
}

TEST_F(LineFile, ReopenStartsAfreshAndClosedReadersReadNothing) {
    CLSFileReadLine never;
    CLSTString line("keep?");
    EXPECT_FALSE(never.ReadLine(line));
    EXPECT_EQ(line.Length(), 0);
    EXPECT_TRUE(never.IsEOF());
    EXPECT_EQ(never.Close(), -1);

    WriteFileBytes(path, std::string(1024, 'x') + "\r");
    CLSFileReadLine reader(path.c_str());
    ASSERT_TRUE(reader.ReadLine(line));
    WriteFileBytes(path, "\nsecond");
    ASSERT_TRUE(reader.Open(path.c_str())); // no pending CR may survive the reopen
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line.Length(), 0);
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_STREQ(line.Text(), "second");
    EXPECT_EQ(reader.Close(), 0);
    EXPECT_FALSE(reader.Open(dir.File("missing").c_str()));
    EXPECT_FALSE(reader.Open(dir.Path().c_str()));
    EXPECT_TRUE(reader.IsEOF());
}

TEST_F(LineFile, FailedReadThrowsCode7) {
    // Reading the process's own memory at address 0 fails even for root.
    CLSFileReadLine reader;
    ASSERT_TRUE(reader.Open("/proc/self/mem"));
    CLSTString line;
    EXPECT_TRUE(ThrowsCLSError([&] { reader.ReadLine(line); }, 7, "READLINE"));
}

TEST_F(LineFile, OnlyRegularFilesOpen) {
    const std::string fifo = dir.File("list.m3u");
    ASSERT_TRUE(MakeFifo(fifo));
    const auto opened =
        CallWithFifoTimeLimit(fifo, [&] { return CLSFileReadLine().Open(fifo.c_str()); });
    ASSERT_TRUE(opened.has_value()) << "Open blocked on a FIFO";
    EXPECT_FALSE(*opened);
    // A device of endless zero bytes would be endless empty lines.
    EXPECT_FALSE(CLSFileReadLine().Open("/dev/zero"));
    EXPECT_FALSE(CLSFileReadLine().Open(dir.Path().c_str()));
}

TEST_F(LineFile, WriterWritesBytesExactly) {
    {
        CLSFileWriteString writer;
        ASSERT_TRUE(writer.Open(path.c_str()));
        writer.Write("ab");
        writer.Write(static_cast<const char*>(nullptr));
        writer.Write('c');
        writer.Write('\0');
        writer.Write(CLSTString("\x95\x5C"));
        writer.WriteLine(-1);
        writer.WriteLine(static_cast<const char*>(nullptr));
        writer.WriteLine('z');
        writer.WriteLine(CLSTString("t"));
    } // the destructor closes
    EXPECT_EQ(ReadFileBytes(path), "abc\x95\x5C-1\r\n\r\nz\r\nt\r\n");

    CLSFileWriteString again;
    ASSERT_TRUE(again.Open(path.c_str())); // without append the file starts empty
    again.WriteLine("new");
    ASSERT_TRUE(again.Open(path.c_str(), true));
    again.Write("+");
    EXPECT_TRUE(again.Close());
    EXPECT_EQ(ReadFileBytes(path), "new\r\n+");
    EXPECT_EQ(ReadAll(path), "new|+|#");
}

TEST_F(LineFile, WriterFailuresThrowCode9OrReportFalse) {
    CLSFileWriteString writer;
    EXPECT_FALSE(writer.Open(dir.File("no/such/folder").c_str()));
    EXPECT_FALSE(writer.Open(dir.Path().c_str()));
    EXPECT_TRUE(ThrowsCLSError([&] { writer.WriteLine("closed"); }, 9, "READLINE"));
    ASSERT_TRUE(writer.Open("/dev/full"));
    EXPECT_TRUE(ThrowsCLSError([&] { writer.Write("x"); }, 9, "READLINE"));
}
