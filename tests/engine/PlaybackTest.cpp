// The playback engine on a virtual clock: what is sent, when it is due, and what the rows show.
#include "backends/MidiOutDevices.h"
#include "engine/EngineHarness.h"
#include "fixtures/TestPaths.h"

#include <algorithm>

namespace {

using Bytes = std::vector<std::uint8_t>;

// At resolution 100 and the default tempo one tick lasts exactly 5 ms.
constexpr int kResolution = 100;
constexpr std::uint32_t At(unsigned ms) {
    return ms / 5;
}

bool HasNoteOn(const std::vector<Bytes>& shorts) {
    return std::any_of(shorts.begin(), shorts.end(),
                       [](const Bytes& b) { return (b[0] & 0xF0) == 0x90; });
}

MIDITRACKINFO& RowWithLabel(CLSMIDIData& song, int label) {
    for (MIDITRACKINFO& row : song.GetRows()) {
        if (row.label == label)
            return row;
    }
    ADD_FAILURE() << "no row labelled " << label;
    return song.GetRows()[0];
}

using Chase = EngineHarness;

TEST_F(Chase, ReplaysStateWithoutSoundingNotes) {
    SongBuilder b(kResolution);
    b.Program(At(5000), 0, 48).Controller(At(5000), 0, 7, 100).Raw(At(6000), {0xE0, 0, 0x50});
    b.NoteOn(At(8500), 0, 64, 70).NoteOff(At(8800), 0, 64).NoteOn(At(9000), 0, 60, 90);
    b.NoteOn(At(12000), 0, 67, 80).NoteOff(At(13000), 0, 67);
    Load(b);

    const MonoTime start = PlayAt(10000);
    const auto chased = Shorts();
    EXPECT_EQ(chased, (std::vector<Bytes>{{0xC0, 48}, {0xB0, 7, 100}, {0xE0, 0, 0x50}}));
    EXPECT_EQ(lastDeviceId, -1);
    const MIDITRACKINFO& row = RowWithLabel(song, 48);
    EXPECT_EQ(row.sounding.load(), 1); // 64 was released before the start, 60 is still on
    EXPECT_EQ(row.level.load(), 90);
    EXPECT_TRUE(Notifications().empty());

    Run(ms(2100));
    const auto notes = Notes();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].bytes, (Bytes{0x90, 67, 80}));
    EXPECT_EQ(Micros(start, notes[0].due), 2000000); // due exactly 2 s after the start
    EXPECT_EQ(row.sounding.load(), 2);
}

TEST_F(Chase, ExclusiveIsReplayedUnlessSuppressed) {
    SongBuilder b(kResolution);
    b.Exclusive(At(100), 10).NoteOn(At(1000), 0, 60, 100);
    Load(b);
    PlayAt(500);
    EXPECT_EQ(output.Messages().back().kind, RecordedMidiMessage::Kind::Long);
    song.Stop();
    output.ClearMessages();
    song.SetNoSendExclusive(true);
    song.Play(500, 0);
    EXPECT_EQ(output.Messages().size(), 1u); // the reset at opening only
}

using Tick = EngineHarness;

TEST_F(Tick, TempoPercentScalesRealTimeButNotPosition) {
    SongBuilder b(kResolution);
    b.NoteOn(0, 0, 60, 100).NoteOff(At(60000), 0, 60);
    Load(b);
    song.SetTempoPercent(200);
    const MonoTime start = PlayAt(0);
    Run(ms(15000));
    EXPECT_EQ(song.GetPosition(), 30000u);
    Run(ms(14985));
    EXPECT_EQ(Notes().size(), 1u);
    EXPECT_TRUE(Notifications().empty());
    Run(ms(15));
    const auto notes = Notes();
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(Micros(start, notes[1].due), 30000000);
    EXPECT_EQ(Notifications(), (std::vector<Notification>{{CLSMIDIData::kNotifyEnd, 0}}));
}

