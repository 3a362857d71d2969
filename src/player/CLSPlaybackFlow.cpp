#include "player/CLSPlaybackFlow.h"

#include "core/DisplayText.h"
#include "core/MidiOutError.h"
#include "core/UiText.h"
#include "midi/CLSMIDIData.h"
#include "player/CLSStatusTexts.h"
#include "player/DisplayLag.h"
#include "playlist/CLSPlayList.h"
#include "settings/CLSDRUVSettings.h"

#include <algorithm>
#include <atomic>
#include <climits>

namespace {

std::string Shown(const CLSTString& bytes, const std::string& encoding = {}) {
    return DisplayText(bytes.Text(), static_cast<std::size_t>(bytes.Length()), encoding);
}

class OwnSeekBar final : public SeekBarView {
public:
    void SetRange(int, int) override {}
    void SetPos(int position) override { m_pos.store(position, std::memory_order_relaxed); }
    int GetPos() const override { return m_pos.load(std::memory_order_relaxed); }

private:
    std::atomic<int> m_pos{0};
};

class OwnTimeLabel final : public TimeLabelView {
public:
    void SetSeconds(unsigned) override {}
};

class OwnSlider final : public SliderView {
public:
    int GetValue() const override { return m_value; }
    void SetValue(int value) override { m_value = value; }

private:
    int m_value = 0;
};

class OwnLabel final : public TextLabelView {
public:
    void SetText(const std::string&) override {}
};

class OwnLyrics final : public LyricsView {
public:
    void SetTimedWipe(bool) override {}
    void Start() override {}
    void Stop() override {}
};

class OwnSpectrum final : public SpectrumView {
public:
    void SetRows(const MIDITRACKINFOARRAY&) override {}
    void Start() override {}
    bool Stop(bool) override { return false; }
    void SetMeterWidth(int) override {}
    void SetColors(const std::array<std::uint32_t, 5>&) override {}
    void SetDigital(bool) override {}
};

class OwnMarquee final : public MarqueeView {
public:
    void SetTexts(const std::vector<std::string>&) override {}
};

template <typename View, typename Own> View* Either(View* given, Own& own) {
    return given ? given : &own;
}

} // namespace

// Stand-ins for the views the caller does not give; the seek bar and sliders keep their value
// because the flow reads it back.
struct CLSPlaybackFlow::OwnViews {
    OwnSeekBar seekBar;
    OwnTimeLabel timeLabel;
    OwnSlider tempoSlider;
    OwnSlider volumeSlider;
    OwnSlider keySlider;
    OwnLabel label;
    OwnLyrics lyrics;
    OwnSpectrum spectrum;
    OwnMarquee marquee;
};

CLSPlaybackFlow::CLSPlaybackFlow(CLSMIDIData& engine, CLSPlayList& playlist,
                                 CLSDRUVSettings& settings, const PlaybackViews& views)
    : m_engine(engine), m_playlist(playlist), m_settings(settings),
      m_own(std::make_unique<OwnViews>()) {
    m_views.seekBar = Either(views.seekBar, m_own->seekBar);
    m_views.timeLabel = Either(views.timeLabel, m_own->timeLabel);
    m_views.tempoSlider = Either(views.tempoSlider, m_own->tempoSlider);
    m_views.volumeSlider = Either(views.volumeSlider, m_own->volumeSlider);
    m_views.keySlider = Either(views.keySlider, m_own->keySlider);
    m_views.tempoLabel = Either(views.tempoLabel, m_own->label);
    m_views.volumeLabel = Either(views.volumeLabel, m_own->label);
    m_views.keyLabel = Either(views.keyLabel, m_own->label);
    m_views.lyrics = Either(views.lyrics, m_own->lyrics);
    m_views.spectrum = Either(views.spectrum, m_own->spectrum);
    m_views.marquee = Either(views.marquee, m_own->marquee);

    m_views.tempoSlider->SetValue(100);
    m_views.volumeSlider->SetValue(kVolumeMax);
    m_views.keySlider->SetValue(0);
    UpdateTempo();
    UpdateKey();
    m_views.spectrum->SetFallen([this] { OnFallen(); });
}

