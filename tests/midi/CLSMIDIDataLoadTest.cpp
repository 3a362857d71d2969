#include "SongTestHelpers.h"

#include "fixtures/TestPaths.h"

#include <gtest/gtest.h>

namespace {

std::string OneNoteSong(int format = 1, int division = 480) {
    SmfBuilder smf(format, division);
    smf.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(960, 0, 60).End();
    return smf.Bytes();
}

class SongLoad : public ::testing::Test {
protected:
    void SetUp() override { CLSMIDIData::SetSpectrumType(0); }
    void TearDown() override { CLSMIDIData::SetSpectrumType(0); }
    CLSMIDIData song;
};

TEST_F(SongLoad, RefusesWhatIsNotAPlayableSmfSilently) {
    std::string shortFile = OneNoteSong().substr(0, 27);
    EXPECT_FALSE(LoadBytes(song, shortFile));

    SmfBuilder longHeader;
    longHeader.HeaderLength(7).AddTrack().NoteOn(0, 0, 60, 100).End();
    EXPECT_FALSE(LoadBytes(song, longHeader.Bytes()));

    SmfBuilder format2(2);
    format2.AddTrack().NoteOn(0, 0, 60, 100).End();
    EXPECT_FALSE(LoadBytes(song, format2.Bytes()));

    EXPECT_FALSE(LoadBytes(song, OneNoteSong(1, 0x8000 | (25 << 8) | 40))); // time code
    EXPECT_FALSE(LoadBytes(song, OneNoteSong(1, 0)));                       // divides by 0

    // Chunks of unknown types are skipped, but only after an MThd header.
    SmfBuilder otherChunk;
    otherChunk.AddTrack().NoteOn(0, 0, 60, 100).End();
    otherChunk.AddTrack("MTrx").End();
    EXPECT_TRUE(LoadBytes(song, otherChunk.Bytes()));
    std::string noHeader = otherChunk.Bytes();
    noHeader.replace(0, 4, "MTrk");
    EXPECT_FALSE(LoadBytes(song, noHeader));
    EXPECT_FALSE(song.IsLoaded());
}

TEST_F(SongLoad, FailedLoadLeavesNoTraceOfThePreviousSong) {
    SmfBuilder smf;
    smf.AddTrack().TrackName(0, "Old").NoteOn(0, 0, 60, 100).End();
    ASSERT_TRUE(LoadBytes(song, smf.Bytes()));
    ASSERT_TRUE(song.IsLoaded());
    EXPECT_FALSE(LoadBytes(song, "RIFF...."));
    EXPECT_FALSE(song.IsLoaded());
    EXPECT_TRUE(song.GetTitle().IsEmpty());
    EXPECT_TRUE(song.GetRows().empty());
    EXPECT_TRUE(song.GetWords().empty());
    EXPECT_TRUE(song.GetFileName().IsEmpty());
}

// What a synthesizer that loads instruments lazily is told to have ready before play.
TEST_F(SongLoad, ListsEveryInstrumentWithTheBankInForceOnce) {
    SmfBuilder smf;
    smf.AddTrack()
        .Program(0, 0, 5)
        .Controller(0, 0, 0, 8) // counts from the next program change on
        .Controller(0, 1, 0, 3)
        .Program(10, 0, 5)
        .Program(0, 9, 25)
        .Program(0, 1, 5)
        .Program(5, 0, 5)
        .End();
    smf.AddTrack().Program(20, 0, 40).End();
    ASSERT_TRUE(LoadBytes(song, smf.Bytes()));
    using P = MidiOutput::Program;
    EXPECT_EQ(song.GetPrograms(),
              (std::vector<P>{
                  {0, 5, false}, {0, 25, true}, {3, 5, false}, {8, 5, false}, {8, 40, false}}));
    ASSERT_TRUE(LoadBytes(song, OneNoteSong()));
    EXPECT_TRUE(song.GetPrograms().empty()) << "kept from the song before";
}

TEST_F(SongLoad, UnwrapsRiffMidiFiles) {
    ASSERT_TRUE(LoadBytes(song, SmfWrapRmid(OneNoteSong())));
    EXPECT_EQ(song.GetEvents().size(), 2u);
    EXPECT_EQ(song.GetLength(), 1000u);

    // A RIFF file of another kind, or an RMID form without data, is still no song.
    std::string wave = SmfWrapRmid(OneNoteSong());
    wave.replace(8, 4, "WAVE");
    EXPECT_FALSE(LoadBytes(song, wave));
    std::string noData = SmfWrapRmid(OneNoteSong());
    noData.replace(12, 4, "LIST");
    EXPECT_FALSE(LoadBytes(song, noData));
}

TEST_F(SongLoad, MergesTracksEarlierTrackFirstOnTies) {
    SmfBuilder smf;
    smf.AddTrack().NoteOn(0, 0, 60, 100).NoteOn(0, 0, 64, 100).NoteOff(10, 0, 60).End();
    smf.AddTrack().NoteOn(0, 1, 70, 100).NoteOff(10, 1, 70).NoteOn(0, 1, 71, 100).End();
    ASSERT_TRUE(LoadBytes(song, smf.Bytes()));
    const auto ev = Events(song);
    ASSERT_EQ(ev.size(), 6u);
    // tick 0: A, A, B; tick 10: A, then B keeps going while its deltas are 0
    const int notes[] = {60, 64, 70, 60, 70, 71};
    const int deltas[] = {0, 0, 0, 10, 0, 0};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(ev[i]->Data1(), notes[i]) << i;
        EXPECT_EQ(ev[i]->delta, deltas[i]) << i;
    }
}

