// The spectrum's drawing thread against the GUI thread and a stand-in for the engine.
#include "SpectrumTestSupport.h"
#include "clock/SystemClock.h"
#include "engine/EngineHarness.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

namespace SG = SpectrumGeometry;
constexpr int G = SpectrumFixture::kGradient;
constexpr QRgb kDarkGrey = 0xFF404040u;
const int kTopSegment = SG::SegmentTop(SG::Digital(127, G).count - 1, G);

class SpectrumThreads : public ::testing::Test, public SpectrumFixture {
protected:
    void TearDown() override { spectrum.Destroy(); } // before the rows go
    // Waits until the thread has drawn the first meter up to its top segment.
    bool WaitForFullMeter() {
        for (int i = 0; i < 300; ++i) {
            if (spectrum.Picture().pixel(SG::kMeterLeft, kTopSegment) != kDarkGrey)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    bool MetersAllDark() {
        const QImage picture = spectrum.Picture();
        for (int j = 0; j < 3; ++j) {
            const int x = j * spectrum.Pitch() + SG::kMeterLeft;
            if (picture.pixel(x, SG::SegmentTop(0, G)) != kDarkGrey)
                return false;
        }
        return true;
    }
    // The picture once it has not changed for a few ticks.
    QImage SettledPicture() {
        QImage last = spectrum.Picture();
        for (int i = 0; i < 100; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5 * SG::kTickMs));
            QImage now = spectrum.Picture();
            if (now == last)
                return now;
            last = std::move(now);
        }
        return last;
    }
    MIDITRACKINFOARRAY rows = MakeRows(3, 127, 1);
};

// Once the meters stand still, the picture the ticks drew piece by piece is what a full
// render of the same levels gives, in both modes, after a rise and after a partial fall.
TEST_F(SpectrumThreads, MetersDrawnTickByTickMatchAFullRender) {
    for (const bool digital : {true, false}) {
        SCOPED_TRACE(digital ? "digital" : "continuous");
        spectrum.SetDigital(digital);
        spectrum.SetRows(&rows);
        spectrum.Start();
        for (const int level : {127, 61, 0, 98}) {
            for (MIDITRACKINFO& row : rows)
                row.level.store(level);
            const QImage ticked = SettledPicture();
            spectrum.SetDigital(digital); // the next picture is rendered whole
            EXPECT_EQ(spectrum.Picture(), ticked) << "level " << level;
        }
        spectrum.Stop(true);
    }
}

TEST_F(SpectrumThreads, MetersFallToZeroBeforeANormalStopReturns) {
    spectrum.SetRows(&rows);
    spectrum.Start();
    ASSERT_TRUE(WaitForFullMeter());
    for (MIDITRACKINFO& row : rows) { // what the engine does when it stops
        row.sounding.store(0);
        row.level.store(0);
    }
    spectrum.Stop(false);
    EXPECT_FALSE(spectrum.IsRunning());
    EXPECT_TRUE(MetersAllDark());
}

TEST_F(SpectrumThreads, NormalStopEndsEvenWhileTheRowsStillSound) {
    spectrum.SetRows(&rows);
    spectrum.Start();
    ASSERT_TRUE(WaitForFullMeter());
    spectrum.Stop(false); // rows left at 127: the fall must not wait for them
    EXPECT_TRUE(MetersAllDark());
}

// The fall is drawn while the caller goes on, reads the rows no more (they may already hold
// the next song) and is told once the thread is gone.
TEST_F(SpectrumThreads, AFallReturnsAtOnceLeavesTheRowsAloneAndIsToldWhenDown) {
    spectrum.SetRows(&rows);
    spectrum.Start();
    ASSERT_TRUE(WaitForFullMeter());
    int told = 0;
    spectrum.SetOnFallen([&told] { ++told; });
    ASSERT_TRUE(spectrum.Fall());
    EXPECT_TRUE(spectrum.IsRunning());
    for (MIDITRACKINFO& row : rows) {
        row.sounding.store(0);
        row.level.store(90);
    }
    for (int i = 0; i < 300 && told == 0; ++i) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(told, 1);
    EXPECT_FALSE(spectrum.IsRunning());
    EXPECT_TRUE(MetersAllDark());
    EXPECT_EQ(rows[0].level.load(), 90);
}