TEST_F(Tick, TempoPercentOutsideRangeMeansAsWritten) {
    SongBuilder b(kResolution);
    b.NoteOn(0, 0, 60, 100).NoteOff(At(60000), 0, 60);
    Load(b);
    PlayAt(0);
    for (int percent : {0, 1001, -5}) {
        song.SetTempoPercent(percent);
        const unsigned before = song.GetPosition();
        Run(ms(300));
        EXPECT_EQ(song.GetPosition() - before, 300u) << percent;
    }
    song.SetTempoPercent(250);
    const unsigned before = song.GetPosition();
    Run(ms(300));
    EXPECT_EQ(song.GetPosition() - before, 750u);
}

TEST_F(Tick, EveryMessageCarriesItsExactDueTime) {
    SongBuilder b(kResolution);
    b.NoteOn(At(10), 0, 60, 100).NoteOn(At(20), 1, 61, 100).Tempo(At(20), 250000);
    b.NoteOn(At(40), 2, 62, 100); // 4 ticks at the doubled tempo: 10 ms of song after the change
    Load(b);
    song.SetTempoPercent(250);
    const MonoTime start = PlayAt(0);
    Run(ms(45));
    const auto notes = Notes();
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(Micros(start, notes[0].due), 4000); // 10 ms of song at 250 %
    EXPECT_EQ(Micros(start, notes[1].due), 8000);
    EXPECT_EQ(Micros(start, notes[2].due), 12000);
    for (const RecordedMidiMessage& m : notes) {
        EXPECT_GE(m.sent, m.due);
        EXPECT_LT(m.sent - m.due, ms(CLSMIDIData::kTimerPeriodMs));
    }
}

TEST_F(Tick, TransposesEveryChannelButTheTenth) {
    SongBuilder b(kResolution);
    b.NoteOn(0, 0, 60, 100).NoteOn(0, 9, 60, 100).NoteOn(0, 0, 127, 100);
    b.NoteOff(At(100), 0, 60).NoteOff(At(100), 9, 60).NoteOff(At(100), 0, 127);
    Load(b);
    song.SetKey(2);
    PlayAt(0);
    Run(ms(150));
    std::vector<Bytes> notes;
    for (const RecordedMidiMessage& m : Notes())
        notes.push_back(m.bytes);
    // 127 + 2 leaves the note range: neither the note nor its note-off goes out.
    EXPECT_EQ(notes, (std::vector<Bytes>{
                         {0x90, 62, 100}, {0x99, 60, 100}, {0x80, 62, 64}, {0x89, 60, 64}}));
}

TEST_F(Tick, KeyChangeWhilePlayingResetsAndRestoresPrograms) {
    SongBuilder b(kResolution);
    b.Program(0, 2, 5).NoteOn(0, 2, 60, 100).NoteOff(At(1000), 2, 60);
    Load(b);
    PlayAt(0);
    Run(ms(30));
    output.ClearMessages();
    song.SetKey(-3);
    EXPECT_TRUE(output.Messages().empty()); // the next tick carries it out
    Run(ms(CLSMIDIData::kTimerPeriodMs));
    const auto messages = output.Messages();
    ASSERT_EQ(messages.size(), 17u);
    EXPECT_EQ(messages[0].kind, RecordedMidiMessage::Kind::Reset);
    for (int channel = 0; channel < 16; ++channel) {
        const Bytes expected = {static_cast<std::uint8_t>(0xC0 | channel),
                                static_cast<std::uint8_t>(channel == 2 ? 5 : 0)};
        EXPECT_EQ(messages[channel + 1].bytes, expected);
    }
    Run(ms(1000));
    EXPECT_EQ(Notes().back().bytes, (Bytes{0x82, 57, 64}));
}

TEST_F(Tick, AdjustedVelocityScalesToTheLoudestNote) {
    SongBuilder b(kResolution);
    b.NoteOn(0, 0, 60, 100).NoteOn(At(50), 0, 62, 50);
    Load(b);
    song.SetAdjustVelocity(true);
    PlayAt(0);
    Run(ms(60));
    const auto notes = Notes();
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].bytes[2], 127);
    EXPECT_EQ(notes[1].bytes[2], 63);
    EXPECT_EQ(song.GetRows()[0].level.load(), 63);

    song.Stop();
    output.ClearMessages();
    song.SetAdjustVelocity(false);
    song.Play(0, -1);
    Run(ms(60));
    EXPECT_EQ(Notes()[1].bytes[2], 50);
}

