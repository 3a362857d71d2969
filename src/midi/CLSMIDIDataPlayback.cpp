// The playback engine: plays the loaded event list on the output device in real time.
//
// Threads: Play, Stop, SetKey and SetVolume run on the main thread; Tick on the timer thread;
// TakeDueWords on the lyrics thread. The lists never change while playing, and every value
// shared between these threads is an atomic, so the engine takes no lock. While the timer
// runs only the tick sends messages: an output needs just one sending thread.
#include "midi/CLSMIDIData.h"

#include "clock/PeriodicTimer.h"
#include "clock/SystemClock.h"

#include <algorithm>
#include <climits>

namespace {

using std::chrono::duration_cast;
using std::chrono::microseconds;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;

constexpr std::int64_t kNothingDue = 0x7FFFFFFF;
constexpr std::int64_t kWordDueStepNs = 100'000;
constexpr std::uint8_t kTempoMeta = 0x51;
constexpr int kPercussionChannel = 9;

// Multiply, then divide rounding to nearest (half away from zero), in 64 bits.
std::int64_t MulDiv(std::int64_t value, std::int64_t multiplier, std::int64_t divisor) noexcept {
    const std::int64_t product = value * multiplier;
    const std::int64_t half = divisor / 2;
    return product >= 0 ? (product + half) / divisor : -((-product + half) / divisor);
}

// The tick counts in whole milliseconds of the clock, as a 32-bit counter does.
MonoTime FloorToMs(MonoTime time) noexcept {
    return std::chrono::floor<milliseconds>(time);
}

std::uint32_t MsCounter(MonoTime wholeMs) noexcept {
    return static_cast<std::uint32_t>(wholeMs.time_since_epoch() / milliseconds(1));
}

} // namespace

void CLSMIDIData::SetPlaybackSetup(PlaybackSetup setup) {
    Stop();
    m_setup = std::move(setup);
    m_ownTimer.reset();
}

const Clock& CLSMIDIData::PlaybackClock() const noexcept {
    return m_setup.clock ? *m_setup.clock : SystemClock::Instance();
}

TickTimer& CLSMIDIData::PlaybackTimer() {
    if (m_setup.timer)
        return *m_setup.timer;
    if (!m_ownTimer)
        m_ownTimer = std::make_unique<PeriodicTimer>();
    return *m_ownTimer;
}

std::int64_t CLSMIDIData::ToUnits(std::int64_t ticks, std::uint32_t tempo) const noexcept {
    return MulDiv(ticks, tempo, static_cast<std::int64_t>(m_resolution) * 10);
}

bool CLSMIDIData::CanStart() const noexcept {
    return IsLoaded() && !IsOpening() && !IsPlaying();
}

bool CLSMIDIData::Play(unsigned startMs, int deviceId) {
    if (!CanStart())
        return IsPlaying();
    PrepareStart(startMs);
    std::unique_ptr<MidiOutput> output;
    const int result = CLSOutputOpener::Open(m_setup.openOutput, deviceId, m_songPrograms, output);
    return StartOpened(result, std::move(output));
}

bool CLSMIDIData::BeginPlay(unsigned startMs, int deviceId) {
    if (!m_publishedNotifier.load(std::memory_order_acquire))
        return Play(startMs, deviceId);
    if (!CanStart())
        return IsPlaying();
    PrepareStart(startMs);
    if (!m_opener.Start(m_setup.openOutput, deviceId, m_songPrograms,
                        [this] { Notify(kNotifyOpened, 0); })) {
        CLSError(0, kModule, __LINE__).Show(m_owner);
        return false;
    }
    return true;
}

bool CLSMIDIData::FinishPlay() {
    // A notice from an opening cancelled since finds nothing, or another one still running.
    if (!m_opener.IsFinished())
        return false;
    std::unique_ptr<MidiOutput> output;
    const int result = m_opener.Take(output);
    return StartOpened(result, std::move(output));
}

void CLSMIDIData::PrepareStart(unsigned startMs) {
    // Resuming where the last Stop left off continues from the exact song time, so an event
    // sent in the last tick before the stop is not sent a second time.
    const bool resume = m_resumable && startMs == GetPosition();
    const std::uint32_t target = resume ? m_position.load() : startMs * 100u;
    m_resumable = false;
    m_startResume = resume;
    m_startTarget = target;

    for (auto& program : m_programs)
        program.store(0, std::memory_order_relaxed);
    // The index lives until the song changes, so resuming never moves it under a reader.
    if (m_wordIndex.empty()) {
        for (const CLSMIDIWordInfo& word : m_words)
            m_wordIndex.push_back(&word);
        // Past the last record shown (tempo records never are, nor is the closing one) a
        // display has nothing left to wait for.
        m_wordsShownEnd = 0;
        for (std::size_t i = 0; i + 1 < m_wordIndex.size(); ++i) {
            if (m_wordIndex[i]->kind != CLSMIDIWordInfo::kTempo)
                m_wordsShownEnd = static_cast<unsigned>(i + 1);
        }
    }
    m_displayCursor.store(0, std::memory_order_relaxed);
    m_wordTempo = kDefaultTempo;
    m_currentTempo.store(kDefaultTempo, std::memory_order_relaxed);
    m_position.store(target, std::memory_order_relaxed);
}

