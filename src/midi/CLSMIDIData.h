#pragma once

#include "clock/Clock.h"
#include "clock/TickTimer.h"
#include "core/CLSError.h"
#include "core/CLSTString.h"
#include "core/vector.h"
#include "midi/CLSMIDIWordInfo.h"
#include "midi/CLSNodeArena.h"
#include "midi/CLSOutputOpener.h"
#include "midi/MIDITRACKINFO.h"
#include "output/MidiOutput.h"
#include "output/MidiOutputFactory.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <list>
#include <memory>
#include <memory_resource>
#include <optional>
#include <string>
#include <vector>

class CLSKaraokeTexts;

// The song and its player in one object: loading turns a Standard MIDI File into one merged,
// time-ordered event list, the spectrum rows, the song length, the song information and the
// timed word list. The shell owns exactly one for the whole run.
//
// Rules for a window driving it:
// - Threads. Everything but the readers below is called on one thread (the window's). The
//   notifier gets kind 0 (loaded) synchronously inside Load, on the caller's thread; kinds 1
//   (tempo) and 3 (end of song) arrive on the timer thread while playing.
// - The notifier only posts (queues an event to the window) and returns. It must never call
//   back into this object: Stop from the timer thread would wait for that thread itself.
// - SetNotifier only while nothing plays (checked); it stays across SetOwner.
// - Display readers (TakeDueWords, the rows' levels) run on threads of their own; stop them
//   before Load or Clear, which replace what they read.
// - Blocking: Load reads the whole file. Play opens the device, which for the embedded
//   synthesizer may mean loading its SoundFont and waiting for the audio stream to settle
//   (1.5 s and more the first time; start a SynthWarmUp at start-up to take that off the
//   first Play). BeginPlay and FinishPlay split Play for a thread that must not wait: the
//   device opens on a worker, which posts kind 2 (opened) through the notifier. Stop joins
//   the timer thread, so no tick sends after it, then closes the
//   output (an ALSA port drains what it holds). Everything else returns at once.
class CLSMIDIData {
public:
    // One merged event. Times are in ticks since the previous event of the list. Status and
    // meta type decide whether the payload is a block the event owns, so they are set only
    // together with the payload, by the factories.
    class CLSMIDIEvent {
    public:
        int delta = 0;
        // Note-on/off: index into the rows; any other event: the track it came from.
        std::uint16_t row = 0;

        CLSMIDIEvent() noexcept { m_payload.block = nullptr; }
        CLSMIDIEvent(const CLSMIDIEvent&) = delete;
        CLSMIDIEvent& operator=(const CLSMIDIEvent&) = delete;
        CLSMIDIEvent(CLSMIDIEvent&& other) noexcept { Take(other); }
        CLSMIDIEvent& operator=(CLSMIDIEvent&& other) noexcept {
            if (this != &other) {
                FreeBlock();
                Take(other);
            }
            return *this;
        }
        ~CLSMIDIEvent() { FreeBlock(); }

        // Channel and short system messages (data bytes the message lacks are 0). A status
        // that carries a block gets none here: it reads as an empty block.
        static CLSMIDIEvent Message(std::uint8_t status, std::uint8_t data1 = 0,
                                    std::uint8_t data2 = 0) noexcept;
        // The metas of fixed layout (0x00 and 0x59: two bytes, 0x20: one, 0x58: four, 0x2F).
        static CLSMIDIEvent FixedMeta(std::uint8_t metaType,
                                      const std::uint8_t (&data)[4]) noexcept;
        // Meta 0x51 with its microseconds per quarter note.
        static CLSMIDIEvent TempoChange(std::uint32_t tempo) noexcept;
        // 0xF0, 0xF7 and the metas of no fixed layout: the bytes, with `prefix` (-1 for none)
        // in front, as 0xF0 is for exclusive messages. Under a status without a block the first
        // bytes become the data bytes.
        static CLSMIDIEvent WithBlock(std::uint8_t status, std::uint8_t metaType,
                                      const std::uint8_t* bytes, std::size_t count,
                                      int prefix = -1);