TEST_F(SongLoad, SkippedEventsHandTheirTimeToTheNextKeptEvent) {
    SmfBuilder smf;
    smf.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(100, 0, 60).End();
    smf.AddTrack().Lyric(30, "a").Text(20, "t").CuePoint(10, "c").End();
    ASSERT_TRUE(LoadBytes(song, smf.Bytes()));
    const auto ev = Events(song);
    ASSERT_EQ(ev.size(), 2u);
    EXPECT_EQ(ev[1]->delta, 100);
    EXPECT_EQ(ev[1]->row, 0); // note rows, not the track

    // Tempo events enter the list and carry the skipped time too.
    SmfBuilder tempo;
    tempo.AddTrack().Lyric(40, "x").Tempo(60, 400000).Controller(5, 0, 7, 100).End();
    ASSERT_TRUE(LoadBytes(song, tempo.Bytes()));
    const auto tv = Events(song);
    ASSERT_EQ(tv.size(), 2u);
    EXPECT_EQ(tv[0]->Status(), 0xFF);
    EXPECT_EQ(tv[0]->Tempo(), 400000u);
    EXPECT_EQ(tv[0]->delta, 100);
    EXPECT_EQ(tv[1]->delta, 5);
}

TEST_F(SongLoad, ReadsRunningStatusAndNoteOnVelocityZero) {
    SmfBuilder smf;
    smf.AddTrack()
        .Running(0, 48, 90) // no status yet: a note-on
        .Controller(5, 2, 7, 100)
        .Running(5, 10, 64) // a controller again
        .NoteOn(5, 3, 62, 0)
        .End();
    ASSERT_TRUE(LoadBytes(song, smf.Bytes()));
    const auto ev = Events(song);
    ASSERT_EQ(ev.size(), 4u);
    EXPECT_EQ(ev[0]->Status(), 0x90);
    EXPECT_EQ(ev[0]->Data1(), 48);
    EXPECT_EQ(ev[2]->Status(), 0xB2);
    EXPECT_EQ(ev[2]->Data1(), 10);
    EXPECT_EQ(ev[2]->Data2(), 64);
    EXPECT_EQ(ev[3]->Status(), 0x83);
    EXPECT_EQ(ev[3]->Data2(), 64);
    EXPECT_EQ(song.GetMaxVelocity(), 90);
}