TEST_F(Tick, MutedRowSendsNoNoteOnButItsNoteOff) {
    SongBuilder b(kResolution);
    b.Program(0, 0, 1).Program(0, 1, 2);
    b.NoteOn(0, 0, 60, 100).NoteOn(0, 1, 61, 100).NoteOff(At(100), 0, 60).NoteOff(At(100), 1, 61);
    Load(b);
    MIDITRACKINFO& muted = RowWithLabel(song, 2);
    muted.muted = true;
    PlayAt(0);
    Run(ms(15));
    EXPECT_EQ(muted.sounding.load(), 0);
    EXPECT_EQ(RowWithLabel(song, 1).sounding.load(), 1);
    Run(ms(120));
    std::vector<Bytes> notes;
    for (const RecordedMidiMessage& m : Notes())
        notes.push_back(m.bytes);
    EXPECT_EQ(notes, (std::vector<Bytes>{{0x90, 60, 100}, {0x80, 60, 64}, {0x81, 61, 64}}));
    EXPECT_EQ(muted.sounding.load(), 0);
}

TEST_F(Tick, ExclusiveUpTo512BytesIsSent) {
    SongBuilder b(kResolution);
    b.Exclusive(At(10), 512).Exclusive(At(20), 600).Exclusive(At(30), 513).NoteOn(At(40), 0, 1, 1);
    Load(b);
    PlayAt(0);
    Run(ms(60));
    std::vector<std::size_t> sizes;
    for (const RecordedMidiMessage& m : output.Messages()) {
        if (m.kind == RecordedMidiMessage::Kind::Long)
            sizes.push_back(m.bytes.size());
    }
    EXPECT_EQ(sizes, (std::vector<std::size_t>{512}));
    EXPECT_TRUE(errors.empty());
}

// Records where each exclusive message's bytes lie, to see that buffers are not reused at once.
class BufferSpy final : public MidiOutput {
public:
    int Open() override { return MIDIOUT_OK; }
    int Reset() override { return MIDIOUT_OK; }
    int ShortMsg(std::uint8_t, std::uint8_t, std::uint8_t, MonoTime) override { return 0; }
    int LongMsg(const std::uint8_t* bytes, std::size_t length, MonoTime) override {
        buffers->push_back(bytes);
        contents->push_back(Bytes(bytes, bytes + length));
        return MIDIOUT_OK;
    }
    int SetVolume(std::uint32_t) override { return MIDIOUT_OK; }
    int GetVolume(std::uint32_t&) override { return MIDIOUT_OK; }
    int Close() override { return MIDIOUT_OK; }
    std::vector<const std::uint8_t*>* buffers = nullptr;
    std::vector<Bytes>* contents = nullptr;
};

TEST_F(Tick, CloseExclusiveMessagesUseSeparateBuffers) {
    SongBuilder b(kResolution);
    b.Exclusive(At(10), 8).Exclusive(At(10), 9).Exclusive(At(10), 10);
    Load(b);
    std::vector<const std::uint8_t*> buffers;
    std::vector<Bytes> contents;
    CLSMIDIData::PlaybackSetup setup;
    setup.clock = &clock;
    setup.timer = &timer;
    setup.closeWait = ms(0);
    setup.openOutput = [&](int, std::unique_ptr<MidiOutput>& out) {
        auto spy = std::make_unique<BufferSpy>();
        spy->buffers = &buffers;
        spy->contents = &contents;
        out = std::move(spy);
        return MIDIOUT_OK;
    };
    song.SetPlaybackSetup(std::move(setup));
    PlayAt(0);
    Run(ms(15));
    ASSERT_EQ(buffers.size(), 3u);
    EXPECT_NE(buffers[0], buffers[1]);
    EXPECT_NE(buffers[1], buffers[2]);
    EXPECT_EQ(Bytes(buffers[0], buffers[0] + 8), contents[0]); // still intact after the others
}

using Notify = EngineHarness;

