#include "app/WindowViews.h"

#include "clock/SystemClock.h"
#include "controls/CLSWndSpectrum.h"
#include "core/MidiOutError.h"
#include "fixtures/ForwardingOutput.h"
#include "fixtures/TestPaths.h"
#include "midi/CLSMIDIData.h"
#include "output/CaptureMidiOutput.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace {

int argc = 1;
char arg0[] = "test_app";
char* argv[] = {arg0, nullptr};

const std::string kDemo = std::string(DRUVEL_TEST_DATA) + "/../../resources/demo/druvel-demo.mid";

// The window's meters rise when the notes are heard, not when they are sent.
TEST(WindowSpectrumView, MetersWaitForTheOutputsLatency) {
    QApplication app(argc, argv);
    TempDir dir;
    // A capture file heard a long while after the messages are sent, as through a slow server.
    CaptureMidiOutput capture(dir.File("capture.txt"), SystemClock::Instance());
    CLSMIDIData engine;
    CLSMIDIData::PlaybackSetup setup;
    setup.openOutput = [&capture](int, std::unique_ptr<MidiOutput>& out) {
        out = std::make_unique<ForwardingOutput>(capture, std::chrono::seconds(1));
        return MIDIOUT_OK;
    };
    engine.SetPlaybackSetup(std::move(setup));
    ASSERT_TRUE(engine.Load(kDemo.c_str()));
    QWidget parent;
    CLSWndSpectrum spectrum;
    spectrum.Create(&parent, 1035);
    spectrum.Move(0, 0, 400, 134);
    SpectrumControlView view(spectrum, engine);
    view.SetRows(engine.GetRows());
    ASSERT_TRUE(engine.Play(0, 0));
    view.Start();
    const QImage dark = spectrum.Picture();

    QTest::qWait(500);
    const std::size_t rows = engine.GetRows().size();
    int sounding = 0;
    for (std::size_t i = 0; i < rows; ++i)
        sounding = std::max(sounding, engine.GetRows()[i].level.load());
    ASSERT_GT(sounding, 0) << "the song plays";
    EXPECT_EQ(spectrum.Picture(), dark) << "a meter rose before its note was heard";
    QTest::qWait(1000);
    EXPECT_NE(spectrum.Picture(), dark);
    engine.Stop();
    view.Stop(true);
}

} // namespace
