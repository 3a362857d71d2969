#include "SongTestHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Word = CLSMIDIWordInfo;

// CP932 texts used below.
const std::string kKanji = "\x8a\xbf\x8e\x9a";                // 漢字
const std::string kKanjiReading = "\x82\xa9\x82\xf1\x82\xb6"; // かんじ
const std::string kSpace = "\x81\x40";                        // full-width space
const std::string kSo = "\x83\x5c";                           // ソ: trail byte is "\"

// A format-0 XF song: one note track, then an XFIH chunk with `info` and an XFKM chunk with
// the lyric events given by `lyrics`.
template <class Fill> std::string XFSong(Fill lyrics, const std::string& info = "") {
    SmfBuilder smf(0, 480);
    smf.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(4800, 0, 60).End();
    SmfTrack& xfih = smf.AddTrack("XFIH");
    if (!info.empty())
        xfih.Text(0, info);
    xfih.End();
    lyrics(smf.AddTrack("XFKM"));
    smf.DeclareTracks(1);
    return smf.Bytes();
}

std::vector<Word> LyricRecords(const CLSMIDIData& song) {
    auto all = Words(song);
    return {all.begin() + 3, all.end() - 1}; // without the three front records and the last
}

TEST(SongInformation, ReadsXFInformationAndTrackNames) {
    CLSMIDIData song;
    SmfBuilder smf;
    smf.AddTrack()
        .Text(0, "XFln:JP:Song:Comp:Lyr:Arr:Art" + kSpace + " ")
        .TrackName(0, "Other")
        .Text(0, "XFln:EN:English")
        .Text(0, "XFhd:a:b:c:d:e:f:HdComp:HdLyr")
        .Text(1, "XFln:JP:Late")
        .NoteOn(0, 0, 60, 1)
        .End();
    ASSERT_TRUE(LoadBytes(song, smf.Bytes()));
    EXPECT_STREQ(song.GetTitle().Text(), "Song");
    EXPECT_STREQ(song.GetComposer().Text(), "Comp"); // XFhd fills only empty fields
    EXPECT_STREQ(song.GetLyricist().Text(), "Lyr");
    EXPECT_STREQ(song.GetArranger().Text(), "Arr");
    EXPECT_STREQ(song.GetArtist().Text(), "Art"); // full-width and plain blanks trimmed

    SmfBuilder named;
    named.AddTrack().TrackName(0, "Title" + kSpace).Text(0, "XFhd:a:b:c:d:e:f:Comp").End();
    ASSERT_TRUE(LoadBytes(song, named.Bytes()));
    EXPECT_STREQ(song.GetTitle().Text(), "Title");
    EXPECT_STREQ(song.GetComposer().Text(), "Comp");
    EXPECT_TRUE(song.GetLyricist().IsEmpty());
    const auto words = Words(song);
    ASSERT_EQ(words.size(), 4u);
    EXPECT_EQ(words[2].kind, Word::kTitle);
    EXPECT_STREQ(words[2].text.Text(), "Title:Comp::");
}

