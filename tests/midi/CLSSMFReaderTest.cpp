#include "midi/CLSSMFReader.h"

#include "fixtures/SmfBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Event = CLSMIDIData::CLSMIDIEvent;

struct Read {
    std::vector<std::uint32_t> deltas;
    std::vector<int> statuses;
    std::vector<int> rows;
};

Read MergeAll(CLSSMFReader& reader) {
    Read out;
    Event event;
    std::uint32_t delta = 0;
    while (reader.NextEvent(event, delta)) {
        out.deltas.push_back(delta);
        out.statuses.push_back(event.Status());
        out.rows.push_back(event.row);
    }
    return out;
}

TEST(SMFReader, MergesByAbsoluteTimeAcrossTracks) {
    SmfBuilder smf;
    smf.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(30, 0, 60).End();
    smf.AddTrack()
        .Controller(10, 1, 7, 100)
        .Controller(10, 1, 7, 90)
        .Controller(20, 1, 7, 80)
        .End();
    const std::string bytes = smf.Bytes();
    CLSSMFReader reader(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), 0);
    ASSERT_TRUE(reader.ReadHeader());
    EXPECT_EQ(reader.TrackCount(), 2u);
    EXPECT_EQ(reader.Resolution(), 480);
    MIDITRACKINFOARRAY rows;
    ASSERT_TRUE(reader.BuildRows(rows));
    EXPECT_EQ(reader.EventCount(), 5u);
    const Read read = MergeAll(reader);
    // tick 0 note-on, 10 and 20 controllers, 30: the note-off (track 0) before the controller
    EXPECT_EQ(read.deltas, (std::vector<std::uint32_t>{0, 10, 10, 10, 10}));
    EXPECT_EQ(read.statuses, (std::vector<int>{0x90, 0xB1, 0xB1, 0x80, 0xB1}));
    EXPECT_EQ(read.rows, (std::vector<int>{0, 1, 1, 0, 1})); // notes: row 0; others: track
}

TEST(SMFReader, MergeWithoutRowsStillReadsEveryEvent) {
    // Rows are optional: the merge alone must not depend on BuildRows having run.
    SmfBuilder smf;
    smf.AddTrack().Program(0, 0, 5).NoteOn(0, 0, 60, 100).End();
    const std::string bytes = smf.Bytes();
    CLSSMFReader reader(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), 0);
    ASSERT_TRUE(reader.ReadHeader());
    EXPECT_EQ(MergeAll(reader).statuses, (std::vector<int>{0xC0, 0x90}));
    Event event;
    std::uint32_t delta = 0;
    EXPECT_FALSE(reader.NextEvent(event, delta)); // stays exhausted
}

TEST(SMFReader, TrailingChunksOfFormatZeroMakeAnXFFile) {
    SmfBuilder xf(0);
    xf.AddTrack().NoteOn(0, 0, 60, 100).End();
    xf.AddTrack("XFIH").End();
    xf.AddTrack("ABCD").Raw("zz");
    xf.DeclareTracks(1);
    const std::string bytes = xf.Bytes();
    CLSSMFReader reader(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), 0);
    ASSERT_TRUE(reader.ReadHeader());
    EXPECT_TRUE(reader.IsXF());
    EXPECT_EQ(reader.TrackCount(), 2u); // the unknown chunk is no track
}

TEST(MIDIEvent, StatusAndPayloadAreSetTogether) {
    const std::uint8_t text[] = {'a', 'b'};
    Event meta = Event::WithBlock(0xFF, 0x03, text, 2);
    EXPECT_EQ(meta.BlockLength(), 2u);
    EXPECT_STREQ(meta.BlockText(), "ab");

    Event sysex = Event::WithBlock(0xF0, 0, text, 2, 0xF0);
    ASSERT_EQ(sysex.BlockLength(), 3u);
    EXPECT_EQ(sysex.BlockData()[0], 0xF0);

    // Asked for a block under a status that has none: the bytes become data, nothing is owned.
    Event note = Event::WithBlock(0x90, 0, text, 2);
    EXPECT_EQ(note.Block(), nullptr);
    EXPECT_EQ(note.Data1(), 'a');
    EXPECT_EQ(note.Data2(), 'b');

    // A status that needs a block but was made without one owns nothing and reads as empty.
    const Event bare = Event::Message(0xF7);
    EXPECT_EQ(bare.BlockLength(), 0u);
    EXPECT_STREQ(bare.BlockText(), "");

    const Event tempo = Event::TempoChange(400000);
    EXPECT_EQ(tempo.Status(), 0xFF);
    EXPECT_EQ(tempo.MetaType(), 0x51);
    EXPECT_EQ(tempo.Tempo(), 400000u);
    EXPECT_EQ(tempo.Block(), nullptr);
}

TEST(MIDIEvent, MovingHandsTheBlockOver) {
    const std::uint8_t bytes[] = {1, 2, 3};
    Event a = Event::WithBlock(0xF7, 0, bytes, 3);
    Event b = std::move(a);
    EXPECT_EQ(b.BlockLength(), 3u);
    EXPECT_EQ(a.Block(), nullptr); // NOLINT: the moved-from event is empty, not dangling
    a = std::move(b);
    EXPECT_EQ(a.BlockLength(), 3u);
    a = Event::Message(0x90, 60, 100); // frees the block (ASan would see a leak otherwise)
    EXPECT_EQ(a.Data1(), 60);
}

} // namespace
