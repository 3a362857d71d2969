// The meters' movement tick by tick, and what is seen following what is heard.
#include "controls/SpectrumMeters.h"
#include "SpectrumTestSupport.h"
#include "engine/EngineHarness.h"

#include <gtest/gtest.h>

namespace {

// A meter tick every 10 ms on a clock of its own.
class Ticks {
public:
    bool operator()(SpectrumMeters& meters, MIDITRACKINFOARRAY& rows, bool stopping) {
        m_now += std::chrono::milliseconds(10);
        return meters.Tick(rows, stopping, m_now);
    }

private:
    MonoTime m_now{};
};

TEST(SpectrumMeterTicks, SilentRowsDecayInTheRowsWhileSoundingOnesHold) {
    MIDITRACKINFOARRAY rows = MakeRows(2, 100, 0);
    rows[1].sounding.store(1);
    SpectrumMeters meters;
    meters.Reset(rows.size(), {});
    Ticks tick;
    tick(meters, rows, false);
    EXPECT_EQ(rows[0].level.load(), 98);
    EXPECT_EQ(rows[1].level.load(), 100);
    EXPECT_EQ(meters.Shown(0), 8);
    EXPECT_TRUE(meters.Moved(0));
    for (int i = 0; i < 20; ++i)
        tick(meters, rows, false);
    EXPECT_EQ(meters.Shown(1), 100);
    EXPECT_FALSE(meters.Moved(1));
}

TEST(SpectrumMeterTicks, AfterAStopMetersFallByFourEvenWhileARowStillHoldsALevel) {
    MIDITRACKINFOARRAY rows = MakeRows(1, 127, 1);
    SpectrumMeters meters;
    meters.Reset(rows.size(), {});
    Ticks tick;
    for (int i = 0; i < 16; ++i)
        tick(meters, rows, false);
    ASSERT_EQ(meters.Shown(0), 127);
    EXPECT_FALSE(tick(meters, rows, true));
    EXPECT_EQ(meters.Shown(0), 123);
    int ticks = 1;
    while (!tick(meters, rows, true))
        ++ticks;
    EXPECT_EQ(ticks + 1, 32); // 127 / 4, rounded up
}

TEST(SpectrumMeterTicks, NoRowsAreAllZeroAtOnce) {
    MIDITRACKINFOARRAY rows;
    SpectrumMeters meters;
    meters.Reset(0, std::chrono::milliseconds(120));
    Ticks tick;
    EXPECT_TRUE(tick(meters, rows, true));
}

// The engine on the virtual clock, its output heard `latency` after sending, and the meters
// ticking every 10 ms with the matching delay: the first meter movement is when the note is
// heard.
class SpectrumLatency : public EngineHarness {
protected:
    int FirstRiseMs(std::chrono::milliseconds latency, std::uint32_t noteTick = 60) {
        outputLatency = latency;
        SongBuilder b(100); // 5 ms a tick
        b.NoteOn(noteTick, 0, 60, 100).NoteOff(noteTick + 40, 0, 60);
        Load(b);
        PlayAt(0);
        EXPECT_EQ(song.GetOutputLatency(), latency);
        SpectrumMeters meters;
        meters.Reset(song.GetRows().size(), latency);
        for (int t = 5; t <= 1000; t += 5) {
            clock.Advance(ms(5));
            if (t % CLSMIDIData::kTimerPeriodMs == 0)
                timer.Fire();
            if (t % 10 == 0) {
                meters.Tick(song.GetRows(), false, clock.Now());
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

// Due at 305 ms, the note waits for the engine's tick at 315 and the meters' at 320; it is
// heard at 425 all the same, and seen at the meters' first tick after that.
TEST_F(SpectrumLatency, MeterRisesFromTheNotesDueTimeNotFromItsLateSending) {
    EXPECT_EQ(FirstRiseMs(ms(120), 61), 430);
}

} // namespace