        std::uint8_t Status() const noexcept { return m_status; }
        std::uint8_t MetaType() const noexcept { return m_metaType; } // only for status 0xFF

        // 0xF0, 0xF7 and the meta types without a fixed layout carry a block of their own.
        static bool CarriesBlock(std::uint8_t status, std::uint8_t metaType) noexcept {
            if (status == 0xF0 || status == 0xF7)
                return true;
            if (status != 0xFF)
                return false;
            switch (metaType) {
            case 0x00:
            case 0x20:
            case 0x2F:
            case 0x51:
            case 0x58:
            case 0x59:
                return false;
            default:
                return true;
            }
        }
        bool HasBlock() const noexcept { return CarriesBlock(m_status, m_metaType); }

        // Channel and short system messages, and the fixed-layout metas.
        std::uint8_t Data(int index) const noexcept { return m_payload.bytes[index & 3]; }
        std::uint8_t Data1() const noexcept { return m_payload.bytes[0]; }
        std::uint8_t Data2() const noexcept { return m_payload.bytes[1]; }
        // Meta 0x51: microseconds per quarter note.
        std::uint32_t Tempo() const noexcept { return m_payload.tempo; }

        // The block: a 16-bit length, then the bytes (a sysex 0xF0 block starts with 0xF0; a
        // meta block is followed by two zero bytes the length does not count). Null when the
        // event has none.
        const std::uint8_t* Block() const noexcept {
            return HasBlock() ? m_payload.block : nullptr;
        }
        unsigned BlockLength() const noexcept;
        const std::uint8_t* BlockData() const noexcept;
        // Meta texts as a null-terminated string (CP932 bytes).
        const char* BlockText() const noexcept;

    private:
        CLSMIDIEvent(std::uint8_t status, std::uint8_t metaType) noexcept
            : m_status(status), m_metaType(metaType) {
            m_payload.block = nullptr;
        }
        void SetDataBytes(const std::uint8_t* bytes, std::size_t count) noexcept;
        void MakeBlock(const std::uint8_t* bytes, std::size_t count, int prefix);
        void FreeBlock() noexcept;
        void Take(CLSMIDIEvent& other) noexcept;

        std::uint8_t m_status = 0;
        std::uint8_t m_metaType = 0;
        union Payload {
            std::uint8_t bytes[4];
            std::uint32_t tempo;
            std::uint8_t* block;
        } m_payload;
    };

    // One chunk being read; lives only while loading.
    struct CLSSMFTrack {
        std::size_t cursor = 0; // next byte to read (offset into the image)
        std::size_t start = 0;
        std::size_t end = 0;
        std::uint64_t nextTime = 0; // absolute tick of the pending event
        std::uint32_t pendingDelta = 0;
        std::uint16_t number = 0;
        bool exhausted = false;
        std::uint8_t runningStatus = 0x90;
        std::uint8_t programs[16] = {};
    };

    using CLSMIDIEventList = std::pmr::list<CLSMIDIEvent>;
    using CLSMIDIWordList = std::list<CLSMIDIWordInfo>;
    // Notification to the owner window: kind 0 song loaded, 1 tempo played (param: the
    // tempo), 2 the device BeginPlay opens is ready for FinishPlay, 3 end of song. Posted, never
    // waited for (see the rules above).
    using Notifier = std::function<void(int kind, unsigned param)>;

    enum Notification : int {
        kNotifyLoaded = 0,
        kNotifyTempo = 1,
        kNotifyOpened = 2,
        kNotifyEnd = 3
    };
    static constexpr int kDefaultTempo = 500000;
    static constexpr const char* kModule = "MIDIDATA";

    CLSMIDIData();
    ~CLSMIDIData();
    CLSMIDIData(const CLSMIDIData&) = delete;
    CLSMIDIData& operator=(const CLSMIDIData&) = delete;