TEST_F(Notify, TempoChangesOnlyWhilePlayingAndEndOnce) {
    SongBuilder b(kResolution);
    b.Tempo(At(1000), 400000).Tempo(At(3000), 600000).NoteOn(At(3000), 0, 60, 100);
    Load(b);
    PlayAt(2000);
    EXPECT_EQ(song.GetTempo(), 400000u);
    Run(ms(585)); // the second change is 600 ms after the start
    EXPECT_TRUE(Notifications().empty());
    Run(ms(30));
    EXPECT_EQ(Notifications(), (std::vector<Notification>{{CLSMIDIData::kNotifyTempo, 600000},
                                                          {CLSMIDIData::kNotifyEnd, 0}}));
    EXPECT_EQ(song.GetTempo(), 600000u);
    Run(ms(1000));
    EXPECT_EQ(Notifications().size(), 2u); // the end is reported once; the shell stops
    EXPECT_TRUE(song.IsPlaying());
}

// The end comes when the last note is heard: closing the output at once would drop it.
TEST_F(Notify, TheEndWaitsForTheOutputsLatencyWithTheSongTimeStoppedAtItsEnd) {
    outputLatency = ms(120);
    SongBuilder b(kResolution);
    b.NoteOn(0, 0, 60, 100).NoteOn(At(1000), 9, 76, 100);
    Load(b);
    PlayAt(0);
    Run(ms(1050));
    EXPECT_TRUE(Notifications().empty());
    const unsigned end = song.GetPosition();
    EXPECT_LE(end, 1010u);
    Run(ms(60));
    EXPECT_TRUE(Notifications().empty());
    EXPECT_EQ(song.GetPosition(), end);
    Run(ms(40));
    EXPECT_EQ(Notifications(), (std::vector<Notification>{{CLSMIDIData::kNotifyEnd, 0}}));
}

TEST_F(Notify, StartPastTheEndReportsEndAtFirstTick) {
    SongBuilder b(kResolution);
    b.NoteOn(0, 0, 60, 100).NoteOff(At(1000), 0, 60);
    Load(b);
    PlayAt(5000);
    EXPECT_FALSE(HasNoteOn(Shorts()));
    EXPECT_TRUE(Notifications().empty());
    Run(ms(15));
    EXPECT_EQ(Notifications(), (std::vector<Notification>{{CLSMIDIData::kNotifyEnd, 0}}));
    EXPECT_TRUE(Notes().empty());
}

using StopAndResume = EngineHarness;

TEST_F(StopAndResume, ResumingAtTheStopPositionRepeatsNoNote) {
    for (int percent : {100, 250, 40}) {
        SCOPED_TRACE(percent);
        SongBuilder b(kResolution);
        // One note on every 5 ms: whichever tick the stop falls on, one was just sent.
        for (unsigned t = 0; t < At(2000); ++t)
            b.NoteOn(t, 0, 40 + t % 40, 100).NoteOff(t + 1, 0, 40 + t % 40);
        Load(b);
        output.ClearMessages();
        song.SetTempoPercent(percent);
        PlayAt(0);
        for (int pause = 0; pause < 5; ++pause) {
            Run(ms(15 * (pause + 2)));
            song.Stop();
            EXPECT_EQ(song.GetRows()[0].sounding.load(), 0);
            const unsigned position = song.GetPosition();
            ASSERT_TRUE(song.Play(position, -1));
            EXPECT_EQ(song.GetPosition(), position);
        }
        Run(ms(100));
        song.Stop();
        int noteOns = 0;
        for (const RecordedMidiMessage& m : Notes()) {
            if ((m.bytes[0] & 0xF0) == 0x90) {
                EXPECT_EQ(m.bytes[1], 40 + noteOns % 40) << "note " << noteOns << " repeated";
                ++noteOns;
            }
        }
        EXPECT_GT(noteOns, 20);
    }
}

TEST_F(StopAndResume, StopClosesTheDeviceAndZeroesTheRows) {
    SongBuilder b(kResolution);
    b.NoteOn(0, 0, 60, 100).NoteOff(At(1000), 0, 60);
    Load(b);
    PlayAt(0);
    Run(ms(15));
    EXPECT_EQ(song.GetRows()[0].sounding.load(), 1);
    song.Stop();
    EXPECT_FALSE(song.IsPlaying());
    EXPECT_FALSE(output.IsOpen());
    EXPECT_FALSE(timer.IsRunning());
    EXPECT_EQ(song.GetRows()[0].sounding.load(), 0);
    EXPECT_EQ(song.GetRows()[0].level.load(), 0);
    EXPECT_EQ(song.GetPosition(), 15u);
    // Seeking elsewhere chases again: the note is on at 500 ms.
    ASSERT_TRUE(song.Play(500, -1));
    EXPECT_EQ(song.GetRows()[0].sounding.load(), 1);
}