bool CLSMIDIData::StartOpened(int result, std::unique_ptr<MidiOutput> output) {
    if (!TakeDevice(result, std::move(output)))
        return false;
    const bool resume = m_startResume;
    const std::uint32_t target = m_startTarget;
    // The replay below sends the programs with the key already in force, including a key
    // changed while the device was opening.
    m_keyChanged.store(false, std::memory_order_relaxed);
    m_tickKey = m_key.load(std::memory_order_relaxed);
    // The clock starts once the device is open: a synthesizer that takes a while to load its
    // instruments must not make the song's first notes come out in one burst.
    const MonoTime start = PlaybackClock().Now();
    const MonoTime startMsPoint = FloorToMs(start);
    m_lastTickTime = MsCounter(startMsPoint);
    m_startFraction = start - startMsPoint;

    Chase(target, resume, start);
    ChaseWords(target);
    m_wordEpoch.store(duration_cast<nanoseconds>(start.time_since_epoch()).count(),
                      std::memory_order_relaxed);
    const int percent = m_tempoPercent.load(std::memory_order_relaxed);
    PublishWordDue(m_wordCursor.load(std::memory_order_relaxed),
                   m_wordCountdown.load(std::memory_order_relaxed), LatencyUnits(percent),
                   startMsPoint, percent);

    if (!PlaybackTimer().Start(milliseconds(kTimerPeriodMs), [this] { Tick(); })) {
        CLSError(0, kModule, __LINE__).Show(m_owner);
        CloseDevice();
        return false;
    }
    return true;
}

void CLSMIDIData::Chase(std::uint32_t target, bool resume, MonoTime now) {
    std::uint32_t tempo = kDefaultTempo;
    std::int64_t songTime = 0;
    auto it = m_events.cbegin();
    for (; it != m_events.cend(); ++it) {
        songTime += ToUnits(it->delta, tempo);
        if (resume ? songTime > target : songTime >= target)
            break;
        if (it->Status() == 0xFF && it->MetaType() == kTempoMeta)
            tempo = it->Tempo();
        ChaseEvent(*it, now);
    }
    m_currentTempo.store(tempo, std::memory_order_relaxed);
    m_eventCursor = it;
    m_eventCountdown = songTime - target;
    m_heardEnd.reset();
}

void CLSMIDIData::ChaseEvent(const CLSMIDIEvent& event, MonoTime now) {
    const std::uint8_t status = event.Status();
    if (status == 0xF0 || status == 0xF7) {
        if (!m_noExclusive.load(std::memory_order_relaxed))
            SendExclusive(event.BlockData(), event.BlockLength(), now);
        return;
    }
    if (status == 0xFF)
        return;
    switch (status & 0xF0) {
    case 0x90: {
        MIDITRACKINFO& row = m_rows[event.row];
        row.sounding.store(row.sounding.load(std::memory_order_relaxed) + 1,
                           std::memory_order_relaxed);
        row.level.store(event.Data2(), std::memory_order_relaxed);
        return;
    }
    case 0x80: {
        MIDITRACKINFO& row = m_rows[event.row];
        const int sounding = row.sounding.load(std::memory_order_relaxed) - 1;
        row.sounding.store(std::max(sounding, 0), std::memory_order_relaxed);
        if (sounding <= 0)
            row.level.store(0, std::memory_order_relaxed);
        return;
    }
    case 0xC0:
        m_programs[status & 0x0F].store(event.Data1(), std::memory_order_relaxed);
        break;
    default:
        break;
    }
    SendShort(status, event.Data1(), event.Data2(), now);
}