    // ---- Loading ----
    // Replaces the song by the file (or archive member) at `path`. Read errors are shown with
    // the owner window; an input that is not a Standard MIDI File gives false silently.
    bool Load(const char* path);
    // The same from bytes already in memory; `name` becomes the file name.
    bool LoadFromMemory(const void* data, std::size_t size, const char* name);
    void Clear();
    bool IsLoaded() const noexcept { return !m_events.empty(); }

    // The window read errors are shown with; the notifier set before is kept.
    void SetOwner(OwnerWindow owner) noexcept { m_owner = owner; }
    // Both at once.
    void SetOwner(OwnerWindow owner, Notifier notifier);
    OwnerWindow Owner() const noexcept { return m_owner; }
    // Only while nothing plays; an empty one stops the notifications.
    void SetNotifier(Notifier notifier);
    // Instrument mode for later loads: 0 per track, channel and program; 1 per program; 2 per
    // channel.
    static void SetSpectrumType(int mode) noexcept;
    static int GetSpectrumType() noexcept;

    // ---- The loaded song ----
    const CLSTString& GetFileName() const noexcept { return m_fileName; }
    const CLSTString& GetTitle() const noexcept { return m_title; }
    const CLSTString& GetComposer() const noexcept { return m_composer; }
    const CLSTString& GetLyricist() const noexcept { return m_lyricist; }
    const CLSTString& GetArranger() const noexcept { return m_arranger; }
    const CLSTString& GetArtist() const noexcept { return m_artist; }
    // Soft-karaoke "@I" lines (and "@T" lines after title and performer), one per line.
    const CLSTString& GetInformation() const noexcept { return m_information; }
    // The iconv name the song's texts are shown in (see DisplayText); empty when not loaded.
    const std::string& GetTextEncoding() const noexcept { return m_textEncoding; }
    // Names the encoding of the texts of later loads; empty: decided per song.
    void SetTextEncoding(const std::string& encoding) { m_encodingOverride = encoding; }
    // True when the word list is laid out in pages whose syllables carry durations (XF,
    // soft-karaoke and lyric-event songs): the display wipes them in time.
    bool HasLyricLayout() const noexcept { return m_lyricLayout; }
    unsigned GetLength() const noexcept { return m_length; } // ms
    int GetResolution() const noexcept { return m_resolution; }
    unsigned GetFormat() const noexcept { return m_format; }
    int GetXF() const noexcept { return m_xf; }
    int GetMaxVelocity() const noexcept { return m_maxVelocity; }
    // Every instrument the song selects, sorted, each once.
    const std::vector<MidiOutput::Program>& GetPrograms() const noexcept { return m_songPrograms; }
    MIDITRACKINFOARRAY& GetRows() noexcept { return m_rows; }
    const MIDITRACKINFOARRAY& GetRows() const noexcept { return m_rows; }
    const CLSMIDIEventList& GetEvents() const noexcept { return m_events; }
    const CLSMIDIWordList& GetWords() const noexcept { return m_words; }

    // XF lyric mark-up into the display notation, as loading does it (for tests).
    static CLSTString ConvertXFLyricForTest(const char* lyric, const CLSTString& pending) {
        return ConvertXFLyric(lyric, pending);
    }

private:
    struct LoadState;

    // The whole file or archive member while loading: zero-filled, with 8 spare bytes after
    // the data.
    class ImageBuffer {
    public:
        // False when the memory cannot be had.
        bool Allocate(std::size_t size);
        std::uint8_t* Data() noexcept { return m_bytes.get(); }
        const std::uint8_t* Data() const noexcept { return m_bytes.get(); }
        std::size_t Capacity() const noexcept { return m_capacity; }
        // Number of data bytes actually read into the buffer.
        std::size_t Length() const noexcept { return m_length; }
        void SetLength(std::size_t length) noexcept {
            m_length = length < m_capacity ? length : m_capacity;
        }
        // Takes over a malloc'ed block of `capacity` bytes holding `length` data bytes.
        void Adopt(std::uint8_t* bytes, std::size_t capacity, std::size_t length) noexcept;

