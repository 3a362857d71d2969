// The flow while songs play: every test here runs the position thread.
#include "player/FlowHarness.h"

#include <algorithm>

namespace {

using PlaybackFlowThreads = FlowHarness;

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end() ||
           std::any_of(texts.begin(), texts.end(),
                       [&](const std::string& t) { return t.find(text) != std::string::npos; });
}

TEST_F(PlaybackFlowThreads, PlayPauseResumeKeepsThePosition) {
    AddSongs();
    flow->PlayPause();
    ASSERT_TRUE(engine.IsPlaying());
    EXPECT_TRUE(flow->HasPositionThread());
    Run(ms(990));
    const int reached = static_cast<int>(engine.GetPosition());
    ASSERT_GT(reached, 900);
    ASSERT_TRUE(SeekBarReaches(reached));

    flow->PlayPause();
    EXPECT_FALSE(engine.IsPlaying());
    EXPECT_FALSE(flow->HasPositionThread());
    EXPECT_EQ(seekBar.GetPos(), reached);

    flow->PlayPause();
    ASSERT_TRUE(engine.IsPlaying());
    EXPECT_EQ(static_cast<int>(engine.GetPosition()), reached);
    EXPECT_EQ(LoadedTitle(), "Song0");
}

// The position thread copies every 100 ms of real time: a pause between two copies must not
// resume from the older one and play the last notes twice.
TEST_F(PlaybackFlowThreads, APauseResumesWhereTheSoundStoppedNotAtThePositionThreadsLastCopy) {
    AddSongs();
    flow->PlayPause();
    ASSERT_TRUE(SeekBarReaches(0));
    Run(ms(600)); // virtual time: far faster than the thread's next copy
    const int reached = static_cast<int>(engine.GetPosition());
    flow->PlayPause();
    EXPECT_EQ(seekBar.GetPos(), reached);
    flow->PlayPause();
    EXPECT_EQ(static_cast<int>(engine.GetPosition()), reached);
}

TEST_F(PlaybackFlowThreads, AfterAStopTheFocusedRowPlaysButAPauseResumes) {
    AddSongs();
    flow->PlayPause();
    Run(ms(300));
    ASSERT_TRUE(SeekBarReaches(static_cast<int>(engine.GetPosition())));
    playlist.View().SetFocused(2);
    flow->PlayPause(); // pause mid-way
    flow->PlayPause();
    EXPECT_EQ(playlist.GetCurrent(), 0u) << "a paused song resumes whatever is focused";

    flow->StopPlayback(false);
    EXPECT_EQ(seekBar.GetPos(), 0);
    EXPECT_EQ(timeLabel.seconds.load(), 0u);
    playlist.View().SetFocused(2);
    flow->PlayPause();
    EXPECT_TRUE(engine.IsPlaying());
    EXPECT_EQ(playlist.GetCurrent(), 2u);
    EXPECT_EQ(LoadedTitle(), "Song2");
}

TEST_F(PlaybackFlowThreads, NormalOrderAtTheLastSongLoadsTheFirstAndStops) {
    AddSongs();
    flow->PlayRow(2);
    ASSERT_TRUE(engine.IsPlaying());
    Run(ms(2300));
    EXPECT_FALSE(engine.IsPlaying());
    EXPECT_FALSE(flow->HasPositionThread());
    EXPECT_EQ(playlist.GetCurrent(), 0u);
    EXPECT_EQ(LoadedTitle(), "Song0");
    EXPECT_EQ(playlist.View().GetImage(0), 1);
    EXPECT_EQ(playlist.View().GetImage(2), 0);
    EXPECT_TRUE(reports.Reports().empty());
}

TEST_F(PlaybackFlowThreads, NormalOrderPlaysOnToTheNextSong) {
    AddSongs();
    flow->PlayPause();
    Run(ms(2300));
    EXPECT_TRUE(engine.IsPlaying());
    EXPECT_EQ(playlist.GetCurrent(), 1u);
    EXPECT_EQ(LoadedTitle(), "Song1");
}

TEST_F(PlaybackFlowThreads, RepeatOneRestartsWithoutReloading) {
    settings.PlayType = kPlayRepeatOne;
    AddSongs();
    flow->PlayPause();
    const int loads = marquee.calls;
    Run(ms(2100));
    EXPECT_TRUE(engine.IsPlaying());
    EXPECT_EQ(playlist.GetCurrent(), 0u);
    EXPECT_EQ(marquee.calls, loads);
    EXPECT_LT(engine.GetPosition(), 300u);
}