CLSPlaybackFlow::~CLSPlaybackFlow() {
    m_listener = nullptr; // whoever listens may already be gone
    HaltPlayback(true);
    m_views.spectrum->SetFallen({});
}

void CLSPlaybackFlow::LoadCurrentSong() {
    std::vector<std::string> lines;
    if (m_playlist.Count() == 0) {
        m_engine.Clear();
    } else {
        const CLSTString path = m_playlist.GetCurrentPath();
        m_engine.Load(path.Text());
        m_playlist.SetCurrent(m_playlist.GetCurrent());
        lines.push_back(UiText::Translate("CLSMusicInfo", "ファイル名: ") + Shown(path));
        lines.push_back(UiText::Translate("CLSMusicInfo", "曲名: ") +
                        Shown(m_engine.GetTitle(), m_engine.GetTextEncoding()));
        m_playlist.SetCurrentEncoding(m_engine.GetTextEncoding());
    }
    m_views.spectrum->SetRows(m_engine.GetRows());
    const unsigned length = m_engine.GetLength();
    if (length > 0)
        m_views.seekBar->SetRange(0, static_cast<int>(std::min<unsigned>(length, INT32_MAX)));
    m_views.seekBar->SetPos(0);

    m_playlist.SetCurrentTitle(m_engine.GetTitle());
    m_playlist.SetCurrentLength(static_cast<std::int32_t>(std::min<unsigned>(length, INT32_MAX)));
    m_playlist.SetCurrentComposer(m_engine.GetComposer());
    m_playlist.SetCurrentLyricist(m_engine.GetLyricist());
    m_playlist.SetCurrentArranger(m_engine.GetArranger());
    m_playlist.SetCurrentArtist(m_engine.GetArtist());

    m_views.marquee->SetTexts(lines);
    // Laid-out karaoke and lyric-event songs carry durations too, so they wipe in time as well.
    m_views.lyrics->SetTimedWipe(m_engine.GetXF() == 1 || m_engine.HasLyricLayout());
    Tell(Change::State);
}

bool CLSPlaybackFlow::StartPlayback() {
    bool started = false;
    if (!HasPositionThread() && !m_opening) {
        m_engine.SetLyricLead(static_cast<unsigned>(std::max(0, m_settings.WordTraceAheadTime)));
        // The wipe is seen a display lag after it is due: it starts that much earlier.
        m_engine.SetDisplayLead(kDisplayLag);
        const int from = std::max(0, m_views.seekBar->GetPos());
        // Before the device opens, so every notice of this play carries its stamp.
        m_playStamp.fetch_add(1, std::memory_order_acq_rel);
        const auto start = static_cast<unsigned>(from);
        started = m_openAside ? m_engine.BeginPlay(start, m_settings.MidiDeviceID)
                              : m_engine.Play(start, m_settings.MidiDeviceID);
    }
    if (!started) {
        CLSError(kErrCannotPlay, kModule, __LINE__).Show(m_owner);
        return false;
    }
    if (m_engine.IsOpening()) {
        m_opening = true;
        Tell(Change::State);
        return true;
    }
    Started();
    return true;
}

void CLSPlaybackFlow::Started() {
    StartPositionThread();
    m_views.lyrics->Start();
    m_views.spectrum->Start();
    UpdateTempo();
    Tell(Change::State);
}

void CLSPlaybackFlow::OnOpened() {
    if (!m_opening)
        return; // cancelled by a stop at once
    m_opening = false;
    if (m_engine.FinishPlay()) {
        Started();
    } else {
        CLSError(kErrCannotPlay, kModule, __LINE__).Show(m_owner);
        Tell(Change::State);
    }
    RunWaiting();
}

void CLSPlaybackFlow::HaltPlayback(bool atOnce) {
    if (!DeferredUnlessAtOnce(atOnce, [this] { HaltPlayback(false); }))
        Halt(atOnce);
}