void CLSMIDIData::ChaseWords(std::uint32_t target) {
    const unsigned count = static_cast<unsigned>(m_wordIndex.size());
    std::uint32_t tempo = kDefaultTempo;
    std::int64_t wordTime = 0;
    unsigned i = 0;
    for (; i < count; ++i) {
        wordTime += ToUnits(m_wordIndex[i]->time, tempo);
        if (wordTime >= target)
            break;
        if (m_wordIndex[i]->kind == CLSMIDIWordInfo::kTempo)
            tempo = static_cast<std::uint32_t>(m_wordIndex[i]->duration);
    }
    m_wordTempo = tempo;
    if (i == count) {
        m_wordCursor.store(count == 0 ? 0 : count - 1, std::memory_order_release);
        m_wordCountdown.store(kNothingDue, std::memory_order_relaxed);
        return;
    }
    // The lead is taken in ticks at 120 beats per minute, as the setting has always meant.
    const std::int64_t lead =
        MulDiv(static_cast<std::int64_t>(m_lyricLead) * m_resolution, 100000, kDefaultTempo);
    m_wordCountdown.store(wordTime - target - lead, std::memory_order_relaxed);
    m_wordCursor.store(i, std::memory_order_release);
}

MonoTime CLSMIDIData::DueTime(std::int64_t countdown, MonoTime nowMs, int percent) const noexcept {
    return nowMs + m_startFraction + nanoseconds(countdown * 1000000 / percent);
}

void CLSMIDIData::Tick() noexcept {
    if (m_tickRunning.test_and_set(std::memory_order_acquire))
        return;
    const MonoTime nowMs = FloorToMs(PlaybackClock().Now());
    const std::uint32_t now = MsCounter(nowMs);
    const int percent = m_tempoPercent.load(std::memory_order_relaxed);
    const std::int64_t elapsed = static_cast<std::int64_t>(now - m_lastTickTime) * percent;
    m_eventCountdown -= elapsed;
    std::int64_t wordCountdown = m_wordCountdown.load(std::memory_order_relaxed) - elapsed;

    while (m_eventCountdown <= 0) {
        if (!SendEvent(DueTime(m_eventCountdown, nowMs, percent))) {
            m_eventCountdown = kNothingDue;
            // The last notes are heard the output's latency after they are sent: the song ends
            // then, or closing the output would cut them off unheard.
            m_heardEnd = nowMs + microseconds(m_outputLatency.load(std::memory_order_relaxed));
            break;
        }
        if (m_eventCursor != m_events.cend())
            m_eventCountdown += ToUnits(m_eventCursor->delta, GetTempo());
    }
    if (m_heardEnd && nowMs >= *m_heardEnd) {
        m_heardEnd.reset();
        m_wordCountdown.store(wordCountdown, std::memory_order_relaxed);
        m_device->Flush();
        Notify(kNotifyEnd, 0);
        ApplyKeyChange();
        m_tickRunning.clear(std::memory_order_release);
        return;
    }
    AdvanceWordClock(wordCountdown, LatencyUnits(percent));
    PublishWordDue(m_wordCursor.load(std::memory_order_relaxed),
                   m_wordCountdown.load(std::memory_order_relaxed), LatencyUnits(percent), nowMs,
                   percent);
    if (!m_heardEnd) // the song's time stops at its end while the last notes are heard
        m_position.store(m_position.load(std::memory_order_relaxed) +
                             static_cast<std::uint32_t>(elapsed),
                         std::memory_order_relaxed);
    m_lastTickTime = now;
    ApplyKeyChange();
    m_device->Flush();
    m_tickRunning.clear(std::memory_order_release);
}

// How long after sending the word clock's records are due (the output's latency less the
// display lead, which may leave it negative) in song units at the given tempo percentage.
std::int64_t CLSMIDIData::LatencyUnits(int percent) const noexcept {
    const std::int64_t us = m_outputLatency.load(std::memory_order_relaxed) -
                            m_displayLead.load(std::memory_order_relaxed);
    return us * percent / 1000;
}

// A record's countdown reaches 0 when its time (less the lyric lead) is sent; it is due once
// that is heard, `heardLater` units on, so the lead before the sound stays what was asked.
void CLSMIDIData::AdvanceWordClock(std::int64_t countdown, std::int64_t heardLater) noexcept {
    const unsigned count = static_cast<unsigned>(m_wordIndex.size());
    unsigned cursor = m_wordCursor.load(std::memory_order_relaxed);
    while (countdown <= -heardLater && count > 0) {
        if (m_wordIndex[cursor]->kind == CLSMIDIWordInfo::kTempo)
            m_wordTempo = static_cast<std::uint32_t>(m_wordIndex[cursor]->duration);
        if (++cursor >= count) {
            // The last record stands in place of the end and never becomes due.
            cursor = count - 1;
            countdown = kNothingDue;
            break;
        }
        countdown += ToUnits(m_wordIndex[cursor]->time, m_wordTempo);
    }
    m_wordCountdown.store(countdown, std::memory_order_relaxed);
    m_wordCursor.store(cursor, std::memory_order_release);
}

