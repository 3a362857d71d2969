// The meters' movement tick by tick, and what is seen following what is heard.
#include "controls/SpectrumMeters.h"
#include "SpectrumTestSupport.h"
#include "engine/EngineHarness.h"

#include <gtest/gtest.h>

namespace {

TEST(SpectrumMeterTicks, SilentRowsDecayInTheRowsWhileSoundingOnesHold) {
    MIDITRACKINFOARRAY rows = MakeRows(2, 100, 0);
    rows[1].sounding.store(1);
    SpectrumMeters meters;
    meters.Reset(rows.size(), 0);
    meters.Tick(rows, false);
    EXPECT_EQ(rows[0].level.load(), 98);
    EXPECT_EQ(rows[1].level.load(), 100);
    EXPECT_EQ(meters.Shown(0), 8);
    EXPECT_TRUE(meters.Moved(0));
    for (int i = 0; i < 20; ++i)
        meters.Tick(rows, false);
    EXPECT_EQ(meters.Shown(1), 100);
    EXPECT_FALSE(meters.Moved(1));
}

TEST(SpectrumMeterTicks, AfterAStopMetersFallByFourEvenWhileARowStillHoldsALevel) {
    MIDITRACKINFOARRAY rows = MakeRows(1, 127, 1);
    SpectrumMeters meters;
    meters.Reset(rows.size(), 0);
    for (int i = 0; i < 16; ++i)
        meters.Tick(rows, false);
    ASSERT_EQ(meters.Shown(0), 127);
    EXPECT_FALSE(meters.Tick(rows, true));
    EXPECT_EQ(meters.Shown(0), 123);
    int ticks = 1;
    while (!meters.Tick(rows, true))
        ++ticks;
    EXPECT_EQ(ticks + 1, 32); // 127 / 4, rounded up
}

TEST(SpectrumMeterTicks, NoRowsAreAllZeroAtOnce) {
    MIDITRACKINFOARRAY rows;
    SpectrumMeters meters;
    meters.Reset(0, 12);
    EXPECT_TRUE(meters.Tick(rows, true));
}

// The engine on the virtual clock, its output heard `latency` after sending, and the meters
// ticking every 10 ms with the matching delay: the first meter movement is when the note is
// heard.
class SpectrumLatency : public EngineHarness {
protected:
    int FirstRiseMs(std::chrono::milliseconds latency) {
        outputLatency = latency;
        SongBuilder b(100); // 5 ms a tick
        b.NoteOn(60, 0, 60, 100).NoteOff(100, 0, 60);
        Load(b);
        PlayAt(0);
        EXPECT_EQ(song.GetOutputLatency(), latency);
        SpectrumMeters meters;
        meters.Reset(song.GetRows().size(), static_cast<int>(latency / ms(10)));
        for (int t = 5; t <= 1000; t += 5) {
            clock.Advance(ms(5));
            if (t % CLSMIDIData::kTimerPeriodMs == 0)
                timer.Fire();
            if (t % 10 == 0) {
                meters.Tick(song.GetRows(), false);
                if (meters.Shown(0) > 0)
                    return t;
            }
        }
        return -1;
    }
};

TEST_F(SpectrumLatency, MeterRisesWhenItsNoteIsSentToAnOutputWithoutLatency) {
    EXPECT_EQ(FirstRiseMs(ms(0)), 300);
}

TEST_F(SpectrumLatency, MeterRisesWhenItsNoteIsHeard) {
    EXPECT_EQ(FirstRiseMs(ms(120)), 420);
    song.Stop();
    EXPECT_EQ(song.GetOutputLatency(), ms(0));
}

} // namespace