void CLSPlaybackFlow::StopPlayback(bool atOnce) {
    if (!DeferredUnlessAtOnce(atOnce, [this] { StopPlayback(false); }))
        Stop(atOnce);
}

// At once cuts a fall short and drops what waited for it; otherwise the command waits too.
bool CLSPlaybackFlow::DeferredUnlessAtOnce(bool atOnce, std::function<void()> command) {
    if (!atOnce)
        return Deferred(std::move(command));
    m_falling = false;
    m_opening = false; // the engine's stop cancels the opening
    m_afterFall.clear();
    return false;
}

void CLSPlaybackFlow::Halt(bool atOnce) {
    m_views.lyrics->Stop();
    m_engine.Stop();
    if (m_views.spectrum->Stop(atOnce))
        m_falling = true;
    JoinPositionThread();
    Tell(Change::State);
}

void CLSPlaybackFlow::Stop(bool atOnce) {
    Halt(atOnce);
    m_views.seekBar->SetPos(0);
    m_views.timeLabel->SetSeconds(0);
    Tell(Change::State);
}

bool CLSPlaybackFlow::Deferred(std::function<void()> command) {
    if (!Waiting())
        return false;
    m_afterFall.push_back(std::move(command));
    return true;
}

void CLSPlaybackFlow::AfterFall(std::function<void()> next) {
    if (Waiting())
        m_afterFall.push_front(std::move(next));
    else
        next();
}

void CLSPlaybackFlow::OnFallen() {
    if (!m_falling)
        return; // cut short by a stop at once, which dropped what waited
    m_falling = false;
    RunWaiting();
}

void CLSPlaybackFlow::RunWaiting() {
    // Each may stop again and begin another fall, or start another opening; the rest then
    // waits for that one.
    while (!Waiting() && !m_afterFall.empty()) {
        std::function<void()> next = std::move(m_afterFall.front());
        m_afterFall.pop_front();
        next();
    }
}

void CLSPlaybackFlow::PlayPause() {
    if (Deferred([this] { PlayPause(); }))
        return;
    if (!m_engine.IsLoaded())
        return;
    if (m_engine.IsPlaying()) {
        Halt(false);
        // The position thread copies only every period; resume where the sound stopped, not
        // up to a period before it.
        ShowEnginePosition();
        return;
    }
    // After a stop the row the user moved to plays; a paused song resumes whatever is focused.
    const int focused = m_playlist.GetFocused();
    if (m_views.seekBar->GetPos() == 0 && focused >= 0 &&
        static_cast<unsigned>(focused) != m_playlist.GetCurrent() &&
        static_cast<unsigned>(focused) < m_playlist.Count()) {
        m_playlist.SetCurrent(static_cast<unsigned>(focused));
        LoadCurrentSong();
    }
    StartPlayback();
}

void CLSPlaybackFlow::AddPath(const CLSTString& path) {
    m_playlist.Add(path, m_settings.GetFlag(CLSDRUVSettings::SearchSubFolder));
    m_settings.AddRecentFile(path);
    if (!m_engine.IsLoaded() && m_playlist.Count() > 0)
        LoadCurrentSong();
}

void CLSPlaybackFlow::OnEngineNotify(int kind, unsigned play) {
    if (kind == CLSMIDIData::kNotifyTempo)
        UpdateTempo();
    else if (kind == CLSMIDIData::kNotifyOpened && play == PlayStamp())
        OnOpened();
    // An end posted just before the user stopped, or by the song before the one the user
    // started since, must not move on.
    else if (kind == CLSMIDIData::kNotifyEnd && play == PlayStamp() && HasPositionThread())
        FollowPlayOrder();
}