TEST_F(PlaybackFlowThreads, AnEndArrivingAfterTheUserStoppedStartsNothing) {
    AddSongs();
    flow->PlayPause();
    Run(ms(1900));
    clock.Advance(ms(300));
    timer.Fire(); // the end is posted ...
    ASSERT_FALSE(pending.empty());
    flow->StopPlayback(false); // ... but the user's stop is handled first
    Deliver();
    EXPECT_FALSE(engine.IsPlaying());
    EXPECT_EQ(playlist.GetCurrent(), 0u);
}

TEST_F(PlaybackFlowThreads, AnEndFromTheSongBeforeTheOneTheUserStartedIsDropped) {
    AddSongs();
    flow->PlayPause();
    Run(ms(1900));
    clock.Advance(ms(300));
    timer.Fire(); // the first song's end is posted ...
    ASSERT_FALSE(pending.empty());
    flow->PlayRow(2); // ... but a double click on the last song is handled first
    Deliver();
    EXPECT_TRUE(engine.IsPlaying());
    EXPECT_EQ(playlist.GetCurrent(), 2u);
    EXPECT_EQ(LoadedTitle(), "Song2");
}

// The caller's thread paints the fall; the rows it shows are not replaced before it ends, and
// what the user asks meanwhile follows in order.
TEST_F(PlaybackFlowThreads, WhatFollowsAStopWaitsForTheMetersFall) {
    spectrum.falls = true;
    AddSongs();
    flow->PlayPause();
    Run(ms(300));
    const int rowsGiven = spectrum.rowsGiven;
    flow->Next();
    EXPECT_FALSE(engine.IsPlaying());
    EXPECT_FALSE(flow->HasPositionThread());
    EXPECT_EQ(LoadedTitle(), "Song0");
    EXPECT_EQ(spectrum.rowsGiven, rowsGiven);
    flow->Next(); // pressed again during the fall
    spectrum.EndFall();
    EXPECT_EQ(LoadedTitle(), "Song1");
    EXPECT_TRUE(spectrum.falling) << "the second Next stopped the first one's song";
    spectrum.EndFall();
    EXPECT_TRUE(engine.IsPlaying());
    EXPECT_EQ(LoadedTitle(), "Song2");
}

TEST_F(PlaybackFlowThreads, AnEndAndASeekDuringAFallRunAfterItAndClosingDropsThem) {
    spectrum.falls = true;
    AddSongs();
    flow->PlayPause();
    Run(ms(2100)); // the end: the next song waits for the fall
    EXPECT_EQ(LoadedTitle(), "Song0");
    flow->SeekChosen(500);
    spectrum.EndFall();
    EXPECT_TRUE(engine.IsPlaying());
    EXPECT_EQ(LoadedTitle(), "Song1");
    EXPECT_GE(engine.GetPosition(), 500u);

    flow->PlayPause(); // pause, then play during the fall: the window closes first
    flow->PlayPause();
    flow->StopPlayback(true);
    spectrum.fallen(); // a late notice of the fall that was cut short
    EXPECT_FALSE(engine.IsPlaying());
    EXPECT_FALSE(flow->IsFalling());
}

TEST_F(PlaybackFlowThreads, UnknownPlayOrderActsAsNormal) {
    settings.PlayType = 7;
    AddSongs();
    flow->PlayPause();
    Run(ms(2300));
    EXPECT_TRUE(engine.IsPlaying());
    EXPECT_EQ(playlist.GetCurrent(), 1u);
}

TEST_F(PlaybackFlowThreads, ChosenSeekWhilePlayingRestartsThereAndTrackingOnlyMovesTheLabel) {
    AddSongs(1, 5000);
    flow->PlayPause();
    Run(ms(300));
    flow->SeekTracking(3500);
    EXPECT_EQ(timeLabel.seconds.load(), 3u);
    EXPECT_LT(engine.GetPosition(), 1000u);

    flow->SeekChosen(3000);
    EXPECT_TRUE(engine.IsPlaying());
    EXPECT_EQ(engine.GetPosition(), 3000u);
    Run(ms(150));
    EXPECT_GE(engine.GetPosition(), 3100u);
}

TEST_F(PlaybackFlowThreads, SeekWhileStoppedOnlyMovesTheStart) {
    AddSongs(1, 5000);
    flow->SeekChosen(2500);
    EXPECT_FALSE(engine.IsPlaying());
    EXPECT_EQ(timeLabel.seconds.load(), 2u);
    flow->PlayPause();
    EXPECT_EQ(engine.GetPosition(), 2500u);
}

