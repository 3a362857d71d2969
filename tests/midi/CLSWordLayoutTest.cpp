#include "midi/CLSWordPagePlan.h"
#include "midi/CLSWordSchedule.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Word = CLSMIDIWordInfo;
using WordList = std::list<CLSMIDIWordInfo>;

Word Syllable(int time, const char* text, int part = 0) {
    Word w;
    w.time = time;
    w.kind = Word::kSyllable;
    w.part = part;
    w.text = text;
    return w;
}

Word Tempo(int time, int tempo) {
    Word w;
    w.time = time;
    w.kind = Word::kTempo;
    w.part = 2;
    w.duration = tempo;
    return w;
}

std::vector<Word> AsVector(const WordList& words) {
    return {words.begin(), words.end()};
}

TEST(WordPagePlan, DurationsFollowTheTempoInForce) {
    // 480 ticks per quarter: 240 ticks are 250 ms at 500000 and 125 ms at 250000.
    WordList words = {Syllable(0, "<ab/"), Syllable(240, "cd"), Tempo(0, 250000),
                      Syllable(240, "ef")};
    words.front().text = "<ab\n";
    CLSWordPagePlan(words, 480).Build();
    const auto w = AsVector(words);
    ASSERT_EQ(w.size(), 7u); // a page word per syllable in front of the page
    EXPECT_EQ(w[0].kind, Word::kPageWord);
    EXPECT_EQ(w[0].line, 1);
    EXPECT_EQ(w[1].line, 0);
    EXPECT_EQ(w[2].line, 0);
    EXPECT_EQ(w[3].duration, 250);
    EXPECT_EQ(w[4].duration, 0); // the tempo record follows at once
    EXPECT_EQ(w[5].duration, 250000);
    EXPECT_EQ(w[6].duration, 0); // last record
}

TEST(WordPagePlan, TicksToMsRoundsAndSaturates) {
    EXPECT_EQ(CLSWordPagePlan::TicksToMs(1, 500000, 480), 1); // 1.04 ms
    EXPECT_EQ(CLSWordPagePlan::TicksToMs(0xFFFFFFFFu, 0xFFFFFFu, 1), 0x7FFFFFFF);
    EXPECT_EQ(CLSWordPagePlan::TicksToMs(480, 500000, 0), 0); // no division by zero
}

TEST(WordSchedule, ClearsAFinishedLineAQuarterOfTheLeadIntoTheNextLine) {
    WordList words = {Syllable(0, "a"), Syllable(480, "b"), Syllable(4800, "c")};
    auto it = words.begin();
    it->line = 1;
    (++it)->line = 0;
    (++it)->line = 0;
    CLSWordSchedule schedule(words, 480);
    EXPECT_EQ(schedule.EarlyTicks(500000), 1920u);
    EXPECT_EQ(schedule.EarlyTicks(0), 0xFFFFFFFFu);
    schedule.Build();
    const auto w = AsVector(words);
    ASSERT_EQ(w.size(), 4u);
    EXPECT_EQ(w[2].kind, Word::kClearLine);
    EXPECT_EQ(w[2].line, 1);
    EXPECT_EQ(w[2].time, 480); // a quarter of 2 s at 120 bpm
    EXPECT_EQ(w[3].time, 4800 - 480);
}

} // namespace
