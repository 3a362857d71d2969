#pragma once

#include "core/CLSError.h"
#include "core/CLSTString.h"
#include "output/MidiOutputFactory.h"
#include "player/PlaybackViews.h"
#include "playlist/CLSRandom.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class CLSDRUVSettings;
class CLSMIDIData;
class CLSPlayList;

// Ties the playlist to the engine and the displays: loading, starting, pausing, stopping,
// seeking, the end of a song by the play order, and the tempo, volume and key controls. Every
// call comes from one thread (the window's); only the position thread it owns runs beside it.
//
// A stop that lets the spectrum's meters fall does not wait for them: what follows the stop
// (the next song's load and start), and any command given meanwhile, runs in order once the
// spectrum reports the fall complete, so the caller's thread keeps painting. A start that opens
// its device aside waits the same way: what is given meanwhile runs once the device is open
// and the song sounds (or the start failed).
class CLSPlaybackFlow {
public:
    static constexpr const char* kModule = "MAIN";
    static constexpr int kErrCannotPlay = 6;
    static constexpr int kTempoMin = 40;
    static constexpr int kTempoMax = 250;
    static constexpr int kTempoStep = 10;
    static constexpr int kVolumeMin = 0;
    static constexpr int kVolumeMax = 100;
    static constexpr int kVolumeStep = 10;
    static constexpr int kKeyMin = -12;
    static constexpr int kKeyMax = 12;
    static constexpr std::chrono::milliseconds kPositionPeriod{100};

    // The shell's playback as a desktop's media controls see it.
    enum class State { NoSong, Stopped, Paused, Playing };
    // What a listener is told: something it shows may have changed (the song, the state, the
    // volume or tempo), or the position jumped.
    enum class Change { State, Seeked };
    using Listener = std::function<void(Change)>;

    // Sets the sliders to their start values (tempo 100, volume 100, key 0) and writes the
    // tempo and key labels.
    CLSPlaybackFlow(CLSMIDIData& engine, CLSPlayList& playlist, CLSDRUVSettings& settings,
                    const PlaybackViews& views = {});
    // Stops at once, so no thread outlives the objects it reads.
    ~CLSPlaybackFlow();
    CLSPlaybackFlow(const CLSPlaybackFlow&) = delete;
    CLSPlaybackFlow& operator=(const CLSPlaybackFlow&) = delete;

    void SetOwner(OwnerWindow owner) noexcept { m_owner = owner; }
    CLSRandom& Random() noexcept { return m_random; }
    // Tests shorten the position thread's period.
    void SetPositionPeriod(std::chrono::milliseconds period) noexcept { m_period = period; }
    // The window opens the output on the engine's worker, its thread free meanwhile; the play
    // goes on when the engine's opened notice comes back through OnEngineNotify.
    void SetOpenAside(bool on) noexcept { m_openAside = on; }

    // ---- The operations the window's commands are made of ----
    void LoadCurrentSong();
    // From the seek bar's position; "再生できません。" when a start is already running or the
    // engine refuses.
    bool StartPlayback();
    // Stops but keeps the position (the pause). atOnce ends the spectrum without its fall.
    void HaltPlayback(bool atOnce);
    // HaltPlayback, then back to 0. At once, it also cuts a fall short and drops the commands
    // that waited for it (the window closing).
    void StopPlayback(bool atOnce);
    void PlayPause();
    // Adds what the user named and records it as a recent file; loads the first song when
    // none is loaded. Never starts playing. The caller rebuilds the recent-files menu.
    void AddPath(const CLSTString& path);
    // The engine's notification (posted to the window): 1 tempo played, 2 the device is open,
    // 3 end of song.
    // `play` is PlayStamp() read when the notice was posted; an end or an opening from an
    // earlier play is dropped.
    void OnEngineNotify(int kind, unsigned play);
    // Which play is running or was the last; any thread.
    unsigned PlayStamp() const noexcept { return m_playStamp.load(std::memory_order_acquire); }

    // ---- Commands ----
    void Previous();
    void Next();
    void PlayFocused();              // the playlist's "play"
    void DeleteSelected();           // the playlist's "delete" and the Delete key
    void PlayRow(int row);           // a double click; -1 when no row was hit
    void SeekChosen(int position);   // click, key or end of a drag (ms)
    void SeekTracking(int position); // the thumb being dragged (ms)
    void StepTempo(int delta);
    void StepVolume(int delta);
    void StepKey(int delta);
    void UpdateTempo();
    void UpdateVolume();
    void UpdateKey();

    // The volume slider from the output device's own volume; quietly stays when the device
    // cannot tell. The volume label is written either way.
    void ReadInitialVolume(const MidiOutputFactory& openOutput);
    // The display and engine settings (meter width, colours, digital look, spectrum rows,
    // velocity and exclusive flags).
    void ApplySettings();

    bool HasPositionThread() const noexcept { return m_positionThread.joinable(); }
    // The meters are falling after a stop; what follows it waits.
    bool IsFalling() const noexcept { return m_falling; }
    // A start waits for its device to open; what follows it waits too.
    bool IsOpening() const noexcept { return m_opening; }

    // ---- For controls outside the window (the desktop's media keys) ----
    State GetState() const;
    // The seek bar's position, ms.
    int GetPosition() const { return m_views.seekBar->GetPos(); }
    int GetVolume() const { return m_views.volumeSlider->GetValue(); }
    int GetTempo() const { return m_views.tempoSlider->GetValue(); }
    // As if the user had moved the slider there; kept in the slider's range.
    void SetVolume(int percent);
    void SetTempo(int percent);
    // Called on the window's thread after each change; an empty one stops the calls.
    void SetListener(Listener listener) { m_listener = std::move(listener); }

private:
    struct OwnViews;

    void StartPositionThread();
    void JoinPositionThread();
    void ShowEnginePosition();
    void PositionLoop();
    void FollowPlayOrder();
    void Halt(bool atOnce);
    void Stop(bool atOnce);
    // While the meters fall or a device opens, queues `command` behind what waits already and
    // returns true.
    bool Deferred(std::function<void()> command);
    bool DeferredUnlessAtOnce(bool atOnce, std::function<void()> command);
    // What follows a stop: now, or first of all once the wait is over.
    void AfterFall(std::function<void()> next);
    void OnFallen();
    void OnOpened();
    void RunWaiting();
    bool Waiting() const noexcept { return m_falling || m_opening; }
    void Started();
    void StepSlider(SliderView& slider, int delta, int minimum, int maximum);
    void Tell(Change change) const;

    CLSMIDIData& m_engine;
    CLSPlayList& m_playlist;
    CLSDRUVSettings& m_settings;
    std::unique_ptr<OwnViews> m_own;
    PlaybackViews m_views; // every pointer set: the caller's or one of m_own
    OwnerWindow m_owner = nullptr;
    CLSRandom m_random;
    std::chrono::milliseconds m_period = kPositionPeriod;
    Listener m_listener;

    std::atomic<unsigned> m_playStamp{0};
    bool m_falling = false;
    bool m_openAside = false;
    bool m_opening = false;
    std::deque<std::function<void()>> m_afterFall;

    std::thread m_positionThread;
    std::mutex m_wakeMutex;
    std::condition_variable m_wake;
    bool m_stopThread = false; // under m_wakeMutex
};
