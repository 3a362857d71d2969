#include "output/NoteTracker.h"

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

namespace {

struct Message {
    int status, data1, data2;
    bool operator==(const Message&) const = default;
};

std::vector<Message> Silenced(NoteTracker& notes) {
    std::vector<Message> sent;
    notes.Silence([&](std::uint8_t s, std::uint8_t d1, std::uint8_t d2) {
        sent.push_back({s, d1, d2});
    });
    return sent;
}

// The messages of Silence for one channel, in order.
std::vector<Message> OnChannel(const std::vector<Message>& sent, int channel) {
    std::vector<Message> picked;
    for (const Message& m : sent) {
        if ((m.status & 0x0F) == channel)
            picked.push_back(m);
    }
    return picked;
}

} // namespace

TEST(NoteTrackerPedals, APedalLeftDownIsReleasedBeforeAllNotesOff) {
    NoteTracker notes;
    notes.Track(0x90, 60, 100);
    notes.Track(0xB0, 64, 127); // sustain down, note held
    notes.Track(0x80, 60, 0);
    notes.Track(0xB3, 66, 100); // sostenuto down on channel 3
    notes.Track(0xB5, 64, 127); // down and up again: nothing to release
    notes.Track(0xB5, 64, 0);
    const std::vector<Message> sent = Silenced(notes);
    EXPECT_EQ(OnChannel(sent, 0), (std::vector<Message>{{0xB0, 64, 0}, {0xB0, 123, 0}}));
    EXPECT_EQ(OnChannel(sent, 3), (std::vector<Message>{{0xB3, 66, 0}, {0xB3, 123, 0}}));
    EXPECT_EQ(OnChannel(sent, 5), (std::vector<Message>{{0xB5, 123, 0}}));
    EXPECT_EQ(sent.size(), 16u + 2u);

    // Forgotten after silencing: a second reset sends only All Notes Off.
    EXPECT_EQ(Silenced(notes).size(), 16u);
}

TEST(NoteTrackerPedals, NoteOffsComeFirstAndResetControllersLiftsThePedals) {
    NoteTracker notes;
    notes.Track(0x92, 40, 90);
    notes.Track(0xB2, 64, 64); // 64 is already down
    notes.Track(0xB1, 64, 127);
    notes.Track(0xB1, 66, 127);
    notes.Track(0xB1, 121, 0); // reset all controllers lets both up
    EXPECT_TRUE(notes.PedalDown(2, 64));
    EXPECT_FALSE(notes.PedalDown(1, 64));
    EXPECT_FALSE(notes.PedalDown(1, 66));
    const std::vector<Message> sent = Silenced(notes);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), (Message{0x82, 40, 0}));
    EXPECT_EQ(OnChannel(sent, 1), (std::vector<Message>{{0xB1, 123, 0}}));
    EXPECT_EQ(OnChannel(sent, 2),
              (std::vector<Message>{{0x82, 40, 0}, {0xB2, 64, 0}, {0xB2, 123, 0}}));
}
