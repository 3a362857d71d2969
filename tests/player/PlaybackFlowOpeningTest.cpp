// The flow when the window opens the output aside: the device's open is held by a gate the
// test releases, as a synthesizer loading its instruments holds it.
#include "fixtures/ForwardingOutput.h"
#include "fixtures/OpeningGate.h"
#include "player/FlowHarness.h"

#include <algorithm>
#include <mutex>

namespace {

class PlaybackFlowOpening : public FlowHarness {
protected:
    void SetUp() override {
        FlowHarness::SetUp();
        CLSMIDIData::PlaybackSetup setup;
        setup.clock = &clock;
        setup.timer = &timer;
        setup.openOutput = [this](int, std::unique_ptr<MidiOutput>& out) {
            out = std::make_unique<GatedOutput>(std::make_unique<ForwardingOutput>(output), gate);
            return static_cast<int>(MIDIOUT_OK);
        };
        engine.SetPlaybackSetup(std::move(setup));
        // The opened notice comes from the opener's thread.
        engine.SetOwner(nullptr, [this](int kind, unsigned) {
            std::lock_guard lock(m_postedMutex);
            m_posted.push_back({kind, flow->PlayStamp()});
        });
        flow->SetOpenAside(true);
    }

    void TearDown() override {
        gate.Open(); // whatever is still held, so the flow's stop can join it
        FlowHarness::TearDown();
    }

    // Lets the open through and hands the flow its notice, as the window's event loop would.
    void ReleaseAndDeliver(int result = MIDIOUT_OK) {
        ASSERT_TRUE(gate.Holds());
        gate.Release(result);
        std::vector<std::pair<int, unsigned>> notices;
        const auto opened = [&] {
            return std::any_of(notices.begin(), notices.end(),
                               [](const auto& n) { return n.first == CLSMIDIData::kNotifyOpened; });
        };
        for (int i = 0; i < 5000 && !opened(); ++i) {
            {
                std::lock_guard lock(m_postedMutex);
                notices.insert(notices.end(), m_posted.begin(), m_posted.end());
                m_posted.clear();
            }
            if (!opened())
                std::this_thread::sleep_for(ms(1));
        }
        ASSERT_TRUE(opened()) << "no opened notice";
        for (const auto& [kind, play] : notices)
            flow->OnEngineNotify(kind, play);
    }

    OpeningGate gate;

private:
    std::mutex m_postedMutex;
    std::vector<std::pair<int, unsigned>> m_posted;
};

TEST_F(PlaybackFlowOpening, APlayReturnsWhileTheDeviceOpensAndStartsWhereAskedOnceItIs) {
    AddSongs();
    flow->SeekChosen(500);
    flow->PlayPause(); // returns although the open is held
    EXPECT_TRUE(flow->IsOpening());
    EXPECT_FALSE(engine.IsPlaying());
    EXPECT_FALSE(flow->HasPositionThread());
    EXPECT_EQ(flow->GetState(), CLSPlaybackFlow::State::Playing);
    flow->StepKey(2); // not a command that waits: it holds for the play that is opening
    ReleaseAndDeliver();
    EXPECT_FALSE(flow->IsOpening());
    ASSERT_TRUE(engine.IsPlaying());
    EXPECT_TRUE(flow->HasPositionThread());
    EXPECT_EQ(lyrics.starts, 1);
    EXPECT_TRUE(spectrum.running);
    EXPECT_GE(engine.GetPosition(), 500u);
    Run(ms(60));
    const auto messages = output.Messages();
    const bool transposed = std::any_of(messages.begin(), messages.end(), [](const auto& m) {
        return m.bytes.size() == 3 && (m.bytes[0] & 0xF0) == 0x90 && m.bytes[1] == 62;
    });
    EXPECT_TRUE(transposed) << "the key set during the opening was lost";
}

TEST_F(PlaybackFlowOpening, CommandsDuringTheOpeningRunInOrderAfterItAndClosingCancelsIt) {
    AddSongs();
    flow->PlayPause();
    flow->StopPlayback(false);
    flow->Next();
    EXPECT_EQ(LoadedTitle(), "Song0") << "a command ran before the open it follows";
    ReleaseAndDeliver(); // Song0 starts, the stop and Next follow: Song1 opens in turn
    EXPECT_EQ(LoadedTitle(), "Song1");
    EXPECT_TRUE(flow->IsOpening());
    ReleaseAndDeliver();
    EXPECT_TRUE(engine.IsPlaying());

    flow->StopPlayback(false);
    flow->PlayPause();
    ASSERT_TRUE(gate.Holds());
    const unsigned stamp = flow->PlayStamp();
    std::thread late([this] {
        std::this_thread::sleep_for(ms(20));
        gate.Release();
    });
    flow->StopPlayback(true); // the window closing: waits for the opener, starts nothing
    late.join();
    flow->OnEngineNotify(CLSMIDIData::kNotifyOpened, stamp); // its notice, posted before
    EXPECT_FALSE(flow->IsOpening());
    EXPECT_FALSE(engine.IsPlaying());
    EXPECT_FALSE(engine.IsOpening());
    EXPECT_FALSE(flow->HasPositionThread());
    EXPECT_EQ(output.OpenCount(), output.CloseCount());
}

TEST_F(PlaybackFlowOpening, AFailedOpenSaysSoLeavesItStoppedAndThenRunsWhatWaited) {
    AddSongs();
    flow->SeekChosen(500);
    flow->PlayPause();
    flow->Next(); // waits for the opening, then goes ahead although it failed
    ReleaseAndDeliver(MIDIOUT_NOTENABLED);
    const std::vector<std::string> texts = ErrorTexts();
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const std::string& text) {
        return text.find("再生できません。") != std::string::npos;
    }));
    EXPECT_GE(texts.size(), 2u) << "the device's own error is shown too";
    EXPECT_EQ(LoadedTitle(), "Song1");
    EXPECT_TRUE(flow->IsOpening()) << "Next plays the next song";
    ReleaseAndDeliver(MIDIOUT_NOTENABLED);
    EXPECT_FALSE(flow->IsOpening());
    EXPECT_FALSE(engine.IsPlaying());
    EXPECT_FALSE(flow->HasPositionThread());
    EXPECT_EQ(flow->GetState(), CLSPlaybackFlow::State::Stopped);
}

} // namespace
