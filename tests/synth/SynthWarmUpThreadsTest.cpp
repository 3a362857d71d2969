// The synthesizer's warm-up thread against a Play (an Open of the synthesizer) issued meanwhile.
#include "core/MidiOutError.h"
#include "synth/SynthMidiOutput.h"
#include "synth/SynthWarmUp.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace std::chrono_literals;

TEST(SynthWarmUpThreads, AnOpenWhileWarmingWaitsForTheWarmUp) {
    std::atomic<bool> loaded{false};
    std::atomic<int> loads{0};
    SynthWarmUp warmUp(SynthWarmUp::Task([&] {
        std::this_thread::sleep_for(300ms); // a large SoundFont
        loads.fetch_add(1);
        loaded.store(true);
    }));
    // No SoundFont here: Open fails, but only after the warm-up ended.
    SynthMidiOutput output("/nonexistent/none.sf2");
    EXPECT_EQ(output.Open(), MIDIOUT_NOSOUNDFONT);
    EXPECT_TRUE(loaded.load());
    EXPECT_TRUE(warmUp.Finished());
    EXPECT_EQ(loads.load(), 1);
}

TEST(SynthWarmUpThreads, AFailingWarmUpDoesNotBlockLaterOpens) {
    {
        SynthWarmUp warmUp(SynthWarmUp::Task([] { throw std::runtime_error("no memory"); }));
    }
    SynthMidiOutput output("/nonexistent/none.sf2");
    EXPECT_EQ(output.Open(), MIDIOUT_NOSOUNDFONT);
}
