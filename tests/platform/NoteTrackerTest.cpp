#include "platform/NoteTracker.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<int, int>> Released(NoteTracker& notes) {
    std::vector<std::pair<int, int>> released;
    notes.Release([&](int channel, int note) { released.emplace_back(channel, note); });
    return released;
}

} // namespace

TEST(NoteTracker, ReleasesExactlyTheNotesStillSounding) {
    NoteTracker notes;
    notes.Track(0x90, 60, 100);
    notes.Track(0x90, 64, 100);
    notes.Track(0x80, 60, 0);  // ended by a note-off
    notes.Track(0x99, 36, 90); // drums
    notes.Track(0x99, 38, 90);
    notes.Track(0x99, 38, 0);   // a note-on of velocity 0 ends it too
    notes.Track(0xB0, 64, 127); // controllers change nothing
    EXPECT_EQ(Released(notes), (std::vector<std::pair<int, int>>{{0, 64}, {9, 36}}));
    EXPECT_FALSE(notes.AnySounding());
    EXPECT_TRUE(Released(notes).empty());
}

TEST(NoteTracker, NeedsOneNoteOffPerStartOfTheSameKey) {
    NoteTracker notes;
    notes.Track(0x92, 70, 10);
    notes.Track(0x92, 70, 20);
    EXPECT_EQ(notes.Count(2, 70), 2);
    notes.Track(0x82, 70, 0);
    EXPECT_EQ(notes.Count(2, 70), 1);
    EXPECT_EQ(Released(notes), (std::vector<std::pair<int, int>>{{2, 70}}));
}

TEST(NoteTracker, IgnoresNoteOffsWithoutANoteOnAndKeepsChannelsApart) {
    NoteTracker notes;
    notes.Track(0x81, 60, 0);
    notes.Track(0x90, 60, 100);
    notes.Track(0x81, 60, 0); // another channel's note-off
    EXPECT_EQ(notes.Count(0, 60), 1);
    EXPECT_EQ(notes.Count(1, 60), 0);
    notes.Track(0x90, 200, 100); // not a note number: nothing to remember
    EXPECT_EQ(Released(notes), (std::vector<std::pair<int, int>>{{0, 60}}));
}
