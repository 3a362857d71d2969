// The flow's state and change notices, as the desktop's media controls follow them.
#include "player/FlowHarness.h"

namespace {

using State = CLSPlaybackFlow::State;
using Change = CLSPlaybackFlow::Change;

class PlaybackFlowStateThreads : public FlowHarness {
protected:
    void SetUp() override {
        FlowHarness::SetUp();
        flow->SetListener(
            [this](Change change) { (change == Change::Seeked ? seeks : changes)++; });
    }
    int changes = 0;
    int seeks = 0;
};

TEST_F(PlaybackFlowStateThreads, PauseKeepsThePlaceAndStopGoesBackToTheStart) {
    EXPECT_EQ(flow->GetState(), State::NoSong);
    AddSongs();
    EXPECT_EQ(flow->GetState(), State::Stopped);
    flow->PlayPause();
    EXPECT_EQ(flow->GetState(), State::Playing);
    Run(ms(300));
    ASSERT_TRUE(SeekBarReaches(static_cast<int>(engine.GetPosition())));
    flow->PlayPause();
    EXPECT_EQ(flow->GetState(), State::Paused);
    flow->StopPlayback(false);
    EXPECT_EQ(flow->GetState(), State::Stopped);
}

TEST_F(PlaybackFlowStateThreads, EveryChangeIsToldAndSeeksApart) {
    AddSongs(1);
    EXPECT_GT(changes, 0) << "loading";
    changes = 0;
    flow->PlayPause();
    EXPECT_GT(changes, 0) << "starting";
    changes = 0;
    flow->SeekChosen(500);
    EXPECT_EQ(seeks, 1);
    EXPECT_EQ(flow->GetPosition(), 500);
    changes = 0;
    flow->StepVolume(-10);
    EXPECT_GT(changes, 0) << "volume";
    changes = 0;
    flow->HaltPlayback(false);
    EXPECT_GT(changes, 0) << "pausing";

    const int before = changes;
    flow.reset(); // stops at once, but whoever listened may be gone by now
    EXPECT_EQ(changes, before);
}

TEST_F(PlaybackFlowStateThreads, VolumeAndTempoFromOutsideTakeTheSlidersPath) {
    AddSongs(1);
    flow->SetVolume(37);
    EXPECT_EQ(volume.value, 37);
    EXPECT_EQ(volumeLabel.text, "音量： 37%");
    EXPECT_EQ(engine.GetVolumeLeft(), 37);
    flow->SetVolume(250);
    EXPECT_EQ(flow->GetVolume(), 100);
    EXPECT_EQ(engine.GetVolumeRight(), 100);

    flow->SetTempo(1000);
    EXPECT_EQ(flow->GetTempo(), CLSPlaybackFlow::kTempoMax);
    EXPECT_EQ(tempoLabel.text.rfind("テンポ： 250%", 0), 0u);
    flow->SetTempo(-5);
    EXPECT_EQ(tempo.value, CLSPlaybackFlow::kTempoMin);
}

} // namespace
