// druvel-cli play and render, run as the user runs them.
#include "engine/SongBuilder.h"
#include "fixtures/CliRunner.h"
#include "fixtures/SmfBuilder.h"
#include "fixtures/TestPaths.h"
#include "midi/CLSMIDIData.h"
#include "synth/SoundFontLocator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

void Save(const SongBuilder& builder, const std::string& path) {
    const std::vector<std::uint8_t> bytes = builder.Bytes();
    WriteFileBytes(path, std::string(bytes.begin(), bytes.end()));
}

// A short song with a title and two lines of lyrics.
SongBuilder LyricSong(const std::string& title) {
    SongBuilder b(480);
    b.Meta(0, 0x03, title).Program(0, 0, 0);
    const char* syllables[] = {"Hel", "lo ", "world", "/Good", "bye"};
    for (unsigned i = 0; i < 5; ++i)
        b.Lyric(i * 240, syllables[i])
            .NoteOn(i * 240, 0, 60 + i, 100)
            .NoteOff(i * 240 + 200, 0, 60 + i);
    return b;
}

struct CaptureLine {
    long long sent;
    long long due;
    std::string bytes;
};

std::vector<CaptureLine> ReadCapture(const std::string& path) {
    std::vector<CaptureLine> lines;
    std::ifstream in(path);
    std::string text;
    while (std::getline(in, text)) {
        std::istringstream fields(text);
        CaptureLine line{};
        fields >> line.sent >> line.due;
        std::getline(fields, line.bytes);
        if (!line.bytes.empty() && line.bytes[0] == ' ')
            line.bytes.erase(0, 1);
        lines.push_back(line);
    }
    return lines;
}

TEST(CliPlay, PlaysToCaptureShowsLyricsAndEndsByItself) {
    TempDir dir;
    Save(LyricSong("First"), dir.File("a.mid"));
    Save(LyricSong("Second"), dir.File("b.mid"));
    const std::string capture = dir.File("out.txt");
    // A folder is played as the playlist makes it: its songs in name order.
    const CliRun run = RunCli(
        "play --tempo 400 --key 1 --order normal --device capture:" + capture + " " + dir.Path());
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_LT(run.out.find("First"), run.out.find("Second"));
    EXPECT_NE(run.out.find("Second"), std::string::npos);
    EXPECT_NE(run.out.find("  Hello world\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  Goodbye\n"), std::string::npos) << run.out;

    // Both songs go to one capture file; every note is transposed and sent once it is due.
    int noteOns = 0;
    for (const CaptureLine& line : ReadCapture(capture)) {
        if (line.bytes.rfind("90 ", 0) != 0)
            continue;
        ++noteOns;
        EXPECT_GE(line.sent, line.due - 1000); // the tick counts whole milliseconds
        EXPECT_NE(line.bytes, "90 3C 64");     // 60 is sent as 61
    }
    EXPECT_EQ(noteOns, 10);
}

TEST(CliPlay, RejectsBadCommandLinesAndReportsFailures) {
    EXPECT_EQ(RunCli("play").status, 2);
    EXPECT_EQ(RunCli("play --tempo 0 x.mid").status, 2);
    EXPECT_EQ(RunCli("play --order sometimes x.mid").status, 2);
    EXPECT_EQ(RunCli("play --device nine x.mid").status, 2);
    EXPECT_EQ(RunCli("play --help").status, 0);

    TempDir dir;
    Save(LyricSong("Song"), dir.File("a.mid"));
    EXPECT_EQ(
        RunCli("play --device capture:" + dir.File("a.txt") + " " + dir.File("none.mid")).status,
        1);
    // A device that cannot be opened: the device's own error, then "cannot play".
    const CliRun failed =
        RunCli("play --device capture:" + dir.File("no/such/dir.txt") + " " + dir.File("a.mid"));
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.out.find("再生できません。"), std::string::npos) << failed.out;
}

TEST(CliPlay, ReportsTheCoreErrorsInTheUsersLanguage) {
    TempDir dir;
    Save(LyricSong("Song"), dir.File("a.mid"));
    const std::string args =
        "play --device capture:" + dir.File("no/such/dir.txt") + " " + dir.File("a.mid");
    const CliRun english = RunCli(args, CliStderr::Merge, "LANGUAGE= LC_ALL=en_US.UTF-8");
    EXPECT_NE(english.out.find("Cannot play.\n\n"), std::string::npos) << english.out;
    EXPECT_NE(english.out.find(" : line "), std::string::npos) << english.out;
    EXPECT_EQ(english.out.find("再生"), std::string::npos) << english.out;
    const CliRun japanese = RunCli(args, CliStderr::Merge, "LANGUAGE=ja LC_ALL=en_US.UTF-8");
    EXPECT_NE(japanese.out.find("再生できません。"), std::string::npos) << japanese.out;
}