    private:
        struct Free {
            void operator()(std::uint8_t* p) const noexcept { std::free(p); }
        };
        std::unique_ptr<std::uint8_t, Free> m_bytes;
        std::size_t m_capacity = 0;
        std::size_t m_length = 0;
    };

    // Loading (CLSMIDIData.cpp, CLSMIDIDataSMF.cpp; the file itself is read by CLSSMFReader).
    bool ReadFileImage(const char* path, ImageBuffer& image);
    // Archive members (CLSMIDIDataArchive.cpp): the path names one, and the member is read.
    static bool IsArchiveMemberPath(const char* path) noexcept;
    bool ReadArchiveMember(const char* path, ImageBuffer& image);
    bool BuildSong(const std::uint8_t* data, std::size_t size, const char* name);
    void HandleMergedEvent(CLSMIDIEvent&& event, std::uint32_t delta, LoadState& state);
    void NoteProgram(const CLSMIDIEvent& event, LoadState& state);

    // Song information and lyrics (CLSMIDIDataWords.cpp; the layout: CLSWordPagePlan and
    // CLSWordSchedule).
    void OnInformationEvent(const CLSMIDIEvent& event, std::uint32_t delta, LoadState& state);
    void OnTempoEvent(std::uint32_t time, std::uint32_t tempo);
    void OnCuePointEvent(const CLSMIDIEvent& event, std::uint32_t delta, LoadState& state);
    void OnLyricEvent(const CLSMIDIEvent& event, std::uint32_t delta, LoadState& state);
    // XF lyric mark-up into the display notation ("\\" escapes, "/" line feed, "^" and "%"
    // full-width space, ">" tab, "(reading)" ruby).
    static CLSTString ConvertXFLyric(const char* lyric, const CLSTString& pending);
    void CompleteWordList(LoadState& state);
    void TakeKaraokeHeaders(const CLSKaraokeTexts& karaoke);
    void DecideTextEncoding(const CLSKaraokeTexts& karaoke);

    // Stops the player; the playback engine (CLSMIDIDataPlayback.cpp) owns it.
    void StopPlayback();

    void Notify(int kind, unsigned param) const;

    static int s_spectrumType;

    OwnerWindow m_owner = nullptr;
    Notifier m_notifier;
    // The timer thread reads the notifier through this, published after it was set.
    std::atomic<const Notifier*> m_publishedNotifier{nullptr};
    CLSTString m_fileName;
    CLSTString m_title;
    CLSTString m_composer;
    CLSTString m_lyricist;
    CLSTString m_arranger;
    CLSTString m_artist;
    CLSTString m_information;
    std::string m_textEncoding;
    std::string m_encodingOverride; // kept across loads
    bool m_lyricLayout = false;
    int m_resolution = 0;
    unsigned m_length = 0; // ms
    CLSMIDIWordList m_words;
    unsigned m_format = 0;
    int m_xf = 0;
    int m_maxVelocity = 1;
    std::vector<MidiOutput::Program> m_songPrograms;
    CLSNodeArena m_eventArena; // declared before the list: the list's nodes live in it
    CLSMIDIEventList m_events{&m_eventArena};
    MIDITRACKINFOARRAY m_rows;

    // ---- Playback engine (CLSMIDIDataPlayback.cpp, CLSMIDIDataDevice.cpp) ----
public:
    // Where playback runs. Tests and the offline renderer put a virtual clock, a manual timer
    // and their own outputs here; the default is the system clock, a timer thread and the
    // platform's devices.
    struct PlaybackSetup {
        const Clock* clock = nullptr; // null: the system clock
        TickTimer* timer = nullptr;   // null: a timer thread of the engine's own
        MidiOutputFactory openOutput; // empty: the platform's devices
        // An extra wait before the output closes; none by default, as the timer's join
        // already means no tick is left to send.
        std::chrono::milliseconds closeWait{0};
    };
    void SetPlaybackSetup(PlaybackSetup setup);

