// The lyrics display's own thread, fed by a playing engine on the virtual clock.
#include "controls/CLSWordControl.h"
#include "engine/EngineHarness.h"
#include "fixtures/TestPaths.h"

#include <QImage>

#include <sys/resource.h>
#include <thread>

namespace {

bool AnyPixel(const QImage& picture, bool (*match)(QRgb)) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (match(picture.pixel(x, y)))
                return true;
    return false;
}

bool Lit(QRgb p) {
    return qRed(p) > 64 || qGreen(p) > 64 || qBlue(p) > 64;
}

bool Highlit(QRgb p) {
    return qGreen(p) > 200 && qRed(p) > 100 && qRed(p) < 160;
}

class WordControlThreads : public EngineHarness {
protected:
    void SetUp() override {
        EngineHarness::SetUp();
        const std::string bytes = ReadFileBytes(DRUVEL_TEST_DATA "/karaoke_xf.mid");
        ASSERT_TRUE(song.LoadFromMemory(bytes.data(), bytes.size(), "karaoke_xf.mid"));
        control.Move(0, 0, 400, 240);
        control.SetEngine(&song);
    }
    void TearDown() override {
        control.Stop();
        EngineHarness::TearDown();
    }

    // Plays on in steps until the display shows what is wanted, or gives up after `limit`.
    bool PlayUntil(bool (*match)(QRgb), ms limit) {
        for (ms played(0); played < limit; played += ms(CLSMIDIData::kTimerPeriodMs)) {
            Run(ms(CLSMIDIData::kTimerPeriodMs));
            std::this_thread::sleep_for(ms(2));
            if (AnyPixel(control.Picture(), match))
                return true;
        }
        return false;
    }

    CLSWordControl control;
};

TEST_F(WordControlThreads, DrawsThePlayingSongAndJoinsOnStop) {
    PlayAt(0);
    control.Start();
    EXPECT_TRUE(control.IsRunning());
    control.Start(); // a second start keeps the one thread
    EXPECT_TRUE(PlayUntil(Lit, ms(5000)));
    EXPECT_TRUE(PlayUntil(Highlit, ms(30000)));
    control.Stop();
    EXPECT_FALSE(control.IsRunning());
    EXPECT_FALSE(AnyPixel(control.Picture(), Lit));
}

// Most songs have no lyrics: their display's thread looks once and then sleeps until its stop,
// rather than waking every 10 ms for nothing while the song plays.
TEST_F(WordControlThreads, ASongWithoutLyricsLeavesTheThreadAsleep) {
    const std::string bytes = ReadFileBytes(DRUVEL_TEST_DATA "/two_tracks.mid");
    ASSERT_TRUE(song.LoadFromMemory(bytes.data(), bytes.size(), "two_tracks.mid"));
    PlayAt(0);
    Run(ms(100)); // the first ticks pass the song's title
    control.Start();
    std::this_thread::sleep_for(ms(50)); // its first look
    const auto switches = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_nvcsw;
    };
    const long before = switches();
    std::this_thread::sleep_for(ms(300));
    EXPECT_LT(switches() - before, 10);
    control.Stop();
    EXPECT_FALSE(control.IsRunning());
}

TEST_F(WordControlThreads, ThreadWithoutAnEngineEndsAtOnce) {
    CLSWordControl idle;
    idle.Move(0, 0, 200, 120);
    idle.Start();
    idle.Stop();
    EXPECT_FALSE(idle.IsRunning());
}

TEST_F(WordControlThreads, DestroyingARunningDisplayJoinsItsThread) {
    PlayAt(0);
    {
        CLSWordControl display;
        display.Move(0, 0, 400, 240);
        display.SetEngine(&song);
        display.Start();
        Run(ms(300));
    }
    SUCCEED();
}

} // namespace
