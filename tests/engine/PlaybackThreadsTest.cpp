// The engine with its real timer thread while the other threads of the player read what it
// publishes and the main thread changes tempo, key, volume and mutes. Run under
// ThreadSanitizer by `make test-tsan`.
#include "clock/SystemClock.h"
#include "engine/EngineHarness.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <thread>

namespace {

using namespace std::chrono_literals;

class PlaybackThreads : public ::testing::Test {
protected:
    PlaybackThreads() : output(SystemClock::Instance()) {
        CLSMIDIData::PlaybackSetup setup;
        setup.closeWait = 20ms;
        setup.openOutput = [this](int, std::unique_ptr<MidiOutput>& out) {
            out = std::make_unique<ForwardingOutput>(output);
            return MIDIOUT_OK;
        };
        song.SetPlaybackSetup(std::move(setup));
        song.SetOwner(nullptr, [this](int kind, unsigned) {
            std::lock_guard lock(mutex);
            if (kind == CLSMIDIData::kNotifyEnd)
                ended = true;
            else if (kind == CLSMIDIData::kNotifyTempo)
                ++tempoChanges;
            wake.notify_all();
        });
    }

    // Sixteen channels with a note every 5 ms of song for `ms`, tempo changes and lyrics.
    void LoadDenseSong(unsigned ms) {
        SongBuilder b(100);
        const unsigned ticks = ms / 5;
        for (int channel = 0; channel < 16; ++channel) {
            b.Track(static_cast<unsigned>(channel));
            b.Program(0, channel, channel * 8);
            for (unsigned t = 0; t < ticks; t += 2)
                b.NoteOn(t, channel, 40 + channel, 100).NoteOff(t + 1, channel, 40 + channel);
        }
        b.Track(16);
        for (unsigned t = 0; t < ticks; t += 20)
            b.Tempo(t, 500000 - t * 100).Lyric(t + 3, "la");
        const std::vector<std::uint8_t> bytes = b.Bytes();
        ASSERT_TRUE(song.LoadFromMemory(bytes.data(), bytes.size(), "dense.mid"));
    }

    bool WaitForEnd(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex);
        return wake.wait_for(lock, limit, [this] { return ended; });
    }

    bool Ended() {
        std::lock_guard lock(mutex);
        return ended;
    }

    MemoryMidiOutput output;
    CLSMIDIData song;
    std::mutex mutex;
    std::condition_variable wake;
    bool ended = false;
    int tempoChanges = 0;
};

// What the shell's position, spectrum and lyrics threads do while a song plays.
class Readers {
public:
    explicit Readers(CLSMIDIData& song) : m_song(song) {
        m_threads.emplace_back([this] {
            while (!m_stop.load()) {
                m_maxPosition = std::max(m_maxPosition, m_song.GetPosition());
                (void)m_song.GetTempo();
                std::this_thread::sleep_for(1ms);
            }
        });
        m_threads.emplace_back([this] {
            while (!m_stop.load()) {
                for (MIDITRACKINFO& row : m_song.GetRows()) {
                    const int level = row.level.load(std::memory_order_relaxed);
                    row.level.store(level > 4 ? level - 4 : 0, std::memory_order_relaxed);
                    (void)row.sounding.load(std::memory_order_relaxed);
                }
                std::this_thread::sleep_for(1ms);
            }
        });
        m_threads.emplace_back([this] {
            CLSMIDIWordInfoArray due;
            while (!m_stop.load()) {
                (void)m_song.TakeDueWords(due);
                m_words += due.size();
                std::this_thread::sleep_for(1ms);
            }
        });
    }
    ~Readers() { Join(); }

    void Join() {
        m_stop = true;
        for (std::thread& thread : m_threads) {
            if (thread.joinable())
                thread.join();
        }
    }
    unsigned MaxPosition() const { return m_maxPosition; }
    std::size_t Words() const { return m_words; }

private:
    CLSMIDIData& m_song;
    std::atomic<bool> m_stop{false};
    std::vector<std::thread> m_threads;
    unsigned m_maxPosition = 0;
    std::size_t m_words = 0;
};

TEST_F(PlaybackThreads, PlaysToTheEndWhileOthersReadAndControl) {
    LoadDenseSong(1000);
    song.SetTempoPercent(400);
    ASSERT_TRUE(song.Play(0, -1));
    Readers readers(song);
    for (int i = 0; i < 20 && !Ended(); ++i) {
        song.SetKey(i % 3);
        song.SetVolume(i * 5, 100 - i * 5);
        song.SetTempoPercent(300 + i * 10);
        song.GetRows()[static_cast<unsigned>(i) % song.GetRows().size()].muted = (i % 2) == 0;
        std::this_thread::sleep_for(5ms);
    }
    EXPECT_TRUE(WaitForEnd(5s));
    song.Stop();
    readers.Join();
    EXPECT_FALSE(song.IsPlaying());
    EXPECT_GT(readers.MaxPosition(), 900u);
    EXPECT_GT(readers.Words(), 0u);
    EXPECT_GT(tempoChanges, 0);
    EXPECT_FALSE(output.IsOpen());
}