    bool Play(unsigned startMs, int deviceId);
    // Play in two halves: BeginPlay opens the device on a worker and returns at once (false
    // as Play would before opening); once kNotifyOpened arrives, FinishPlay starts the sound
    // from the position BeginPlay was given, or shows the device's error and returns false.
    // Without a notifier nobody would hear of the open, so BeginPlay then plays at once.
    bool BeginPlay(unsigned startMs, int deviceId);
    bool FinishPlay();
    bool IsOpening() const noexcept { return m_opener.IsPending(); }
    // Also cancels an opening, waiting for the worker.
    void Stop();
    bool IsPlaying() const noexcept { return m_playing.load(std::memory_order_acquire); }
    void SetTempoPercent(int percent) noexcept;
    // While playing, the reset and program changes go out with the next tick: the tick alone
    // sends to the device, so the GUI never meets the audio side.
    void SetKey(int key);
    void SetVolume(int left, int right);
    int GetVolumeLeft() const noexcept { return m_volumeLeft; }
    int GetVolumeRight() const noexcept { return m_volumeRight; }
    unsigned GetPosition() const noexcept; // ms of song time
    unsigned GetTempo() const noexcept { return m_currentTempo.load(std::memory_order_relaxed); }
    // Lyric records now due, in order (never tempo records); returns ms to the next one shown.
    // A record due between two ticks is handed over from its due time on, not the next tick.
    int TakeDueWords(CLSMIDIWordInfoArray& out);
    // How long until the next record is due, for a display that waits for it; at most `most`.
    std::chrono::nanoseconds UntilNextWord(std::chrono::nanoseconds most) const noexcept;
    // No record will become due any more in this play (a song without lyrics, or past its
    // last): what is due now is all a display will ever be handed.
    bool WordsOver() const noexcept;
    void SetAdjustVelocity(bool on) noexcept { m_adjustVelocity.store(on); }
    void SetNoSendExclusive(bool on) noexcept { m_noExclusive.store(on); }
    void SetLyricLead(unsigned ms) noexcept { m_lyricLead = ms; }
    // Real time by which the word clock runs ahead of the sound on top of the lyric lead, for
    // the time a display takes to show what it takes: unlike the lead it does not scale with
    // the song's tempo.
    void SetDisplayLead(std::chrono::microseconds lead) noexcept {
        m_displayLead.store(lead.count(), std::memory_order_relaxed);
    }
    // How long after sending the open output's messages are heard; 0 while stopped. The
    // spectrum waits as long before it shows a level, and the word clock already does.
    std::chrono::microseconds GetOutputLatency() const noexcept {
        return std::chrono::microseconds(m_outputLatency.load(std::memory_order_relaxed));
    }