TEST_F(SpectrumThreads, ImmediateStopLeavesTheMetersAsDrawn) {
    spectrum.SetRows(&rows);
    spectrum.Start();
    ASSERT_TRUE(WaitForFullMeter());
    spectrum.Stop(true);
    EXPECT_FALSE(spectrum.IsRunning());
    // At most one falling tick: the meter is still near the top.
    EXPECT_NE(spectrum.Picture().pixel(SG::kMeterLeft, SG::SegmentTop(25, G)), kDarkGrey);
}

TEST_F(SpectrumThreads, GuiChangesWhileTheThreadDraws) {
    spectrum.SetRows(&rows);
    spectrum.Start();
    for (int i = 0; i < 20; ++i) {
        spectrum.Move(0, 0, 150 + i, SpectrumFixture::kHeight - (i % 3));
        spectrum.SetDigital(i % 2 == 0);
        spectrum.SetColors(DefaultSpectrumColors());
        (void)spectrum.Picture();
        rows[static_cast<std::size_t>(i % 3)].level.store(i * 6);
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
    MIDITRACKINFOARRAY other = MakeRows(2, 50, 1);
    spectrum.SetRows(&other); // restarts the thread on the new rows
    EXPECT_TRUE(spectrum.IsRunning());
    spectrum.Destroy();
    EXPECT_FALSE(spectrum.IsRunning());
}

TEST_F(SpectrumThreads, AStopWithoutRowsEndsAtOnce) {
    MIDITRACKINFOARRAY none;
    spectrum.SetRows(&none);
    spectrum.Start();
    EXPECT_TRUE(spectrum.IsRunning());
    spectrum.Stop(false);
    EXPECT_FALSE(spectrum.IsRunning());
}

// The engine's timer thread, the drawing thread and the GUI thread (mute clicks, repaints,
// a resize) on one song; then the player's stop order: engine first, then the spectrum.
TEST_F(SpectrumThreads, FollowsTheEngineTimerAndFallsAfterItStops) {
    MemoryMidiOutput output(SystemClock::Instance());
    CLSMIDIData song;
    CLSMIDIData::PlaybackSetup setup;
    setup.closeWait = std::chrono::milliseconds(20);
    setup.openOutput = [&output](int, std::unique_ptr<MidiOutput>& out) {
        out = std::make_unique<ForwardingOutput>(output, std::chrono::milliseconds(40));
        return MIDIOUT_OK;
    };
    song.SetPlaybackSetup(std::move(setup));
    SongBuilder b(100);
    for (int channel = 0; channel < 3; ++channel) {
        for (unsigned tick = 0; tick < 400; tick += 4) {
            b.NoteOn(tick, channel, 60, 100);
            b.NoteOff(tick + 3, channel, 60);
        }
    }
    const std::vector<std::uint8_t> bytes = b.Bytes();
    ASSERT_TRUE(song.LoadFromMemory(bytes.data(), bytes.size(), "dense.mid"));
    spectrum.SetRows(&song.GetRows());
    ASSERT_TRUE(song.Play(0, 0));
    spectrum.SetSoundDelay(song.GetOutputLatency());
    spectrum.Start();
    QWidget* window = spectrum.Window();
    for (int i = 0; i < 30; ++i) {
        const QPoint button(spectrum.Pitch() * (i % 3) + 5, 8);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(button), QPointF(button),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(button), QPointF(button),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &press);
        QCoreApplication::sendEvent(window, &release);
        if (i == 15)
            spectrum.Move(0, 0, 180, SpectrumFixture::kHeight);
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    song.Stop();
    spectrum.Stop(false);
    EXPECT_TRUE(MetersAllDark());
    spectrum.Destroy(); // before the song and its rows go
}

} // namespace