TEST_F(PlaybackThreads, PauseAndResumeRepeatedly) {
    LoadDenseSong(2000);
    song.SetTempoPercent(250);
    ASSERT_TRUE(song.Play(0, -1));
    Readers readers(song);
    for (int i = 0; i < 10; ++i) {
        std::this_thread::sleep_for(10ms);
        song.Stop();
        ASSERT_TRUE(song.Play(song.GetPosition(), -1));
    }
    song.Stop();
    readers.Join();
    EXPECT_EQ(output.OpenCount(), 11);
    EXPECT_EQ(output.CloseCount(), 11);
}

TEST_F(PlaybackThreads, ANotifierSetBetweenPlaysIsTheOneTheTimerCalls) {
    LoadDenseSong(200);
    song.SetTempoPercent(400);
    for (int round = 0; round < 3; ++round) {
        std::atomic<int> ends{0};
        song.SetNotifier([&ends](int kind, unsigned) {
            if (kind == CLSMIDIData::kNotifyEnd)
                ends.fetch_add(1);
        });
        ASSERT_TRUE(song.Play(0, -1));
        for (int i = 0; i < 400 && ends.load() == 0; ++i)
            std::this_thread::sleep_for(5ms);
        song.Stop();
        EXPECT_EQ(ends.load(), 1) << "round " << round;
    }
    song.SetNotifier({});
}

// Stands for the audio side: notes which thread hands it messages once armed.
class SenderWatch final : public MidiOutput {
public:
    SenderWatch(MidiOutput& target, std::thread::id gui) : m_target(target), m_gui(gui) {}
    void Arm() { m_armed.store(true); }
    int FromGui() const { return m_fromGui.load(); }

    int Open() override { return m_target.Open(); }
    int Reset() override {
        Note();
        return m_target.Reset();
    }
    int ShortMsg(std::uint8_t s, std::uint8_t d1, std::uint8_t d2, MonoTime due) override {
        Note();
        return m_target.ShortMsg(s, d1, d2, due);
    }
    int LongMsg(const std::uint8_t* bytes, std::size_t length, MonoTime due) override {
        Note();
        return m_target.LongMsg(bytes, length, due);
    }
    int SetVolume(std::uint32_t volume) override { return m_target.SetVolume(volume); }
    int GetVolume(std::uint32_t& volume) override { return m_target.GetVolume(volume); }
    int Close() override { return m_target.Close(); }

private:
    void Note() {
        if (m_armed.load() && std::this_thread::get_id() == m_gui)
            m_fromGui.fetch_add(1);
    }

    MidiOutput& m_target;
    std::thread::id m_gui;
    std::atomic<bool> m_armed{false};
    std::atomic<int> m_fromGui{0};
};

// The output has one sending thread, so the audio side needs no lock: a key change asked for
// by a GUI that then stalls (holding its own lock) is carried out by the tick.
TEST_F(PlaybackThreads, AKeyChangeIsSentByTheTickWhileTheGuiStalls) {
    SenderWatch* watch = nullptr;
    CLSMIDIData::PlaybackSetup setup;
    setup.closeWait = 20ms;
    setup.openOutput = [this, &watch](int, std::unique_ptr<MidiOutput>& out) {
        auto made = std::make_unique<SenderWatch>(output, std::this_thread::get_id());
        watch = made.get();
        out = std::move(made);
        return MIDIOUT_OK;
    };
    song.SetPlaybackSetup(std::move(setup));
    LoadDenseSong(3000);
    ASSERT_TRUE(song.Play(0, -1));
    std::this_thread::sleep_for(50ms); // past the song's own program changes
    watch->Arm();
    std::mutex guiLock;
    std::size_t resets = 0;
    {
        std::lock_guard held(guiLock);
        output.ClearMessages();
        song.SetKey(2);
        for (int i = 0; i < 200 && resets == 0; ++i) {
            std::this_thread::sleep_for(5ms);
            for (const RecordedMidiMessage& m : output.Messages())
                resets += m.kind == RecordedMidiMessage::Kind::Reset ? 1 : 0;
        }
    }
    const auto messages = output.Messages();
    const int fromGui = watch->FromGui(); // the engine drops the output at Stop
    song.Stop();
    EXPECT_EQ(fromGui, 0);
    ASSERT_EQ(resets, 1u);
    const auto reset = std::find_if(messages.begin(), messages.end(), [](const auto& m) {
        return m.kind == RecordedMidiMessage::Kind::Reset;
    });
    int programs = 0;
    for (auto it = reset; it != messages.end(); ++it)
        programs += it->bytes.size() == 2 && (it->bytes[0] & 0xF0) == 0xC0 ? 1 : 0;
    EXPECT_EQ(programs, 16);
}

} // namespace
