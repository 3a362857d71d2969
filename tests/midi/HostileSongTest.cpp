// Songs built to hurt the loader: huge track counts, row fields that would wrap, chunks of
// other sequencers and stray bytes.
#include "SongTestHelpers.h"

#include "fixtures/FifoTimeLimit.h"
#include "fixtures/ReportRecorder.h"
#include "fixtures/TestPaths.h"

#include <gtest/gtest.h>

#include <map>
#include <sys/resource.h>
#include <tuple>
#include <unistd.h>

namespace {

class HostileSong : public ::testing::Test {
protected:
    void SetUp() override { CLSMIDIData::SetSpectrumType(0); }
    void TearDown() override { CLSMIDIData::SetSpectrumType(0); }
    CLSMIDIData song;
};

// Peak resident memory of this process; ctest runs every test in a process of its own.
long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

std::string Chunks(const std::string& id, std::size_t count) {
    std::string one = id + std::string(4, '\0');
    std::string out;
    out.reserve(one.size() * count);
    for (std::size_t i = 0; i < count; ++i)
        out += one;
    return out;
}

// A header declaring `declared` chunks, one track with a note, then `empty` empty chunks.
std::string NoteThenEmptyChunks(int format, int declared, std::size_t empty) {
    SmfBuilder smf(format);
    smf.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(10, 0, 60).End();
    smf.DeclareTracks(declared).Trailer(Chunks("MTrk", empty));
    return smf.Bytes();
}

using EventKey = std::tuple<int, int, int, int, int, int, unsigned>;

std::vector<EventKey> EventKeys(const CLSMIDIData& song) {
    std::vector<EventKey> out;
    for (const auto& e : song.GetEvents())
        out.emplace_back(e.delta, e.row, e.Status(), e.MetaType(), e.Data1(), e.Data2(),
                         e.BlockLength());
    return out;
}

TEST_F(HostileSong, MegabyteOfEmptyChunksLoadsInLittleMemory) {
    const std::string bytes = NoteThenEmptyChunks(1, 65535, 1 << 17); // 1 MB
    const long before = PeakKilobytes();
    ASSERT_TRUE(LoadBytes(song, bytes));
    EXPECT_LT(PeakKilobytes() - before, 50 * 1024);
    EXPECT_EQ(song.GetEvents().size(), 2u);
    EXPECT_EQ(song.GetRows().size(), 1u);
}

TEST_F(HostileSong, MoreTracksThanTheTrackFieldHoldsAreRefused) {
    // Format 0 reads every chunk after the first as a track.
    const long before = PeakKilobytes();
    EXPECT_FALSE(LoadBytes(song, NoteThenEmptyChunks(0, 1, 0x10000)));
    EXPECT_LT(PeakKilobytes() - before, 50 * 1024);
    EXPECT_FALSE(song.IsLoaded());
    // One fewer fits: track numbers 0..65535.
    ASSERT_TRUE(LoadBytes(song, NoteThenEmptyChunks(0, 1, 0xFFFF)));
    EXPECT_EQ(song.GetEvents().size(), 2u);
}

// `tracks` tracks, each with a note under every program of every channel: 2048 rows each.
std::string EveryKeyInEveryTrack(int tracks) {
    SmfBuilder smf;
    for (int t = 0; t < tracks; ++t) {
        SmfTrack& track = smf.AddTrack();
        for (int channel = 0; channel < 16; ++channel) {
            for (int program = 0; program < 128; ++program)
                track.Program(0, channel, program).NoteOn(0, channel, 60, 100);
        }
        track.End();
    }
    return smf.Bytes();
}

TEST_F(HostileSong, RowsBeyondTheRowFieldAreRefusedNeverWrapped) {
    ASSERT_TRUE(LoadBytes(song, EveryKeyInEveryTrack(32)));
    ASSERT_EQ(song.GetRows().size(), 65536u);
    EXPECT_EQ(song.GetEvents().back().row, 65535);
    EXPECT_EQ(song.GetRows()[65535].label, 127);
    EXPECT_FALSE(LoadBytes(song, EveryKeyInEveryTrack(33)));
    EXPECT_FALSE(song.IsLoaded());
}

// The rows as every key of the file, in ascending order, gives them.
std::vector<int> ReferenceLabels(const std::vector<std::tuple<int, int, int>>& notes, int mode) {
    std::map<long, int> keys;
    for (const auto& [track, channel, program] : notes) {
        const long key = mode == 1   ? program
                         : mode == 2 ? channel
                                     : track * 2048L + channel * 128 + program;
        keys[key] = mode == 2 ? 129 + channel : (mode != 1 && channel == 9) ? 128 : program;
    }
    std::vector<int> labels;
    for (const auto& [key, label] : keys)
        labels.push_back(label);
    return labels;
}

TEST_F(HostileSong, ManyTrackRowsMatchEveryKeyInAscendingOrder) {
    SmfBuilder smf;
    std::vector<std::tuple<int, int, int>> notes;
    unsigned seed = 7;
    for (int t = 0; t < 40; ++t) {
        SmfTrack& track = smf.AddTrack();
        for (int i = 0; i < 30; ++i) {
            seed = seed * 1103515245u + 12345u;
            const int channel = static_cast<int>((seed >> 8) % 16);
            const int program = static_cast<int>((seed >> 16) % 128);
            track.Program(1, channel, program).NoteOn(0, channel, 60, 100);
            notes.emplace_back(t, channel, program);
        }
        track.End();
    }
    for (int mode = 0; mode < 3; ++mode) {
        CLSMIDIData::SetSpectrumType(mode);
        ASSERT_TRUE(LoadBytes(song, smf.Bytes()));
        std::vector<int> labels;
        for (const auto& row : song.GetRows())
            labels.push_back(row.label);
        EXPECT_EQ(labels, ReferenceLabels(notes, mode)) << "mode " << mode;
        for (const auto& e : song.GetEvents()) {
            if ((e.Status() & 0xF0) == 0x90) {
                ASSERT_LT(e.row, song.GetRows().size());
            }
        }
    }
}

TEST_F(HostileSong, ProgramByteWithTopBitStaysOnItsChannel) {
    SmfBuilder smf;
    // 200 on channel 9 would otherwise land in channel 10's (percussion) keys.
    smf.AddTrack().Program(0, 8, 200).NoteOn(0, 8, 60, 100).End();
    ASSERT_TRUE(LoadBytes(song, smf.Bytes()));
    ASSERT_EQ(song.GetRows().size(), 1u);
    EXPECT_EQ(song.GetRows()[0].label, 72);
}

TEST_F(HostileSong, UnknownChunksAndPaddingLoadTheSameEvents) {
    const auto build = [](int format, bool extras) {
        SmfBuilder smf(format);
        if (extras)
            smf.AddTrack("PRVT").Raw("private data");
        smf.AddTrack().Tempo(0, 400000).NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60).End();
        if (extras)
            smf.AddTrack("CM02").Raw(std::string(5, '\x90'));
        if (format == 1)
            smf.AddTrack().Program(0, 1, 5).NoteOn(48, 1, 64, 90).NoteOff(48, 1, 64).End();
        if (extras) {
            smf.DeclareTracks(format == 1 ? 2 : 1);
            smf.Trailer(std::string(3, '\0'));
        }
        return smf.Bytes();
    };
    for (int format = 0; format < 2; ++format) {
        ASSERT_TRUE(LoadBytes(song, build(format, false)));
        const auto clean = EventKeys(song);
        const unsigned length = song.GetLength();
        ASSERT_TRUE(LoadBytes(song, build(format, true))) << "format " << format;
        EXPECT_EQ(EventKeys(song), clean);
        EXPECT_EQ(song.GetLength(), length);
        EXPECT_EQ(song.GetXF(), 0); // a private chunk does not make an XF file
    }
}

} // namespace