TEST(CliPlay, ItsOwnTextsAreEnglishUnlessJapaneseIsAskedForByName) {
    const std::string english =
        "druvel-cli play: bad value for --tempo: 0\nUsage: druvel-cli play ";
    for (const char* environment : {"", "LANGUAGE=en LC_ALL=ja_JP.UTF-8", "LC_ALL=POSIX"}) {
        const CliRun run = RunCli("play --tempo 0 x.mid", CliStderr::Merge, environment);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out.substr(0, english.size()), english) << environment;
    }
    const CliRun japanese = RunCli("play --tempo 0 x.mid", CliStderr::Merge, "LANGUAGE=ja");
    EXPECT_EQ(japanese.status, 2);
    EXPECT_EQ(japanese.out.substr(0, japanese.out.find('[')),
              "druvel-cli play: --tempo の値が正しくありません: 0\n使い方: druvel-cli play ");
}

TEST(CliPlay, InterruptStopsTheEngineAndExits) {
    TempDir dir;
    SongBuilder b(480);
    for (unsigned beat = 0; beat < 200; ++beat)
        b.NoteOn(beat * 480, 0, 60, 100).NoteOff(beat * 480 + 400, 0, 60);
    Save(b, dir.File("long.mid"));
    const std::string capture = dir.File("out.txt");
    const std::string cli = DRUVEL_CLI;
    const std::string device = "capture:" + capture;
    const std::string song = dir.File("long.mid");
    std::vector<char*> argv = {const_cast<char*>(cli.c_str()),  const_cast<char*>("play"),
                               const_cast<char*>("--device"),   const_cast<char*>(device.c_str()),
                               const_cast<char*>(song.c_str()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, cli.c_str(), &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    // The engine was stopped: the output was told to silence before the file was closed.
    const std::vector<CaptureLine> lines = ReadCapture(capture);
    ASSERT_GT(lines.size(), 2u);
    EXPECT_EQ(lines.back().bytes, "RESET");
}

struct Wav {
    int channels = 0;
    int rate = 0;
    int bits = 0;
    std::vector<std::int16_t> samples;
};

Wav ReadWav(const std::string& path) {
    const std::string bytes = ReadFileBytes(path);
    Wav wav;
    if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
        return wav;
    const auto u16 = [&](std::size_t at) {
        return static_cast<int>(static_cast<unsigned char>(bytes[at]) |
                                static_cast<unsigned char>(bytes[at + 1]) << 8);
    };
    wav.channels = u16(22);
    wav.rate = u16(24) | u16(26) << 16;
    wav.bits = u16(34);
    const std::size_t count = (bytes.size() - 44) / 2;
    wav.samples.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        wav.samples[i] = static_cast<std::int16_t>(u16(44 + 2 * i));
    return wav;
}

std::vector<std::string> BundledSongs() {
    namespace fs = std::filesystem;
    const fs::path data = DRUVEL_TEST_DATA;
    std::vector<std::string> songs;
    for (const fs::path& folder : {data, data.parent_path().parent_path() / "resources/demo"}) {
        if (!fs::is_directory(folder))
            continue;
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.path().extension() == ".mid")
                songs.push_back(entry.path().string());
        }
    }
    return songs;
}

// The small General MIDI SoundFont loads in a fraction of the time of the default one.
std::string SmallSoundFont() {
    const char* path = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    return std::filesystem::exists(path) ? std::string(" --soundfont ") + path : std::string();
}

