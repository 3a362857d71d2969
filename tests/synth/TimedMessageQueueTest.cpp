#include "synth/TimedMessageQueue.h"
#include "core/MidiOutError.h"

#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using Kind = TimedMessageQueue::Kind;

namespace {

const MonoTime t0(1s);

struct Taken {
    Kind kind;
    std::vector<std::uint8_t> bytes;
    MonoTime at;
};

std::vector<Taken> TakeAll(TimedMessageQueue& queue) {
    std::vector<Taken> taken;
    while (queue.TakeNext([&](const TimedMessageQueue::View& view) {
        taken.push_back({view.kind, {view.bytes, view.bytes + view.length}, view.at});
    })) {
    }
    return taken;
}

} // namespace

TEST(TimedMessageQueue, DeliversInSendingOrderEvenWhenALaterMessageWasDueEarlier) {
    TimedMessageQueue queue(8, 2);
    const std::uint8_t on[] = {0x90, 60, 100};
    const std::uint8_t program[] = {0xC0, 5};
    ASSERT_EQ(queue.Push(Kind::Short, on, 3, t0 + 10ms), MIDIOUT_OK);
    ASSERT_EQ(queue.Push(Kind::Reset, nullptr, 0, t0 + 5ms), MIDIOUT_OK);
    ASSERT_EQ(queue.Push(Kind::Short, program, 2, t0 + 20ms), MIDIOUT_OK);

    const std::vector<Taken> taken = TakeAll(queue);
    ASSERT_EQ(taken.size(), 3u);
    EXPECT_EQ(taken[0].bytes, std::vector<std::uint8_t>({0x90, 60, 100}));
    EXPECT_EQ(taken[1].kind, Kind::Reset);
    EXPECT_EQ(taken[1].at, t0 + 10ms); // held back behind the note it was sent after
    EXPECT_EQ(taken[2].bytes, std::vector<std::uint8_t>({0xC0, 5}));
    EXPECT_EQ(taken[2].at, t0 + 20ms);
}

TEST(TimedMessageQueue, RefusesWhenFullWithoutLosingWhatItHolds) {
    TimedMessageQueue queue(2, 1);
    const std::uint8_t off[] = {0x80, 60, 0};
    EXPECT_EQ(queue.Push(Kind::Short, off, 3, t0), MIDIOUT_OK);
    EXPECT_EQ(queue.Push(Kind::Short, off, 3, t0), MIDIOUT_OK);
    EXPECT_EQ(queue.Push(Kind::Short, off, 3, t0), MIDIOUT_NOTREADY);
    EXPECT_EQ(TakeAll(queue).size(), 2u);
    EXPECT_EQ(queue.Push(Kind::Short, off, 3, t0), MIDIOUT_OK); // wraps around the ring
    EXPECT_EQ(queue.Size(), 1u);
}

TEST(TimedMessageQueue, KeepsEachExclusiveMessageIntactUntilTaken) {
    TimedMessageQueue queue(8, 2);
    std::vector<std::uint8_t> first(512, 0x11), second(100, 0x22), third(3, 0x33);
    first.front() = second.front() = third.front() = 0xF0;
    ASSERT_EQ(queue.Push(Kind::Long, first.data(), first.size(), t0), MIDIOUT_OK);
    ASSERT_EQ(queue.Push(Kind::Long, second.data(), second.size(), t0), MIDIOUT_OK);
    EXPECT_EQ(queue.Push(Kind::Long, third.data(), third.size(), t0), MIDIOUT_STILLPLAYING);

    std::vector<std::uint8_t> seen;
    queue.TakeNext(
        [&](const TimedMessageQueue::View& v) { seen.assign(v.bytes, v.bytes + v.length); });
    EXPECT_EQ(seen, first);
    // The freed slot takes the next message; the one still queued is untouched.
    ASSERT_EQ(queue.Push(Kind::Long, third.data(), third.size(), t0), MIDIOUT_OK);
    const std::vector<Taken> rest = TakeAll(queue);
    ASSERT_EQ(rest.size(), 2u);
    EXPECT_EQ(rest[0].bytes, second);
    EXPECT_EQ(rest[1].bytes, third);
}

TEST(TimedMessageQueue, RefusesExclusiveMessagesBeyondTheBufferSize) {
    TimedMessageQueue queue(8, 2);
    std::vector<std::uint8_t> big(TimedMessageQueue::kLongMessageBytes + 1, 0);
    EXPECT_EQ(queue.Push(Kind::Long, big.data(), big.size(), t0), MIDIOUT_INVALPARAM);
    EXPECT_EQ(queue.Size(), 0u);
}

TEST(TimedMessageQueue, AGrowingQueueKeepsOrderAndBytesAcrossGrowth) {
    TimedMessageQueue queue(2, 1, TimedMessageQueue::Growth::Doubling);
    std::vector<std::vector<std::uint8_t>> sent;
    for (std::uint8_t i = 0; i < 20; ++i) {
        if (i % 3 == 0) {
            sent.push_back({0xF0, i, i, 0xF7});
            ASSERT_EQ(queue.Push(Kind::Long, sent.back().data(), 4, t0), MIDIOUT_OK);
        } else {
            sent.push_back({0xB0, 7, i});
            ASSERT_EQ(queue.Push(Kind::Short, sent.back().data(), 3, t0), MIDIOUT_OK);
        }
        if (i == 4) { // take some so that the rings wrap before they grow
            TakeAll(queue);
            sent.clear();
        }
    }
    EXPECT_GE(queue.Capacity(), 16u);
    std::vector<std::vector<std::uint8_t>> received;
    for (const Taken& taken : TakeAll(queue))
        received.push_back(taken.bytes);
    EXPECT_EQ(received, sent);
}

// The live synthesizer's situation: the timer thread sends while the audio thread takes,
// neither waiting for the other. Every message arrives, long ones intact, in sending order.
TEST(TimedMessageQueueThreads, ASenderAndATakerLoseNothing) {
    TimedMessageQueue queue(64, 4);
    constexpr int kCount = 6000;
    std::thread sender([&] {
        for (int i = 0; i < kCount; ++i) {
            std::uint8_t bytes[8] = {static_cast<std::uint8_t>(0xB0 | (i & 1)),
                                     static_cast<std::uint8_t>(i >> 7),
                                     static_cast<std::uint8_t>(i & 0x7F)};
            const bool isLong = i % 5 == 0;
            bytes[7] = bytes[2];
            while (queue.Push(isLong ? Kind::Long : Kind::Short, bytes, isLong ? 8 : 3, t0) !=
                   MIDIOUT_OK)
                std::this_thread::yield();
        }
    });
    int next = 0;
    bool intact = true;
    while (next < kCount) {
        queue.TakeNext([&](const TimedMessageQueue::View& view) {
            const bool isLong = next % 5 == 0;
            intact = intact && (view.kind == Kind::Long) == isLong &&
                     (view.bytes[1] << 7 | view.bytes[2]) == next &&
                     (!isLong || view.bytes[7] == view.bytes[2]);
            ++next;
        });
    }
    sender.join();
    EXPECT_TRUE(intact);
    EXPECT_EQ(queue.Size(), 0u);
}