namespace {

TEST_F(HostileSong, FifoNamedLikeASongIsRefusedWithoutHanging) {
    TempDir dir;
    const std::string fifo = dir.File("song.mid");
    ASSERT_TRUE(MakeFifo(fifo));
    ReportRecorder reports;
    const int owner = 0;
    song.SetOwner(&owner);
    const auto loaded = CallWithFifoTimeLimit(fifo, [&] { return song.Load(fifo.c_str()); });
    ASSERT_TRUE(loaded.has_value()) << "Load blocked on a FIFO";
    EXPECT_FALSE(*loaded);
    ASSERT_EQ(reports.Reports().size(), 1u);
    EXPECT_NE(reports.Reports()[0].text.find("ファイルを読み込めません。"), std::string::npos);
    EXPECT_NE(reports.Reports()[0].text.find("MIDIDATA"), std::string::npos);

    // The same FIFO named as an archive is not read either.
    const std::string archive = dir.File("songs.zip");
    ASSERT_TRUE(MakeFifo(archive));
    const std::string member = archive + ">song.mid";
    const auto extracted =
        CallWithFifoTimeLimit(archive, [&] { return song.Load(member.c_str()); });
    ASSERT_TRUE(extracted.has_value()) << "archive member load blocked on a FIFO";
    EXPECT_FALSE(*extracted);
    EXPECT_EQ(reports.Reports().size(), 2u);
    song.SetOwner(nullptr);
}

} // namespace

namespace {

// Sparse files: gigabytes long on no disk at all.
void MakeSparse(const std::string& path, const std::string& head, off_t size) {
    WriteFileBytes(path, head);
    ASSERT_EQ(::truncate(path.c_str(), size), 0);
}

TEST_F(HostileSong, HugeFilesAreRefusedFromTheirHeadInLittleMemory) {
    TempDir dir;
    ReportRecorder reports;
    const int owner = 0;
    song.SetOwner(&owner);
    const long before = PeakKilobytes();

    const std::string zeros = dir.File("zeros.mid");
    MakeSparse(zeros, "", off_t{3} << 30);
    EXPECT_FALSE(song.Load(zeros.c_str()));
    EXPECT_TRUE(reports.Reports().empty()) << "no song is no loader error";

    SmfBuilder smf(0);
    smf.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(10, 0, 60).End();
    const std::string big = dir.File("big.mid");
    MakeSparse(big, smf.Bytes(), (off_t{64} << 20) + 1);
    EXPECT_FALSE(song.Load(big.c_str()));
    ASSERT_EQ(reports.Reports().size(), 1u);
    EXPECT_NE(reports.Reports()[0].text.find("メモリ不足です。"), std::string::npos);
    EXPECT_TRUE(song.GetEvents().empty());

    EXPECT_LT(PeakKilobytes() - before, 8 * 1024);
    song.SetOwner(nullptr);
}

} // namespace