void CLSPlaybackFlow::FollowPlayOrder() {
    Stop(false);
    AfterFall([this] {
        int order = m_settings.PlayType;
        if (order < kPlayNormal || order > kPlayRandom)
            order = kPlayNormal;
        switch (m_playlist.AdvanceByPlayOrder(order, m_random)) {
        case PlayOrderStep::kReplay:
            StartPlayback();
            break;
        case PlayOrderStep::kLoadAndPlay:
            LoadCurrentSong();
            StartPlayback();
            break;
        case PlayOrderStep::kLoad:
        case PlayOrderStep::kNothing:
            LoadCurrentSong();
            break;
        }
    });
}

void CLSPlaybackFlow::Previous() {
    if (Deferred([this] { Previous(); }))
        return;
    Stop(false);
    AfterFall([this] {
        m_playlist.Previous();
        LoadCurrentSong();
        PlayPause();
    });
}

void CLSPlaybackFlow::Next() {
    if (Deferred([this] { Next(); }))
        return;
    Stop(false);
    AfterFall([this] {
        m_playlist.Next();
        LoadCurrentSong();
        PlayPause();
    });
}

void CLSPlaybackFlow::PlayFocused() {
    if (Deferred([this] { PlayFocused(); }))
        return;
    Stop(false);
    AfterFall([this] { PlayPause(); });
}

void CLSPlaybackFlow::DeleteSelected() {
    if (Deferred([this] { DeleteSelected(); }))
        return;
    if (m_playlist.DeleteSelected())
        return; // the current song is still there
    if (m_engine.IsPlaying()) {
        Stop(true);
        LoadCurrentSong();
        PlayPause();
    } else {
        LoadCurrentSong();
    }
}

void CLSPlaybackFlow::PlayRow(int row) {
    if (Deferred([this, row] { PlayRow(row); }))
        return;
    if (row < 0 || static_cast<unsigned>(row) >= m_playlist.Count())
        return;
    Stop(false);
    AfterFall([this, row] {
        // The list may have changed during the fall.
        if (static_cast<unsigned>(row) >= m_playlist.Count())
            return;
        m_playlist.SetCurrent(static_cast<unsigned>(row));
        LoadCurrentSong();
        StartPlayback();
    });
}

void CLSPlaybackFlow::SeekChosen(int position) {
    if (Deferred([this, position] { SeekChosen(position); }))
        return;
    position = std::max(0, position);
    const bool wasPlaying = m_engine.IsPlaying();
    if (wasPlaying)
        Stop(true);
    m_views.seekBar->SetPos(position);
    m_views.timeLabel->SetSeconds(static_cast<unsigned>(position) / 1000);
    if (wasPlaying)
        StartPlayback();
    Tell(Change::Seeked);
}

void CLSPlaybackFlow::SeekTracking(int position) {
    m_views.timeLabel->SetSeconds(static_cast<unsigned>(std::max(0, position)) / 1000);
}

void CLSPlaybackFlow::StepSlider(SliderView& slider, int delta, int minimum, int maximum) {
    slider.SetValue(std::clamp(slider.GetValue() + delta, minimum, maximum));
}

void CLSPlaybackFlow::StepTempo(int delta) {
    StepSlider(*m_views.tempoSlider, delta, kTempoMin, kTempoMax);
    UpdateTempo();
}

void CLSPlaybackFlow::StepVolume(int delta) {
    StepSlider(*m_views.volumeSlider, delta, kVolumeMin, kVolumeMax);
    UpdateVolume();
}

void CLSPlaybackFlow::StepKey(int delta) {
    StepSlider(*m_views.keySlider, delta, kKeyMin, kKeyMax);
    UpdateKey();
}

void CLSPlaybackFlow::UpdateTempo() {
    const int percent = m_views.tempoSlider->GetValue();
    m_views.tempoLabel->SetText(CLSStatusTexts::Tempo(percent, m_engine.GetTempo()));
    m_engine.SetTempoPercent(percent);
    Tell(Change::State);
}

void CLSPlaybackFlow::UpdateVolume() {
    const int percent = m_views.volumeSlider->GetValue();
    m_views.volumeLabel->SetText(CLSStatusTexts::Volume(percent));
    m_engine.SetVolume(percent, percent);
    Tell(Change::State);
}

