// The window's notifier: kept across owner changes, replaced only while nothing plays.
#include "engine/EngineHarness.h"

namespace {

using NotifierRules = EngineHarness;
using NotifierRulesDeathTest = EngineHarness;

SongBuilder OneNote() {
    SongBuilder b(100);
    b.Track(0);
    b.NoteOn(0, 0, 60, 100).NoteOff(10, 0, 60);
    return b;
}

bool Has(const std::vector<Notification>& list, int kind) {
    for (const Notification& n : list) {
        if (n.kind == kind)
            return true;
    }
    return false;
}

} // namespace

TEST_F(NotifierRules, ChangingTheOwnerKeepsTheNotifier) {
    const int window = 0;
    song.SetOwner(&window);
    const std::vector<std::uint8_t> bytes = OneNote().Bytes();
    ASSERT_TRUE(song.LoadFromMemory(bytes.data(), bytes.size(), "a.mid"));
    EXPECT_TRUE(Has(Notifications(), CLSMIDIData::kNotifyLoaded));
    EXPECT_EQ(song.Owner(), &window);

    PlayAt(0);
    Run(ms(200));
    EXPECT_TRUE(Has(Notifications(), CLSMIDIData::kNotifyEnd));
}

TEST_F(NotifierRules, ANewNotifierTakesOverAndAnEmptyOneIsSilent) {
    std::vector<int> second;
    song.SetNotifier([&](int kind, unsigned) { second.push_back(kind); });
    Load(OneNote());
    EXPECT_EQ(second, std::vector<int>{CLSMIDIData::kNotifyLoaded});
    EXPECT_TRUE(Notifications().empty());

    song.SetNotifier({});
    PlayAt(0);
    Run(ms(200));
    song.Stop();
    EXPECT_EQ(second.size(), 1u);
    EXPECT_TRUE(Notifications().empty());
}

TEST_F(NotifierRulesDeathTest, SettingItWhilePlayingIsAnError) {
    Load(OneNote());
    PlayAt(0);
    EXPECT_DEATH(song.SetNotifier({}), "Assertion failed");
}
