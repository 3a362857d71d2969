// The display trace: nothing recorded unless installed, a full buffer never overrun, and the
// file a measurement reads.
#include "controls/DisplayTrace.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Event = DisplayTrace::Event;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string TempPath(const char* name) {
    return ::testing::TempDir() + name;
}

TEST(DisplayTraceRecording, NothingIsRecordedUntilInstalledNorAfterTheTraceIsGone) {
    DisplayTrace::Record(Event::SpectrumRise, 1); // no trace: a no-op, not a crash
    {
        DisplayTrace trace(8);
        DisplayTrace::Record(Event::SpectrumRise, 1);
        EXPECT_EQ(trace.Size(), 0u);
        DisplayTrace::Install(&trace);
        DisplayTrace::Record(Event::SpectrumRise, 1);
        EXPECT_EQ(trace.Size(), 1u);
    }
    // The destroyed trace uninstalled itself: this must not write into freed memory.
    DisplayTrace::Record(Event::SpectrumRise, 1);
}

TEST(DisplayTraceRecording, AFullBufferCountsWhatItDropsAndKeepsTheFirstRecords) {
    DisplayTrace trace(2);
    trace.Add(Event::WordReached, 1, 10);
    trace.Add(Event::WordReached, 2, 20);
    trace.Add(Event::WordReached, 3, 30);
    EXPECT_EQ(trace.Size(), 2u);
    EXPECT_EQ(trace.Dropped(), 1u);
    const std::string path = TempPath("trace-full.txt");
    ASSERT_TRUE(trace.WriteTo(path));
    EXPECT_EQ(ReadAll(path), "word-reached 1 10\nword-reached 2 20\ndropped 1 0\n");
    std::remove(path.c_str());
}

TEST(DisplayTraceRecording, RecordAtKeepsTheGivenTimeNotTheMomentOfTheCall) {
    DisplayTrace trace(4);
    DisplayTrace::Install(&trace);
    const auto due = std::chrono::steady_clock::time_point(std::chrono::milliseconds(1234));
    DisplayTrace::RecordAt(Event::NoteDue, 76, due);
    DisplayTrace::Install(nullptr);
    const std::string path = TempPath("trace-at.txt");
    ASSERT_TRUE(trace.WriteTo(path));
    EXPECT_EQ(ReadAll(path), "note-due 76 1234000000\n");
    std::remove(path.c_str());
}

TEST(DisplayTraceRecording, WritingToAnUnwritablePlaceFails) {
    DisplayTrace trace(1);
    trace.Add(Event::SpectrumPainted, 0, 1);
    EXPECT_FALSE(trace.WriteTo(TempPath("no-such-folder/trace.txt")));
}

TEST(DisplayTraceRecording, TheEnvironmentChoosesWhetherAndWhereToTrace) {
    unsetenv(DisplayTrace::kEnvironment);
    EXPECT_EQ(DisplayTrace::FromEnvironment(), nullptr);
    setenv(DisplayTrace::kEnvironment, "", 1);
    EXPECT_EQ(DisplayTrace::FromEnvironment(), nullptr);
    const std::string path = TempPath("trace-env.txt");
    setenv(DisplayTrace::kEnvironment, path.c_str(), 1);
    const std::unique_ptr<DisplayTrace> trace = DisplayTrace::FromEnvironment();
    unsetenv(DisplayTrace::kEnvironment);
    ASSERT_NE(trace, nullptr);
    EXPECT_EQ(trace->Path(), path);
    DisplayTrace::Record(Event::WordsTaken, 0);
    EXPECT_EQ(trace->Size(), 1u);
}

TEST(DisplayTraceThreads, RecordsFromSeveralThreadsAtOnceAreAllKept) {
    constexpr int kThreads = 4;
    constexpr int kEach = 5000;
    DisplayTrace trace(kThreads * kEach);
    DisplayTrace::Install(&trace);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < kEach; ++i)
                DisplayTrace::Record(Event::SpectrumRise, t);
        });
    for (std::thread& thread : threads)
        thread.join();
    DisplayTrace::Install(nullptr);
    EXPECT_EQ(trace.Size(), static_cast<std::size_t>(kThreads * kEach));
    EXPECT_EQ(trace.Dropped(), 0u);
    const std::string path = TempPath("trace-threads.txt");
    ASSERT_TRUE(trace.WriteTo(path));
    std::istringstream lines(ReadAll(path));
    int counts[kThreads] = {};
    std::string name;
    int value = 0;
    long long ns = 0;
    while (lines >> name >> value >> ns)
        if (name == "spectrum-rise" && value >= 0 && value < kThreads)
            ++counts[value];
    for (int count : counts)
        EXPECT_EQ(count, kEach);
    std::remove(path.c_str());
}

} // namespace