void CLSPlaybackFlow::SetVolume(int percent) {
    m_views.volumeSlider->SetValue(std::clamp(percent, kVolumeMin, kVolumeMax));
    UpdateVolume();
}

void CLSPlaybackFlow::SetTempo(int percent) {
    m_views.tempoSlider->SetValue(std::clamp(percent, kTempoMin, kTempoMax));
    UpdateTempo();
}

CLSPlaybackFlow::State CLSPlaybackFlow::GetState() const {
    if (!m_engine.IsLoaded())
        return State::NoSong;
    // Started by the shell (or opening its device) and not yet stopped, even if the engine
    // ended on its own.
    if (HasPositionThread() || m_engine.IsPlaying() || m_opening)
        return State::Playing;
    // A pause keeps the position; a stop goes back to 0 (as play/pause tells them apart).
    return GetPosition() > 0 ? State::Paused : State::Stopped;
}

void CLSPlaybackFlow::Tell(Change change) const {
    if (m_listener)
        m_listener(change);
}

void CLSPlaybackFlow::UpdateKey() {
    const int key = m_views.keySlider->GetValue();
    m_views.keyLabel->SetText(CLSStatusTexts::Key(key));
    m_engine.SetKey(key);
}

void CLSPlaybackFlow::ReadInitialVolume(const MidiOutputFactory& openOutput) {
    std::unique_ptr<MidiOutput> output;
    if (openOutput && openOutput(m_settings.MidiDeviceID, output) == MIDIOUT_OK && output &&
        output->Open() == MIDIOUT_OK) {
        std::uint32_t volume = 0;
        const int read = output->GetVolume(volume);
        output->Close();
        if (read == MIDIOUT_OK) {
            const std::uint32_t left = volume & 0xFFFF;
            const std::uint32_t right = volume >> 16;
            // 65279 rather than 65535: a device at full volume on both sides reads as 100.
            const int percent = static_cast<int>((left + right) * 50 / 65279);
            m_views.volumeSlider->SetValue(std::clamp(percent, kVolumeMin, kVolumeMax));
        }
    }
    UpdateVolume();
}

void CLSPlaybackFlow::ApplySettings() {
    SpectrumView& spectrum = *m_views.spectrum;
    spectrum.SetMeterWidth(m_settings.MeterWidth);
    spectrum.SetColors(m_settings.SpectrumColors);
    spectrum.SetDigital(m_settings.GetFlag(CLSDRUVSettings::DigitalSpectrum));
    CLSMIDIData::SetSpectrumType(m_settings.SpectrumType);
    m_engine.SetAdjustVelocity(m_settings.GetFlag(CLSDRUVSettings::AdjustVelocity));
    m_engine.SetNoSendExclusive(m_settings.GetFlag(CLSDRUVSettings::NoSendExclusive));
}

void CLSPlaybackFlow::StartPositionThread() {
    {
        std::lock_guard lock(m_wakeMutex);
        m_stopThread = false;
    }
    m_positionThread = std::thread([this] { PositionLoop(); });
}

void CLSPlaybackFlow::JoinPositionThread() {
    if (!m_positionThread.joinable())
        return;
    {
        std::lock_guard lock(m_wakeMutex);
        m_stopThread = true;
    }
    // Woken rather than left to finish its sleep, so a stop never waits a period.
    m_wake.notify_all();
    m_positionThread.join();
}

void CLSPlaybackFlow::ShowEnginePosition() {
    m_views.seekBar->SetPos(static_cast<int>(m_engine.GetPosition()));
    const int shown = std::max(0, m_views.seekBar->GetPos());
    m_views.timeLabel->SetSeconds(static_cast<unsigned>(shown) / 1000);
}

void CLSPlaybackFlow::PositionLoop() {
    while (m_engine.IsPlaying()) {
        ShowEnginePosition();
        std::unique_lock lock(m_wakeMutex);
        if (m_wake.wait_for(lock, m_period, [this] { return m_stopThread; }))
            return;
    }
}