TEST_F(SongLoad, KeepsBlocksOfExclusiveAndMetaEvents) {
    SmfBuilder smf;
    smf.AddTrack()
        .Sysex(0, std::string("\x41\x10\xF7", 3))
        .Sysex(0, std::string("\x01\x02", 2), 0xF7)
        .Meta(0, 0x7F, "abc")
        .Meta(0, 0x58, std::string("\x04\x02\x18\x08", 4))
        .Meta(0, 0x20, std::string("\x05", 1))
        .End();
    ASSERT_TRUE(LoadBytes(song, smf.Bytes()));
    const auto ev = Events(song);
    ASSERT_EQ(ev.size(), 5u);
    ASSERT_EQ(ev[0]->BlockLength(), 4u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(ev[0]->BlockData()), 4),
              std::string("\xF0\x41\x10\xF7", 4));
    EXPECT_EQ(ev[1]->BlockLength(), 2u);
    EXPECT_EQ(ev[1]->BlockData()[0], 0x01);
    EXPECT_EQ(ev[2]->BlockLength(), 3u);
    EXPECT_STREQ(ev[2]->BlockText(), "abc");
    EXPECT_EQ(ev[3]->Data(3), 0x08);
    EXPECT_EQ(ev[4]->Data1(), 0x05);
    EXPECT_EQ(ev[4]->Block(), nullptr);
}

TEST_F(SongLoad, ReadsXFChunksOfFormatZeroFilesOnly) {
    SmfBuilder xf(0);
    xf.AddTrack().NoteOn(0, 0, 60, 100).End(10);
    xf.AddTrack("XFIH").Text(0, "XFhd:a:b:c:d:e:f:Comp").End();
    xf.AddTrack("XFKM").Lyric(0, "la").End();
    xf.DeclareTracks(1);
    ASSERT_TRUE(LoadBytes(song, xf.Bytes()));
    EXPECT_EQ(song.GetXF(), 1);
    EXPECT_STREQ(song.GetComposer().Text(), "Comp");

    SmfBuilder f1(1);
    f1.AddTrack().NoteOn(0, 0, 60, 100).End(10);
    f1.AddTrack("XFIH").Text(0, "XFhd:a:b:c:d:e:f:Comp").End();
    f1.DeclareTracks(1);
    ASSERT_TRUE(LoadBytes(song, f1.Bytes()));
    EXPECT_EQ(song.GetXF(), 0);
    EXPECT_TRUE(song.GetComposer().IsEmpty());
}

TEST_F(SongLoad, BuildsRowsUnderEachInstrumentMode) {
    SmfBuilder smf;
    smf.AddTrack()
        .NoteOn(0, 0, 60, 100)
        .Program(0, 0, 48)
        .NoteOn(0, 0, 62, 100)
        .NoteOn(0, 9, 36, 100)
        .End();
    smf.AddTrack().NoteOn(0, 0, 60, 100).End();
    const std::string bytes = smf.Bytes();

    ASSERT_TRUE(LoadBytes(song, bytes));
    std::vector<int> labels;
    for (const auto& row : song.GetRows())
        labels.push_back(row.label);
    EXPECT_EQ(labels, (std::vector<int>{0, 48, 128, 0})); // by track, channel, program
    const auto ev = Events(song);
    EXPECT_EQ(ev[0]->row, 0);
    EXPECT_EQ(ev[1]->row, 0); // program change: the track
    EXPECT_EQ(ev[2]->row, 1);
    EXPECT_EQ(ev[3]->row, 2);
    EXPECT_EQ(ev[4]->row, 3);

    CLSMIDIData::SetSpectrumType(1);
    ASSERT_TRUE(LoadBytes(song, bytes));
    labels.clear();
    for (const auto& row : song.GetRows())
        labels.push_back(row.label);
    EXPECT_EQ(labels, (std::vector<int>{0, 48})); // drums share program 0's row
    EXPECT_EQ(Events(song)[3]->row, 0);

    CLSMIDIData::SetSpectrumType(2);
    ASSERT_TRUE(LoadBytes(song, bytes));
    labels.clear();
    for (const auto& row : song.GetRows())
        labels.push_back(row.label);
    EXPECT_EQ(labels, (std::vector<int>{129, 138}));
}

TEST_F(SongLoad, LengthRoundsEveryStepAndIgnoresTheLastPause) {
    ASSERT_TRUE(LoadBytes(song, OneNoteSong()));
    EXPECT_EQ(song.GetLength(), 1000u);

    // 1 tick at 500000 / 3 = 166666.67 us rounds to 166667 each time.
    SmfBuilder smf(1, 3);
    smf.AddTrack().NoteOn(1, 0, 60, 100).NoteOff(1, 0, 60).Lyric(1, "x").End(100000);
    ASSERT_TRUE(LoadBytes(song, smf.Bytes()));
    EXPECT_EQ(song.GetLength(), 500u); // 3 x 166667 us

    // Two hours do not wrap a 32-bit microsecond count (which would at about 71 minutes).
    SmfBuilder hours(1, 1);
    hours.AddTrack().NoteOn(0, 0, 60, 1).Tempo(0, 1000000).NoteOff(7200, 0, 60).End();
    ASSERT_TRUE(LoadBytes(song, hours.Bytes()));
    EXPECT_EQ(song.GetLength(), 7200000u);
}