// When the cursor's record is due, for the lyrics display to take it then rather than at the
// next tick: the countdown runs down to -heardLater.
void CLSMIDIData::PublishWordDue(unsigned cursor, std::int64_t countdown, std::int64_t heardLater,
                                 MonoTime nowMs, int percent) noexcept {
    std::uint64_t steps = kNoWordDue;
    if (countdown != kNothingDue && !m_wordIndex.empty()) {
        const MonoTime at = DueTime(countdown + heardLater, nowMs, percent);
        const std::int64_t fromEpoch = duration_cast<nanoseconds>(at.time_since_epoch()).count() -
                                       m_wordEpoch.load(std::memory_order_relaxed);
        steps = static_cast<std::uint64_t>(
            std::clamp<std::int64_t>(fromEpoch / kWordDueStepNs, 0, kNoWordDue - 1));
    }
    m_wordDue.store(std::uint64_t{cursor} << 32 | steps, std::memory_order_release);
}

std::optional<CLSMIDIData::WordDue> CLSMIDIData::ReadWordDue() const noexcept {
    const std::uint64_t word = m_wordDue.load(std::memory_order_acquire);
    const std::uint64_t steps = word & kNoWordDue;
    if (steps == kNoWordDue)
        return std::nullopt;
    const std::int64_t ns = m_wordEpoch.load(std::memory_order_relaxed) +
                            static_cast<std::int64_t>(steps) * kWordDueStepNs;
    return WordDue{static_cast<unsigned>(word >> 32),
                   MonoTime(std::chrono::duration_cast<MonoTime::duration>(nanoseconds(ns)))};
}

// The records due with the cursor's: those after it at the same time. The last record stands
// in place of the end and is never due.
unsigned CLSMIDIData::DueGroupEnd(unsigned cursor) const noexcept {
    const unsigned last = static_cast<unsigned>(m_wordIndex.size()) - 1;
    unsigned end = cursor + 1;
    while (end < last && m_wordIndex[end]->time == 0)
        ++end;
    return std::min(end, last);
}

std::chrono::nanoseconds CLSMIDIData::UntilNextWord(nanoseconds most) const noexcept {
    const std::optional<WordDue> due = ReadWordDue();
    if (!due || due->cursor < m_displayCursor.load(std::memory_order_relaxed))
        return most;
    return std::clamp<nanoseconds>(due->at - PlaybackClock().Now(), nanoseconds(0), most);
}

// Every record before the cursor is due; the cursor never passes the closing record.
bool CLSMIDIData::WordsOver() const noexcept {
    return m_wordCursor.load(std::memory_order_acquire) >= m_wordsShownEnd;
}

bool CLSMIDIData::SendEvent(MonoTime due) noexcept {
    if (m_eventCursor == m_events.cend())
        return false;
    const CLSMIDIEvent& event = *m_eventCursor;
    const std::uint8_t status = event.Status();
    if (status == 0xF0 || status == 0xF7) {
        if (!m_noExclusive.load(std::memory_order_relaxed))
            SendExclusive(event.BlockData(), event.BlockLength(), due);
    } else if (status == 0xFF) {
        if (event.MetaType() == kTempoMeta) {
            m_currentTempo.store(event.Tempo(), std::memory_order_relaxed);
            Notify(kNotifyTempo, event.Tempo());
        }
    } else if ((status & 0xE0) == 0x80) {
        SendNote(event, due);
    } else {
        if ((status & 0xF0) == 0xC0)
            m_programs[status & 0x0F].store(event.Data1(), std::memory_order_relaxed);
        SendShort(status, event.Data1(), event.Data2(), due);
    }
    ++m_eventCursor;
    return true;
}

void CLSMIDIData::SendNote(const CLSMIDIEvent& event, MonoTime due) noexcept {
    MIDITRACKINFO& row = m_rows[event.row];
    int velocity = event.Data2();
    const int sounding = row.sounding.load(std::memory_order_relaxed);
    if ((event.Status() & 0xF0) == 0x90) {
        if (row.muted.load(std::memory_order_relaxed))
            return;
        if (m_adjustVelocity.load(std::memory_order_relaxed))
            velocity = velocity * 127 / m_maxVelocity;
        velocity = std::min(velocity, 127);
        row.sounding.store(sounding + 1, std::memory_order_relaxed);
        row.noteDue.store(std::chrono::duration_cast<nanoseconds>(due.time_since_epoch()).count(),
                          std::memory_order_relaxed);
        row.level.store(velocity, std::memory_order_release);
    } else if (sounding > 0) {
        row.sounding.store(sounding - 1, std::memory_order_relaxed);
    }
    int note = event.Data1();
    if ((event.Status() & 0x0F) != kPercussionChannel) {
        // A note moved out of range is dropped, and so is its note-off: nothing can hang.
        note += m_tickKey;
        if (note < 0 || note > 127)
            return;
    }
    SendShort(event.Status(), static_cast<std::uint8_t>(note), static_cast<std::uint8_t>(velocity),
              due);
}