TEST(CliRender, BundledSongsGiveSoundOfTheSongsLengthPlusTheTail) {
    if (SoundFontLocator().Find().empty())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    TempDir dir;
    const std::vector<std::string> songs = BundledSongs();
    ASSERT_FALSE(songs.empty());
    for (const std::string& path : songs) {
        SCOPED_TRACE(path);
        CLSMIDIData song;
        ASSERT_TRUE(song.Load(path.c_str()));
        for (int tempo : {100, 250}) {
            const CliRun run = RunCli("render --tempo " + std::to_string(tempo) + SmallSoundFont() +
                                      " -o " + dir.File("out.wav") + " " + path);
            ASSERT_EQ(run.status, 0) << run.out;
            const Wav wav = ReadWav(dir.File("out.wav"));
            EXPECT_EQ(wav.channels, 2);
            EXPECT_EQ(wav.rate, 44100);
            EXPECT_EQ(wav.bits, 16);
            const double seconds = static_cast<double>(wav.samples.size()) / 2 / 44100;
            const double expected = song.GetLength() / 1000.0 * 100 / tempo + 2.0;
            EXPECT_NEAR(seconds, expected, 0.002);
            int peak = 0;
            for (std::int16_t s : wav.samples)
                peak = std::max(peak, std::abs(static_cast<int>(s)));
            EXPECT_GT(peak, 1000);
        }
    }
}

// Sixteen channels at full controller volume, chords at the highest velocity, the way dense
// arrangements drive the synthesizer hardest: the output must keep below full scale.
TEST(CliRender, ADenseSongAtFullVolumeDoesNotClip) {
    if (SoundFontLocator().Find().empty())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    TempDir dir;
    SmfBuilder smf(1, 96);
    for (int channel = 0; channel < 16; ++channel) {
        SmfTrack& track = smf.AddTrack();
        track.Program(0, channel, (channel * 11) % 128)
            .Controller(0, channel, 7, 127)
            .Controller(0, channel, 11, 127);
        for (int beat = 0; beat < 8; ++beat) {
            for (int note : {36, 43, 48, 55, 60})
                track.NoteOn(0, channel, note + channel % 4, 127);
            for (int note : {36, 43, 48, 55, 60})
                track.NoteOff(note == 36 ? 48 : 0, channel, note + channel % 4);
        }
        track.End();
    }
    smf.Save(dir.File("dense.mid"));
    const CliRun run = RunCli("render" + SmallSoundFont() + " -o " + dir.File("out.wav") + " " +
                              dir.File("dense.mid"));
    ASSERT_EQ(run.status, 0) << run.out;
    const Wav wav = ReadWav(dir.File("out.wav"));
    ASSERT_FALSE(wav.samples.empty());
    int peak = 0;
    for (std::int16_t s : wav.samples)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_LT(peak, 32767);
    EXPECT_GT(peak, 16000); // held back, not made quiet
}

TEST(CliRender, RejectsBadCommandLinesAndSoundFonts) {
    TempDir dir;
    Save(LyricSong("Song"), dir.File("a.mid"));
    EXPECT_EQ(RunCli("render " + dir.File("a.mid")).status, 2); // no -o
    EXPECT_EQ(RunCli("render -o x.wav").status, 2);
    EXPECT_EQ(RunCli("render --tempo 2000 -o x.wav a.mid").status, 2);
    const CliRun noFont = RunCli("render --soundfont " + dir.File("none.sf2") + " -o " +
                                 dir.File("x.wav") + " " + dir.File("a.mid"));
    EXPECT_EQ(noFont.status, 1);
}

} // namespace

namespace {

TEST(CliPlay, KaraokeLinesAndStartPastTheEnd) {
    TempDir dir;
    const CliRun karaoke = RunCli("play --tempo 1000 --device capture:" + dir.File("k.txt") + " " +
                                  DRUVEL_TEST_DATA "/karaoke_xf.mid");
    EXPECT_EQ(karaoke.status, 0) << karaoke.out;
    // Readings are dropped, and a page shown before the previous one is sung to its end
    // still comes after it.
    std::size_t at = 0;
    for (const char* line : {"  春の風が", "  吹いて　くる", "  花が咲いた", "  空は 青い"}) {
        at = karaoke.out.find(line, at);
        ASSERT_NE(at, std::string::npos) << line << " in\n" << karaoke.out;
    }

    Save(LyricSong("Song"), dir.File("a.mid"));
    const CliRun late = RunCli("play --start 60000 --device capture:" + dir.File("c.txt") + " " +
                               dir.File("a.mid"));
    EXPECT_EQ(late.status, 0) << late.out;
    for (const CaptureLine& line : ReadCapture(dir.File("c.txt")))
        EXPECT_NE(line.bytes.substr(0, 1), "9") << "no note may sound past the end";
}

} // namespace