TEST_F(SongLoad, MalformedTracksKeepWhatCameBeforeTheFault) {
    // Chunk longer than the file: events up to the cut are kept.
    SmfBuilder cut;
    cut.AddTrack().NoteOn(0, 0, 60, 100).NoteOn(10, 0, 62, 100).NoteOn(10, 0, 64, 100);
    std::string bytes = cut.Bytes();
    bytes.resize(bytes.size() - 1);
    ASSERT_TRUE(LoadBytes(song, bytes));
    EXPECT_EQ(song.GetEvents().size(), 2u);

    // A declared length shorter than the events: the event that crosses it is dropped, and
    // the next chunk is still found where the length says.
    SmfBuilder past;
    past.AddTrack().NoteOn(0, 0, 60, 100).NoteOn(10, 0, 62, 100);
    past.DeclareLength(0, 6);
    ASSERT_TRUE(LoadBytes(song, past.Bytes() + std::string(2, '\0')));
    EXPECT_EQ(song.GetEvents().size(), 1u);

    const std::pair<const char*, std::string> faults[] = {
        {"overlong number", std::string("\x81\x81\x81\x81\x00\x90\x40\x40", 8)},
        {"undefined status", std::string("\x00\xF4\x00\x90\x40\x40", 6)},
        {"undefined in running", std::string("\x00\xFD", 2)},
        {"sysex past end", std::string("\x00\xF0\x7F\x01", 4)},
        {"meta past end", std::string("\x00\xFF\x05\x10"
                                      "ab",
                                      5)},
        {"tempo past end", std::string("\x00\xFF\x51\x03\x07", 5)},
    };
    for (const auto& [name, tail] : faults) {
        SmfBuilder smf;
        smf.AddTrack().NoteOn(0, 0, 60, 100).Raw(tail);
        smf.AddTrack().NoteOn(5, 1, 50, 100).End();
        ASSERT_TRUE(LoadBytes(song, smf.Bytes())) << name;
        const auto ev = Events(song);
        ASSERT_EQ(ev.size(), 2u) << name;
        EXPECT_EQ(ev[1]->Data1(), 50) << name;
    }
}

TEST_F(SongLoad, EmptyTracksAndMissingChunksAreHarmless) {
    SmfBuilder smf;
    smf.AddTrack().End();
    smf.AddTrack();
    smf.AddTrack().NoteOn(0, 0, 60, 100).End();
    smf.DeclareTracks(5);
    ASSERT_TRUE(LoadBytes(song, smf.Bytes()));
    EXPECT_EQ(song.GetEvents().size(), 1u);
    EXPECT_EQ(song.GetEvents().front().row, 0);
}

TEST_F(SongLoad, LoadsFromDiskAndReportsReadErrorsToTheOwner) {
    TempDir dir;
    const std::string path = dir.File("song.mid");
    WriteFileBytes(path, OneNoteSong());
    int notified = -1;
    const int owner = 0;
    song.SetOwner(&owner, [&](int kind, unsigned) { notified = kind; });
    ASSERT_TRUE(song.Load(path.c_str()));
    EXPECT_STREQ(song.GetFileName().Text(), path.c_str());
    EXPECT_EQ(notified, CLSMIDIData::kNotifyLoaded);

    std::vector<std::string> shown;
    auto previous =
        CLSError::SetReporter([&](const CLSError::Report& r) { shown.push_back(r.text); });
    EXPECT_FALSE(song.Load(dir.File("missing.mid").c_str()));
    song.SetOwner(nullptr);
    EXPECT_FALSE(song.Load(dir.File("missing.mid").c_str())); // no owner: nothing shown
    CLSError::SetReporter(previous);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("ファイルを読み込めません。"), std::string::npos);
    EXPECT_NE(shown[0].find("MIDIDATA"), std::string::npos);
}

} // namespace
