#include "SongTestHelpers.h"

#include "core/DisplayText.h"

#include <gtest/gtest.h>

namespace {

using Word = CLSMIDIWordInfo;

// What the display gets: the page words and syllables in order, their ticks from the start,
// and the clears.
struct Sung {
    int tick;
    int kind;
    int line;
    int duration;
    std::string text; // UTF-8
};

std::vector<Sung> Lyrics(const CLSMIDIData& song) {
    std::vector<Sung> out;
    int tick = 0;
    for (const Word& w : song.GetWords()) {
        tick += w.time;
        if (w.part == 0)
            out.push_back({tick, w.kind, w.line, w.duration,
                           DisplayText(w.text.Text(), w.text.Length(), song.GetTextEncoding())});
    }
    return out;
}

std::vector<std::string> Texts(const std::vector<Sung>& lyrics, int kind) {
    std::vector<std::string> out;
    for (const Sung& s : lyrics) {
        if (s.kind == kind)
            out.push_back(s.text);
    }
    return out;
}

std::string Shown(const CLSMIDIData& song, const CLSTString& text) {
    return DisplayText(text.Text(), text.Length(), song.GetTextEncoding());
}

// A soft-karaoke file as they come: headers in the first track, a words track with more
// headers and the lyrics, one syllable a beat, and a music track.
std::string SoftKaraokeSong(const std::string& title, const std::string& performer,
                            const std::string& language, const std::vector<std::string>& lyrics) {
    SmfBuilder smf(1, 480);
    smf.AddTrack()
        .TrackName(0, "Soft Karaoke")
        .Text(0, "@KMIDI KARAOKE FILE")
        .Text(0, "@V0100")
        .Text(0, "@I(C) nobody")
        .Tempo(0, 500000)
        .End();
    SmfTrack& words = smf.AddTrack();
    words.TrackName(0, "Words").Text(0, "a tool's note, not sung");
    words.Text(0, "@L" + language).Text(0, "@T" + title).Text(0, "@T" + performer);
    for (const std::string& l : lyrics)
        words.Text(480, l);
    words.End();
    smf.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(480 * 20, 0, 60).End();
    return smf.Bytes();
}

TEST(SoftKaraoke, HeadersGiveTitleAndPerformerAndMarkersMakePagesAndLines) {
    // "Frère Jacques" in Latin-1
    const std::vector<std::string> lyrics = {"\\Fr\xe8re ", "Jac",    "ques, ", "/dor",
                                             "mez ",        "vous? ", "\\Son",  "nez"};
    CLSMIDIData song;
    ASSERT_TRUE(
        LoadBytes(song, SoftKaraokeSong("Fr\xe8re Jacques", "Les \xe9l\xe8ves", "ENGL", lyrics)));
    EXPECT_EQ(song.GetTextEncoding(), "WINDOWS-1252");
    EXPECT_EQ(Shown(song, song.GetTitle()), "Frère Jacques");
    EXPECT_EQ(Shown(song, song.GetArtist()), "Les élèves");
    EXPECT_EQ(Shown(song, song.GetInformation()), "(C) nobody");
    EXPECT_TRUE(song.HasLyricLayout());
    EXPECT_EQ(Shown(song, song.GetWords().begin()->text), ""); // the front records stay
    EXPECT_EQ(Shown(song, std::next(song.GetWords().begin(), 2)->text),
              "Frère Jacques:::Les élèves");

    const auto sung = Lyrics(song);
    EXPECT_EQ(Texts(sung, Word::kPageWord),
              (std::vector<std::string>{"Frère ", "Jac", "ques, \n", "dor", "mez ", "vous? ", "Son",
                                        "nez"}));
    EXPECT_EQ(Texts(sung, Word::kSyllable),
              (std::vector<std::string>{"<Frère ", "Jac", "ques, \n", "dor", "mez ", "vous? ",
                                        "<Son", "nez"}));
    int beat = 1;
    for (const Sung& s : sung) {
        if (s.kind != Word::kSyllable)
            continue;
        EXPECT_EQ(s.tick, 480 * beat) << s.text; // each syllable on its own beat
        EXPECT_EQ(s.line, beat <= 3 ? 1 : 0) << s.text;
        if (beat < 8) {
            EXPECT_EQ(s.duration, 500) << s.text; // to the next syllable: one beat at 120 bpm
        }
        ++beat;
    }
    // The first line is cleared once the second is being sung.
    const auto clear = std::find_if(sung.begin(), sung.end(),
                                    [](const Sung& s) { return s.kind == Word::kClearLine; });
    ASSERT_NE(clear, sung.end());
    EXPECT_EQ(clear->line, 1);
    EXPECT_GT(clear->tick, 480 * 4);
    for (const Word& w : song.GetWords())
        EXPECT_EQ(std::string(w.text.Text()).find('@'), std::string::npos) << w.text.Text();
}

TEST(SoftKaraoke, CyrillicSongsAreReadAsWindows1251) {
    // "В лесу родилась ёлочка" in Windows-1251
    const std::vector<std::string> lyrics = {"\\\xc2 ",  "\xeb\xe5",     "\xf1\xf3 ",
                                             "\xf0\xee", "\xe4\xe8",     "\xeb\xe0\xf1\xfc ",
                                             "/\xb8",    "\xeb\xee\xf7", "\xea\xe0"};
    CLSMIDIData song;
    ASSERT_TRUE(LoadBytes(song, SoftKaraokeSong("\xc5\xeb\xee\xf7\xea\xe0",
                                                "\xc4\xe5\xf2\xf1\xea\xe8\xe9 \xf5\xee\xf0", "RUSS",
                                                lyrics)));
    EXPECT_EQ(song.GetTextEncoding(), "WINDOWS-1251");
    EXPECT_EQ(Shown(song, song.GetTitle()), "Елочка");
    EXPECT_EQ(Shown(song, song.GetArtist()), "Детский хор");
    const auto pageWords = Texts(Lyrics(song), Word::kPageWord);
    ASSERT_EQ(pageWords.size(), 9u);
    EXPECT_EQ(pageWords[5], "лась \n");
    EXPECT_EQ(pageWords[6], "ё");
}

TEST(SoftKaraoke, ATitleInTheTrackNameAloneMakesNoLyrics) {
    SmfBuilder smf(1, 480);
    smf.AddTrack().TrackName(0, "@TSong").Text(0, "Made with a tool").NoteOn(0, 0, 60, 1).End();
    CLSMIDIData song;
    ASSERT_TRUE(LoadBytes(song, smf.Bytes()));
    EXPECT_STREQ(song.GetTitle().Text(), "Song");
    EXPECT_FALSE(song.HasLyricLayout());
}

TEST(SoftKaraoke, WordsWinOverLyricEventsInTheSameSong) {
    SmfBuilder smf(1, 480);
    smf.AddTrack().Text(0, "@KMIDI KARAOKE FILE").Text(480, "\\One").Lyric(0, "Other").End();
    CLSMIDIData song;
    ASSERT_TRUE(LoadBytes(song, smf.Bytes()));
    EXPECT_EQ(Texts(Lyrics(song), Word::kPageWord), (std::vector<std::string>{"One"}));
}

TEST(LyricEvents, LineEndsMakeLinesAndAnEmptyLineAPage) {
    SmfBuilder smf(1, 480);
    smf.AddTrack()
        .Lyric(480, "Twin")
        .Lyric(480, "kle\r\n")
        .Lyric(480, "lit")
        .Lyric(480, "tle star")
        .Lyric(0, "\n")
        .Lyric(0, "\n")
        .Lyric(480, "How / why")
        .End();
    CLSMIDIData song;
    ASSERT_TRUE(LoadBytes(song, smf.Bytes()));
    const auto sung = Lyrics(song);
    EXPECT_EQ(Texts(sung, Word::kSyllable),
              (std::vector<std::string>{"<Twin", "kle\n", "lit", "tle star", "<How / why"}));
    std::vector<int> lines;
    for (const Sung& s : sung) {
        if (s.kind == Word::kSyllable)
            lines.push_back(s.line);
    }
    EXPECT_EQ(lines, (std::vector<int>{1, 1, 0, 0, 0}));
}

TEST(LyricEvents, UnmarkedLyricsBreakAtTheLineWidthAndAtLongPauses) {
    SmfBuilder smf(1, 480);
    SmfTrack& t = smf.AddTrack();
    // Eleven 5-column words make 55 columns: the line breaks after the eighth word, between
    // words, not inside "sylla-ble".
    for (int i = 0; i < 7; ++i)
        t.Lyric(240, "word ");
    t.Lyric(240, "syl").Lyric(240, "lab").Lyric(240, "le ").Lyric(240, "end ");
    // Three seconds of silence end the line; six end the page.
    t.Lyric(480 * 6, "after ").Lyric(480 * 12, "page");
    t.End();
    CLSMIDIData song;
    ASSERT_TRUE(LoadBytes(song, smf.Bytes()));
    std::vector<std::pair<std::string, int>> lines;
    for (const Sung& s : Lyrics(song)) {
        if (s.kind == Word::kSyllable)
            lines.emplace_back(s.text, s.line);
    }
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[0], (std::pair<std::string, int>{"<word ", 2}));
    EXPECT_EQ(lines[6], (std::pair<std::string, int>{"word \n", 2}));
    EXPECT_EQ(lines[7], (std::pair<std::string, int>{"syl", 1})); // carried over whole
    EXPECT_EQ(lines[10], (std::pair<std::string, int>{"end \n", 1}));
    EXPECT_EQ(lines[11], (std::pair<std::string, int>{"after ", 0}));
    EXPECT_EQ(lines[12], (std::pair<std::string, int>{"<page", 0}));
}

