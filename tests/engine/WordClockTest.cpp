// The lyric clock: which records the lyrics display gets, and when.
#include "engine/EngineHarness.h"

namespace {

constexpr int kResolution = 100; // one tick lasts 5 ms at the default tempo
constexpr std::uint32_t At(unsigned ms) {
    return ms / 5;
}

std::vector<std::string> Texts(const CLSMIDIWordInfoArray& words) {
    std::vector<std::string> out;
    for (const CLSMIDIWordInfo& word : words)
        out.push_back(std::to_string(word.kind) + ":" + word.text.Text());
    return out;
}

class WordClock : public EngineHarness {
protected:
    // Lyrics "a" to "d" at 1, 2, 3 and 4 s, a tempo event (same tempo) at 1.5 s.
    void LoadLyrics() {
        SongBuilder b(kResolution);
        b.Lyric(At(1000), "a").Lyric(At(2000), "b").Lyric(At(3000), "c").Lyric(At(4000), "d");
        b.Tempo(At(1500), 500000).NoteOn(At(5000), 0, 60, 100);
        Load(b);
    }
    CLSMIDIWordInfoArray due;
};

TEST_F(WordClock, SeekHandsOverEverythingBeforeThePositionThenKeepsTime) {
    LoadLyrics();
    PlayAt(2500);
    EXPECT_EQ(song.TakeDueWords(due), 500); // "c" is 500 ms away
    // The page of all four syllables shows first, then the syllables sung so far.
    const std::vector<std::string> before = {"1:",  "0:",  "5::::", "1:a", "1:b",
                                             "1:c", "1:d", "0:<a",  "0:b"};
    EXPECT_EQ(Texts(due), before); // in order, without the tempo record
    Run(ms(495));
    EXPECT_EQ(song.TakeDueWords(due), 5);
    EXPECT_TRUE(due.empty());
    Run(ms(15));
    song.TakeDueWords(due);
    EXPECT_EQ(Texts(due), (std::vector<std::string>{"0:c"}));
}

TEST_F(WordClock, LeadMakesLyricsDueEarlier) {
    LoadLyrics();
    song.SetLyricLead(100); // taken at 120 beats per minute: 100 * 100 / 5 units = 20 ms
    PlayAt(2500);
    EXPECT_EQ(song.TakeDueWords(due), 480);
    Run(ms(480));
    song.TakeDueWords(due);
    EXPECT_EQ(Texts(due), (std::vector<std::string>{"0:c"}));
}

// The output is heard 60 ms after sending: the lyric is due when its moment is heard.
TEST_F(WordClock, LyricsWaitForTheOutputsLatency) {
    LoadLyrics();
    outputLatency = ms(60);
    PlayAt(2500);
    EXPECT_EQ(song.TakeDueWords(due), 560);
    Run(ms(555));
    song.TakeDueWords(due);
    EXPECT_TRUE(due.empty());
    Run(ms(15));
    song.TakeDueWords(due);
    EXPECT_EQ(Texts(due), (std::vector<std::string>{"0:c"}));
}

// "c" is due at 560 ms, between the ticks at 555 and 570: it is handed over from 560, once.
TEST_F(WordClock, ALyricDueBetweenTicksIsTakenAtItsDueTime) {
    LoadLyrics();
    outputLatency = ms(60);
    PlayAt(2500);
    song.TakeDueWords(due);
    Run(ms(555));
    EXPECT_EQ(song.UntilNextWord(ms(10)), ms(5));
    EXPECT_EQ(song.UntilNextWord(ms(2)), ms(2));
    clock.Advance(ms(4));
    song.TakeDueWords(due);
    EXPECT_TRUE(due.empty());
    clock.Advance(ms(1));
    EXPECT_EQ(song.TakeDueWords(due), 1000); // "d" is a second away
    EXPECT_EQ(Texts(due), (std::vector<std::string>{"0:c"}));
    Run(ms(15));
    song.TakeDueWords(due);
    EXPECT_TRUE(due.empty());
    Run(ms(1000));
    song.TakeDueWords(due);
    EXPECT_EQ(Texts(due), (std::vector<std::string>{"0:d"}));
}

// The latency is real time: at 250 % the song moves 150 ms while the sound is on its way.
TEST_F(WordClock, LatencyIsRealTimeAtAnyTempo) {
    LoadLyrics();
    outputLatency = ms(60);
    song.SetTempoPercent(250);
    PlayAt(2500);
    song.TakeDueWords(due);
    Run(ms(255)); // 500 ms of song + 150 ms of latency take 260 ms
    song.TakeDueWords(due);
    EXPECT_TRUE(due.empty());
    Run(ms(15));
    song.TakeDueWords(due);
    EXPECT_EQ(Texts(due), (std::vector<std::string>{"0:c"}));
}

// The display lead is real time too: at 250 % it still moves the lyric 20 ms earlier, not 8.
TEST_F(WordClock, DisplayLeadIsRealTimeAtAnyTempo) {
    LoadLyrics();
    outputLatency = ms(60);
    song.SetDisplayLead(ms(20));
    song.SetTempoPercent(250);
    PlayAt(2500);
    song.TakeDueWords(due);
    Run(ms(225)); // due at 260 - 20 ms
    song.TakeDueWords(due);
    EXPECT_TRUE(due.empty());
    Run(ms(15));
    song.TakeDueWords(due);
    EXPECT_EQ(Texts(due), (std::vector<std::string>{"0:c"}));
}

TEST_F(WordClock, StartPastTheLastLyricHandsAllButTheLastRecordOnce) {
    LoadLyrics();
    PlayAt(4500);
    song.TakeDueWords(due);
    const std::vector<std::string> all = {"1:",  "0:",   "5::::", "1:a", "1:b", "1:c",
                                          "1:d", "0:<a", "0:b",   "0:c", "0:d"};
    EXPECT_EQ(Texts(due), all);
    Run(ms(2000));
    song.TakeDueWords(due);
    EXPECT_TRUE(due.empty()); // the closing empty syllable never becomes due
}

TEST_F(WordClock, NothingToTakeBeforePlayOrAfterClear) {
    EXPECT_EQ(song.TakeDueWords(due), 0);
    LoadLyrics();
    PlayAt(4500);
    song.Clear();
    EXPECT_EQ(song.TakeDueWords(due), 0);
    EXPECT_TRUE(due.empty());
}

} // namespace