void CLSMIDIData::Stop() {
    m_opener.Cancel();
    if (!IsPlaying())
        return;
    PlaybackTimer().Stop();
    m_wordDue.store(kNoWordDue, std::memory_order_relaxed);
    CloseDevice();
    for (MIDITRACKINFO& row : m_rows) {
        row.sounding.store(0, std::memory_order_relaxed);
        row.level.store(0, std::memory_order_relaxed);
    }
    m_resumable = true;
}

void CLSMIDIData::StopPlayback() {
    Stop();
    // The lists are about to change: nothing of the old song may be handed out.
    m_resumable = false;
    m_wordIndex.clear();
    m_wordCursor.store(0, std::memory_order_relaxed);
    m_displayCursor.store(0, std::memory_order_relaxed);
    m_position.store(0, std::memory_order_relaxed);
}

void CLSMIDIData::SetTempoPercent(int percent) noexcept {
    m_tempoPercent.store(percent <= 0 || percent > 1000 ? 100 : percent, std::memory_order_relaxed);
}

void CLSMIDIData::SetKey(int key) {
    m_key.store(key, std::memory_order_relaxed);
    if (IsPlaying())
        m_keyChanged.store(true, std::memory_order_release);
}

// At the end of a tick: its notes went out in the old key and keep their exact times, and
// every note after the reset is in the new key.
void CLSMIDIData::ApplyKeyChange() noexcept {
    if (!m_keyChanged.exchange(false, std::memory_order_acquire))
        return;
    m_tickKey = m_key.load(std::memory_order_relaxed);
    m_device->Reset();
    const MonoTime now = PlaybackClock().Now();
    for (int channel = 0; channel < 16; ++channel)
        SendShort(static_cast<std::uint8_t>(0xC0 | channel),
                  m_programs[channel].load(std::memory_order_relaxed), 0, now);
}

unsigned CLSMIDIData::GetPosition() const noexcept {
    return m_position.load(std::memory_order_relaxed) / 100;
}

int CLSMIDIData::TakeDueWords(CLSMIDIWordInfoArray& out) {
    out.clear();
    const unsigned count = static_cast<unsigned>(m_wordIndex.size());
    if (count == 0)
        return 0;
    const unsigned cursor = m_wordCursor.load(std::memory_order_acquire);
    const std::optional<WordDue> due = ReadWordDue();
    const MonoTime now = PlaybackClock().Now();
    const bool cursorDue = due && due->cursor == cursor && due->at <= now;
    const unsigned end = cursorDue ? DueGroupEnd(cursor) : cursor;
    unsigned display = m_displayCursor.load(std::memory_order_relaxed);
    for (; display < end; ++display) {
        if (m_wordIndex[display]->kind != CLSMIDIWordInfo::kTempo)
            out.push_back(*m_wordIndex[display]);
    }
    m_displayCursor.store(display, std::memory_order_relaxed);
    // The next one shown: past what was taken, page words and line clears.
    std::int64_t ticks = 0;
    for (unsigned i = cursor; i + 1 < count; ++i) {
        const int kind = m_wordIndex[i]->kind;
        if (i >= display && kind != CLSMIDIWordInfo::kPageWord &&
            kind != CLSMIDIWordInfo::kClearLine)
            break;
        ticks += m_wordIndex[i + 1]->time;
    }
    const int percent = m_tempoPercent.load(std::memory_order_relaxed);
    // Song time until the cursor's record is due: counted from now once it was taken early,
    // else from the last tick as the countdown stands.
    const std::int64_t untilCursor =
        display > cursor && due && due->cursor == cursor
            ? std::chrono::duration_cast<std::chrono::microseconds>(due->at - now).count() *
                  percent / 100000
            : (m_wordCountdown.load(std::memory_order_relaxed) + LatencyUnits(percent)) / 100;
    const std::int64_t ms =
        MulDiv(ticks, GetTempo(), static_cast<std::int64_t>(m_resolution) * 1000) + untilCursor;
    return static_cast<int>(std::clamp<std::int64_t>(ms, INT_MIN, INT_MAX));
}