TEST(PlainLyrics, LyricEventsFormAPageOfSyllablesOnTheirTicks) {
    CLSMIDIData song;
    SmfBuilder smf;
    smf.AddTrack()
        .Tempo(0, 600000)
        .Lyric(10, "a")
        .CuePoint(5, "&w")
        .Lyric(5, "b")
        .CuePoint(3, "$Lyrc:1:270:L1")
        .Lyric(7, "c")
        .End();
    ASSERT_TRUE(LoadBytes(song, smf.Bytes()));
    EXPECT_TRUE(song.HasLyricLayout());
    const auto w = Words(song);
    EXPECT_EQ(w[0].kind, Word::kPageWord);
    EXPECT_EQ(w[1].kind, Word::kSyllable);
    EXPECT_EQ(w[3].kind, Word::kTempo);
    EXPECT_EQ(w[3].duration, 600000);
    std::vector<std::pair<int, std::string>> sung; // tick, text
    std::vector<std::string> pageWords;
    int tick = 0;
    int cues = 0;
    for (std::size_t i = 3; i + 1 < w.size(); ++i) {
        tick += w[i].time;
        if (w[i].kind == Word::kSyllable)
            sung.emplace_back(tick, w[i].text.Text());
        else if (w[i].kind == Word::kPageWord)
            pageWords.push_back(w[i].text.Text());
        cues += w[i].kind == Word::kCuePoint;
        if (w[i].kind == Word::kPageWord || w[i].kind == Word::kSyllable) {
            EXPECT_EQ(w[i].line, 0) << i; // one short line
        }
    }
    const std::vector<std::pair<int, std::string>> expected = {{10, "<a"}, {20, "b"}, {30, "c"}};
    EXPECT_EQ(sung, expected); // the $Lyrc cue adds no record and no shift
    EXPECT_EQ(pageWords, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(cues, 1);
    EXPECT_EQ(w.back().kind, Word::kSyllable);
    EXPECT_TRUE(w.back().text.IsEmpty());
    EXPECT_EQ(w.back().part, 2);
}

TEST(XFLyricConversion, FollowsTheMarkup) {
    const std::string empty;
    const auto convert = [&](const std::string& lyric, const std::string& pending = "") {
        return std::string(
            CLSMIDIData::ConvertXFLyricForTest(lyric.c_str(), CLSTString(pending.c_str())).Text());
    };
    EXPECT_EQ(convert("<" + kKanji + "(" + kKanjiReading + ")/"),
              "<[" + kKanji + "[" + kKanjiReading + "]\n");
    EXPECT_EQ(convert("a\\/b"), "a/b");
    EXPECT_EQ(convert("a^b%c>d"), "a" + kSpace + "b" + kSpace + "c\td");
    EXPECT_EQ(convert("x\\(y\\)"), "x(y)");
    EXPECT_EQ(convert("\\\\"), "\\");
    // The ruby base starts after spaces and tabs, and after the previous reading.
    EXPECT_EQ(convert("^a(b)c(d)"), kSpace + "[a[b][c[d]");
    // A pending "<" from a cue point starts the page and is kept out of the base.
    EXPECT_EQ(convert("a(b)", "<"), "<[a[b]");
    // Double-byte characters whose trail byte is "\" are not escapes.
    EXPECT_EQ(convert(kSo + "/"), kSo + "\n");
}

TEST(XFPagePlan, NumbersLinesFromTheBottomAndAddsPageWords) {
    CLSMIDIData song;
    ASSERT_TRUE(LoadBytes(
        song, XFSong([](SmfTrack& t) {
            t.Lyric(480, "<ab/").Lyric(240, "cd/").Lyric(240, "ef").Lyric(480, "<gh").End();
        })));
    ASSERT_EQ(song.GetXF(), 1);
    const auto w = LyricRecords(song);
    // page 1: three page words, then the syllables; page 2: one page word, its syllable
    ASSERT_GE(w.size(), 8u);
    EXPECT_EQ(w[0].kind, Word::kPageWord);
    EXPECT_STREQ(w[0].text.Text(), "ab\n");
    EXPECT_EQ(w[0].line, 2);
    EXPECT_EQ(w[1].line, 1);
    EXPECT_EQ(w[2].line, 0);
    EXPECT_STREQ(w[2].text.Text(), "ef"); // no trailing line feed at a page's end
    EXPECT_EQ(w[3].kind, Word::kSyllable);
    EXPECT_STREQ(w[3].text.Text(), "<ab\n");
    // The first page word carries the page's time (the schedule then shows the page half of
    // its 480-tick lead early, and the first syllable keeps its tick).
    EXPECT_EQ(w[0].time + w[3].time, 480);
    EXPECT_EQ(w[0].time, 240);
    EXPECT_EQ(w[3].line, 2);
    EXPECT_EQ(w[5].line, 0);
    // Durations: ms to the next record, before the schedule moves anything.
    EXPECT_EQ(w[3].duration, 250);
    EXPECT_EQ(w[4].duration, 250);
    EXPECT_EQ(w[5].duration, 500);
}

TEST(XFPagePlan, WrapsLinesOfFortyColumnsAtTheFirstFullWidthSpace) {
    const std::string nineteen(19, 'a');
    CLSMIDIData narrow;
    ASSERT_TRUE(LoadBytes(
        narrow, XFSong([&](SmfTrack& t) {
            t.Lyric(0, "<" + nineteen).Lyric(10, std::string(18, 'b') + "^").Lyric(10, "<x").End();
        })));
    for (const Word& w : LyricRecords(narrow))
        EXPECT_EQ(w.text.Find("\n"), -1) << "39 columns stay on one line";

    CLSMIDIData wide;
    ASSERT_TRUE(LoadBytes(wide, XFSong([&](SmfTrack& t) {
                              t.Lyric(0, "<" + nineteen)
                                  .Lyric(10, "bb^" + std::string(17, 'c'))
                                  .Lyric(10, "<x")
                                  .End();
                          })));
    const auto w = LyricRecords(wide);
    std::vector<const Word*> syllables;
    for (const Word& r : w) {
        if (r.kind == Word::kSyllable)
            syllables.push_back(&r);
    }
    ASSERT_GE(syllables.size(), 4u);
    EXPECT_STREQ(syllables[1]->text.Text(), "bb\n");
    EXPECT_STREQ(syllables[2]->text.Text(), std::string(17, 'c').c_str());
    EXPECT_EQ(syllables[2]->time, 0);
    EXPECT_EQ(syllables[0]->line, 1);
    EXPECT_EQ(syllables[2]->line, 0); // the split-off part starts the next line
}

TEST(XFSchedule, ShowsPagesEarlyAndClearsFinishedLines) {
    // 480 ticks per quarter at 500000 us: 2 s = 1920 ticks.
    CLSMIDIData song;
    ASSERT_TRUE(
        LoadBytes(song, XFSong([](SmfTrack& t) {
                      t.CuePoint(0, "&s").Lyric(4000, "<a/").Lyric(100, "b").Lyric(100, "c").End();
                  })));
    const auto w = Words(song);
    std::vector<int> kinds;
    for (const Word& r : w)
        kinds.push_back(r.kind);
    // front records, cue, page words (a, b, c and the closing empty syllable), syllables
    const std::vector<int> expected = {1, 0, 5, 2, 1, 1, 1, 1, 0, 0, 0, 4, 0};
    ASSERT_EQ(kinds, expected);
    EXPECT_EQ(w[4].time, 4000 - 1920); // the page appears 2 s early
    EXPECT_EQ(w[8].time, 1920);        // and its first syllable keeps its tick
    // Line 1 is cleared at the first record after the sung line 0 that is not a part-0
    // syllable, since that comes before the half second.
    EXPECT_EQ(w[11].line, 1);
    EXPECT_EQ(w[11].time, 0);

    CLSMIDIData later;
    ASSERT_TRUE(
        LoadBytes(later, XFSong([](SmfTrack& t) {
                      t.Lyric(0, "<a/").Lyric(100, "b").Lyric(1000, "c").Lyric(100, "<d").End();
                  })));
    const auto v = Words(later);
    auto clear = std::find_if(v.begin(), v.end(), [](const Word& r) { return r.kind == 4; });
    ASSERT_NE(clear, v.end());
    EXPECT_EQ(clear->line, 1);
    EXPECT_EQ(clear->time, 480); // T / 4 after b
    EXPECT_STREQ(std::prev(clear)->text.Text(), "b");
    EXPECT_STREQ(std::next(clear)->text.Text(), "c");
    EXPECT_EQ(std::next(clear)->time, 520);
}

TEST(XFSchedule, ShowsTheUpperHalfOfAPageWhenThePreviousPageHasLeftIt) {
    CLSMIDIData song;
    ASSERT_TRUE(
        LoadBytes(song, XFSong([](SmfTrack& t) {
                      t.Lyric(0, "<a/").Lyric(3000, "b").Lyric(3000, "<c/").Lyric(100, "d").End();
                  })));
    const auto w = Words(song);
    // Page 2's upper line (c, line 1) moves before syllable b of page 1 at most 2 s before
    // the page; its lower line stays at the page start.
    int upper = -1, lower = -1, b = -1;
    for (int i = 0; i < static_cast<int>(w.size()); ++i) {
        if (w[i].kind == Word::kPageWord && w[i].text == "c\n")
            upper = i;
        if (w[i].kind == Word::kPageWord && w[i].text == "d")
            lower = i;
        if (w[i].kind == Word::kSyllable && w[i].text == "b")
            b = i;
    }
    ASSERT_GE(upper, 0);
    ASSERT_GE(lower, 0);
    ASSERT_GE(b, 0);
    EXPECT_LT(b, upper);
    EXPECT_LT(upper, lower);
    long at = 0, upperAt = 0, lowerAt = 0;
    for (int i = 0; i < static_cast<int>(w.size()); ++i) {
        at += w[i].time;
        if (i == upper)
            upperAt = at;
        if (i == lower)
            lowerAt = at;
    }
    EXPECT_EQ(lowerAt - upperAt, 1920);
    EXPECT_EQ(lowerAt, 6000);
}

} // namespace