TEST_F(PlaybackFlowThreads, DeletingThePlayingSongPlaysTheOneAfterIt) {
    AddSongs();
    flow->PlayRow(1);
    playlist.View().SetSelected(1, true);
    flow->DeleteSelected();
    EXPECT_TRUE(engine.IsPlaying());
    EXPECT_EQ(LoadedTitle(), "Song2");
    EXPECT_EQ(playlist.Count(), 2u);

    // The last song deleted: the first one plays.
    playlist.View().SetSelected(1, true);
    flow->DeleteSelected();
    EXPECT_TRUE(engine.IsPlaying());
    EXPECT_EQ(LoadedTitle(), "Song0");
}

TEST_F(PlaybackFlowThreads, DeletingAnotherSongLeavesPlaybackAlone) {
    AddSongs();
    flow->PlayRow(1);
    Run(ms(300));
    const unsigned before = engine.GetPosition();
    playlist.View().SetSelected(0, true);
    flow->DeleteSelected();
    EXPECT_TRUE(engine.IsPlaying());
    EXPECT_EQ(engine.GetPosition(), before);
    EXPECT_EQ(LoadedTitle(), "Song1");
}

TEST_F(PlaybackFlowThreads, NextAndPreviousPlayTheNeighbours) {
    AddSongs();
    flow->Next();
    EXPECT_TRUE(engine.IsPlaying());
    EXPECT_EQ(LoadedTitle(), "Song1");
    flow->Previous();
    flow->Previous();
    EXPECT_TRUE(engine.IsPlaying());
    EXPECT_EQ(LoadedTitle(), "Song2");
}

TEST_F(PlaybackFlowThreads, ARefusedStartSaysSoAndStaysStopped) {
    AddSongs();
    refuseOutput = true;
    flow->SeekChosen(500);
    flow->PlayPause();
    EXPECT_FALSE(engine.IsPlaying());
    EXPECT_FALSE(flow->HasPositionThread());
    EXPECT_EQ(seekBar.GetPos(), 500);
    EXPECT_TRUE(Contains(ErrorTexts(), "再生できません。"));
}

TEST_F(PlaybackFlowThreads, AMissingNextSongIsReportedAndStaysCurrent) {
    AddSongs(1);
    playlist.AppendSong(CLSTString(dir.File("gone.mid").c_str()));
    flow->PlayPause();
    Run(ms(2300));
    EXPECT_FALSE(engine.IsPlaying());
    EXPECT_EQ(playlist.GetCurrent(), 1u);
    const std::vector<std::string> texts = ErrorTexts();
    ASSERT_GE(texts.size(), 1u);
    EXPECT_TRUE(Contains(texts, "再生できません。"));
}

TEST_F(PlaybackFlowThreads, TempoLabelShowsTheEffectiveBeatsPerMinute) {
    AddSongs();
    flow->PlayPause();
    tempo.SetValue(150);
    flow->UpdateTempo();
    EXPECT_EQ(tempoLabel.text, "テンポ： 150% (180)");
}

TEST_F(PlaybackFlowThreads, APlayedTempoChangeUpdatesTheLabel) {
    SongBuilder song;
    song.Tempo(0, 500000).Tempo(480, 400000).NoteOn(960, 0, 60, 100).NoteOff(1920, 0, 60);
    const std::string path = dir.File("tempo.mid");
    const std::vector<std::uint8_t> bytes = song.Bytes();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    flow->AddPath(CLSTString(path.c_str()));
    flow->PlayPause();
    EXPECT_EQ(tempoLabel.text, "テンポ： 100% (120)");
    Run(ms(600));
    EXPECT_EQ(tempoLabel.text, "テンポ： 100% (150)");
}

TEST_F(PlaybackFlowThreads, PositionThreadFollowsTheEngineAndEndsWithIt) {
    AddSongs(1, 5000);
    flow->PlayPause();
    Run(ms(1500));
    const int position = static_cast<int>(engine.GetPosition());
    ASSERT_TRUE(SeekBarReaches(position));
    for (int i = 0; i < 2000 && timeLabel.seconds.load() != 1u; ++i)
        std::this_thread::sleep_for(ms(1));
    EXPECT_EQ(timeLabel.seconds.load(), 1u);

    // The engine stopping by itself ends the loop; the handle waits for the shell to join it.
    engine.Stop();
    flow->HaltPlayback(false);
    EXPECT_FALSE(flow->HasPositionThread());
}

TEST_F(PlaybackFlowThreads, DestroyingTheFlowWhilePlayingJoinsItsThread) {
    AddSongs();
    flow->SetPositionPeriod(ms(100000));
    flow->PlayPause();
    flow.reset(); // must neither hang a period nor leave the thread running
    EXPECT_FALSE(engine.IsPlaying());
}

} // namespace