TEST_F(StopAndResume, PlayWithoutSongOrTwiceIsHarmless) {
    EXPECT_FALSE(song.Play(0, -1));
    EXPECT_EQ(output.OpenCount(), 0);
    SongBuilder b(kResolution);
    b.NoteOn(0, 0, 60, 100);
    Load(b);
    EXPECT_TRUE(song.Play(0, -1));
    EXPECT_TRUE(song.Play(0, -1));
    EXPECT_EQ(output.OpenCount(), 1);
    song.Clear();
    EXPECT_FALSE(song.IsPlaying());
    EXPECT_EQ(song.GetPosition(), 0u);
}

using Device = EngineHarness;

TEST_F(Device, VolumeIsClampedAndMappedToTheDeviceRange) {
    SongBuilder b(kResolution);
    b.NoteOn(0, 0, 60, 100);
    Load(b);
    song.SetVolume(150, -5);
    EXPECT_EQ(song.GetVolumeLeft(), 100);
    EXPECT_EQ(song.GetVolumeRight(), 0);
    EXPECT_EQ(output.Volume(), MidiOutput::kFullVolume); // nothing open: only stored
    PlayAt(0);
    EXPECT_EQ(output.Volume(), 0x0000FFFFu);
    song.SetVolume(50, 50);
    EXPECT_EQ(output.Volume(), 0x7FFF7FFFu);
}

TEST_F(Device, OpeningFailureIsReportedWithTheMidiText) {
    SongBuilder b(kResolution);
    b.NoteOn(0, 0, 60, 100);
    Load(b);
    output.FailOpenWith(MIDIOUT_ALLOCATED);
    EXPECT_FALSE(song.Play(0, 3));
    EXPECT_FALSE(song.IsPlaying());
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind(MidiOutErrorText(MIDIOUT_ALLOCATED), 0), 0u);
    EXPECT_NE(errors[0].find("MIDIDATA"), std::string::npos);
}

TEST_F(Device, TimerFailureClosesTheDevice) {
    SongBuilder b(kResolution);
    b.NoteOn(0, 0, 60, 100);
    Load(b);
    ASSERT_TRUE(timer.Start(ms(15), [] {})); // a running timer refuses a second start
    EXPECT_FALSE(song.Play(0, -1));
    EXPECT_FALSE(song.IsPlaying());
    EXPECT_EQ(output.CloseCount(), 1);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("???", 0), 0u);
    timer.Stop();
}

// A capture file can be followed while it grows, and a run that opens an output at every
// play keeps all of them in the one file.
TEST_F(Device, CaptureFileShowsEachTickAndKeepsEveryPlayOfARun) {
    TempDir dir;
    const std::string path = dir.File("capture.txt");
    CLSMIDIData::PlaybackSetup setup;
    setup.clock = &clock;
    setup.timer = &timer;
    setup.closeWait = ms(0);
    setup.openOutput = MidiOutDevices::RunFactory("capture:" + path, clock);
    song.SetPlaybackSetup(std::move(setup));
    SongBuilder b(kResolution);
    b.NoteOn(At(10), 0, 60, 100).NoteOn(At(200), 0, 62, 100);
    Load(b);

    PlayAt(0);
    Run(ms(30));
    EXPECT_NE(ReadFileBytes(path).find(" 90 3C 64\n"), std::string::npos) << "still buffered";
    song.Stop();
    PlayAt(150);
    Run(ms(60));
    song.Stop();
    const std::string lines = ReadFileBytes(path);
    EXPECT_NE(lines.find(" 90 3C 64\n"), std::string::npos) << "the first play was truncated";
    EXPECT_NE(lines.find(" 90 3E 64\n"), std::string::npos);
}

} // namespace