TEST(LyricEvents, NoMoreLinesOnAPageThanTheDisplayHolds) {
    SmfBuilder smf(1, 480);
    SmfTrack& t = smf.AddTrack();
    for (int i = 0; i < 6; ++i)
        t.Lyric(480, "/line");
    t.End();
    CLSMIDIData song;
    ASSERT_TRUE(LoadBytes(song, smf.Bytes()));
    std::vector<int> lines;
    for (const Sung& s : Lyrics(song)) {
        if (s.kind == Word::kSyllable)
            lines.push_back(s.line);
    }
    EXPECT_EQ(lines, (std::vector<int>{3, 2, 1, 0, 1, 0}));
}

TEST(SongTexts, TheEncodingCanBeNamedForLaterLoads) {
    CLSMIDIData song;
    song.SetTextEncoding("KOI8-R");
    SmfBuilder smf(1, 480);
    // "мир" in KOI8-R: half-width katakana to code page 932
    smf.AddTrack().TrackName(0, "\xcd\xc9\xd2").Lyric(480, "\xcd\xc9\xd2").End();
    ASSERT_TRUE(LoadBytes(song, smf.Bytes()));
    EXPECT_EQ(Shown(song, song.GetTitle()), "мир");
    song.SetTextEncoding("");
    ASSERT_TRUE(LoadBytes(song, smf.Bytes()));
    EXPECT_EQ(song.GetTextEncoding(), "CP932"); // three bytes tell the detector nothing
}

} // namespace