    static constexpr unsigned kTimerPeriodMs = 15;
    static constexpr std::size_t kExclusiveSize = 512;
    static constexpr std::size_t kExclusiveRing = 4;

private:
    using EventCursor = CLSMIDIEventList::const_iterator;
    const Clock& PlaybackClock() const noexcept;
    TickTimer& PlaybackTimer();
    void Tick() noexcept;
    void ApplyKeyChange() noexcept;
    void Chase(std::uint32_t target, bool resume, MonoTime now);
    void ChaseEvent(const CLSMIDIEvent& event, MonoTime now);
    void ChaseWords(std::uint32_t target);
    bool SendEvent(MonoTime due) noexcept;
    void SendNote(const CLSMIDIEvent& event, MonoTime due) noexcept;
    void AdvanceWordClock(std::int64_t countdown, std::int64_t heardLater) noexcept;
    void PublishWordDue(unsigned cursor, std::int64_t countdown, std::int64_t heardLater,
                        MonoTime nowMs, int percent) noexcept;
    struct WordDue {
        unsigned cursor;
        MonoTime at;
    };
    std::optional<WordDue> ReadWordDue() const noexcept;
    unsigned DueGroupEnd(unsigned cursor) const noexcept;
    std::int64_t LatencyUnits(int percent) const noexcept;
    std::int64_t ToUnits(std::int64_t ticks, std::uint32_t tempo) const noexcept;
    MonoTime DueTime(std::int64_t countdown, MonoTime nowMs, int percent) const noexcept;
    bool CanStart() const noexcept;
    void PrepareStart(unsigned startMs);
    bool StartOpened(int result, std::unique_ptr<MidiOutput> output);
    bool TakeDevice(int result, std::unique_ptr<MidiOutput> output);
    void CloseDevice();
    void SendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                   MonoTime due) noexcept;
    void SendExclusive(const std::uint8_t* bytes, std::size_t length, MonoTime due) noexcept;
    void ApplyVolume() noexcept;

    PlaybackSetup m_setup;
    std::unique_ptr<TickTimer> m_ownTimer;
    std::unique_ptr<MidiOutput> m_device; // open exactly while playing
    CLSOutputOpener m_opener;             // joined by Stop, before anything it hands over
    std::atomic<bool> m_playing{false};
    std::atomic<std::int64_t> m_outputLatency{0}; // us
    std::atomic<std::int64_t> m_displayLead{0};   // us
    int m_volumeLeft = 50;
    int m_volumeRight = 50;
    std::unique_ptr<std::uint8_t[]> m_exclusive; // kExclusiveRing buffers of kExclusiveSize
    unsigned m_exclusiveNext = 0;
    unsigned m_lyricLead = 0;
    // Event clock: the tick alone moves it while playing.
    std::int64_t m_eventCountdown = 0;           // 10-us units until the cursor's event
    std::uint32_t m_lastTickTime = 0;            // ms
    std::chrono::nanoseconds m_startFraction{0}; // sub-ms part of the start: due times use it
    std::optional<MonoTime> m_heardEnd;          // all sent: the end is told when this is heard
    EventCursor m_eventCursor;
    std::atomic<std::uint32_t> m_position{0}; // 10-us units of song time
    std::atomic<std::uint32_t> m_currentTempo{0};
    std::atomic<int> m_tempoPercent{100};
    std::atomic<int> m_key{0};
    std::atomic<bool> m_keyChanged{false}; // set by SetKey, carried out by the tick
    int m_tickKey = 0;                     // the key the tick's notes are in
    std::array<std::atomic<std::uint8_t>, 16> m_programs{};
    std::atomic<bool> m_adjustVelocity{false};
    std::atomic<bool> m_noExclusive{false};
    std::atomic_flag m_tickRunning = ATOMIC_FLAG_INIT;
    bool m_resumable = false;        // m_position is where the last Stop left the song
    bool m_startResume = false;      // what PrepareStart chose for StartOpened
    std::uint32_t m_startTarget = 0; // 10-us units
    // Word clock over an index of the word list made at the first Play of a song.
    std::vector<const CLSMIDIWordInfo*> m_wordIndex;
    unsigned m_wordsShownEnd = 0; // one past the last index a display is handed
    std::atomic<unsigned> m_wordCursor{0};
    std::atomic<unsigned> m_displayCursor{0}; // moved by TakeDueWords, reset by Play
    std::atomic<std::int64_t> m_wordCountdown{0};
    std::uint32_t m_wordTempo = kDefaultTempo;
    // The cursor and when its record is due (100-us steps from m_wordEpoch, kNoWordDue for
    // never) in one word, so that a reader between two ticks gets the two of the same tick.
    std::atomic<std::uint64_t> m_wordDue{kNoWordDue};
    std::atomic<std::int64_t> m_wordEpoch{0}; // ns on the playback clock
    static constexpr std::uint64_t kNoWordDue = 0xFFFFFFFFu;
};
