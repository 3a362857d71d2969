#include "backends/MidiOutDevices.h"
#include "player/CLSCommandRunner.h"
#include "player/CLSCommandTables.h"
#include "player/CLSMenuRules.h"
#include "player/CLSWindowActions.h"
#include "player/CommandId.h"
#include "player/FlowHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Texts(std::span<const MenuEntry> entries) {
    std::vector<std::string> texts;
    for (const MenuEntry& entry : entries)
        texts.push_back(entry.kind == MenuEntry::Kind::Separator ? "-" : entry.text);
    return texts;
}

std::vector<int> Ids(std::span<const MenuEntry> entries) {
    std::vector<int> ids;
    for (const MenuEntry& entry : entries)
        ids.push_back(entry.id);
    return ids;
}

TEST(CommandTables, MenuBarHasItsMenusAndItemsInOrder) {
    const auto bar = CLSCommandTables::MenuBar();
    EXPECT_EQ(Texts(bar), (std::vector<std::string>{"ファイル(&F)", "再生(&P)", "表示(&V)",
                                                    "プレイリスト(&L)", "ヘルプ(&H)"}));
    EXPECT_EQ(Ids(bar[0].children), (std::vector<int>{51, 52, 53, 0, 0, 54}));
    EXPECT_EQ(Ids(bar[1].children), (std::vector<int>{61, 62, 63, 64, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Ids(bar[2].children), (std::vector<int>{81, 0, 82, 83, 84, 85, 86, 0, 87}));
    EXPECT_EQ(Ids(bar[3].children), (std::vector<int>{91, 0, 92, 0, 93, 94}));
    EXPECT_EQ(Ids(bar[4].children), (std::vector<int>{97, 0, 98}));
    EXPECT_EQ(Ids(bar[1].children[4].children), (std::vector<int>{65, 66, 67, 68}));
    EXPECT_STREQ(CLSCommandTables::FindInMenuBar(63)->shortcut, "Ctrl+←");
    EXPECT_STREQ(CLSCommandTables::FindInMenuBar(69)->text, "テンポを上げる(&U)");
    EXPECT_STREQ(CLSCommandTables::FindInMenuBar(150)->text, "最近開いたファイルのクリア(&C)");
    const MenuEntry* device = CLSCommandTables::FindInMenuBar(101);
    ASSERT_NE(device, nullptr);
    EXPECT_TRUE(device->checked);
    EXPECT_EQ(CLSCommandTables::FindInMenuBar(99), nullptr);
}

TEST(CommandTables, ContextMenuPlaysByDefault) {
    const auto menu = CLSCommandTables::PlayListMenu();
    EXPECT_EQ(Ids(menu), (std::vector<int>{91, 0, 51, 92, 0, 93, 94}));
    EXPECT_TRUE(menu[0].isDefault);
    EXPECT_STREQ(menu[2].text, "追加(&A)...");
}

TEST(CommandTables, KeysAndToolbar) {
    EXPECT_EQ(CLSCommandTables::CommandForKey(AccelKey::KeypadPlus, kAccelNone), kCmdKeyUp);
    EXPECT_EQ(CLSCommandTables::CommandForKey(AccelKey::KeypadPlus, kAccelCtrl), kCmdTempoUp);
    EXPECT_EQ(CLSCommandTables::CommandForKey(AccelKey::KeypadMinus, kAccelAlt), kCmdVolumeDown);
    EXPECT_EQ(CLSCommandTables::CommandForKey(AccelKey::Space, kAccelNone), kCmdNone);
    std::vector<int> ids;
    for (const ToolButton& button : CLSCommandTables::ToolBar())
        ids.push_back(button.id);
    EXPECT_EQ(ids, (std::vector<int>{63, 62, 61, 64, 51}));
    EXPECT_STREQ(CLSCommandTables::ToolBar()[2].tooltip, "再生/一時停止");
}

TEST(MenuRules, EmptyPlaylistGreysPlaybackAndSaving) {
    const MenuState empty;
    for (int id : {53, 61, 62, 63, 64, 91, 92, 93, 94})
        EXPECT_EQ(CLSMenuRules::IsEnabled(id, empty), false) << id;
    EXPECT_EQ(CLSMenuRules::IsEnabled(51, empty), std::nullopt);
    EXPECT_EQ(CLSMenuRules::IsEnabled(82, empty), std::nullopt);
}

TEST(MenuRules, WithoutASelectionOnlyThePlaylistItemsAreGreyed) {
    CLSPlayList playlist;
    playlist.AppendSong("a.mid");
    playlist.AppendSong("b.mid");
    MenuState state = MenuState::Of(playlist);
    EXPECT_EQ(CLSMenuRules::IsEnabled(61, state), true);
    EXPECT_EQ(CLSMenuRules::IsEnabled(91, state), false);
    EXPECT_EQ(CLSMenuRules::IsEnabled(92, state), false);
    playlist.View().SetSelected(0, true);
    state = MenuState::Of(playlist);
    EXPECT_EQ(CLSMenuRules::IsEnabled(92, state), true);
    EXPECT_EQ(CLSMenuRules::IsEnabled(93, state), false);
    EXPECT_EQ(CLSMenuRules::IsEnabled(94, state), true);
}

TEST(MenuRules, RecentFilesNumberOneToNineThenZero) {
    CLSTStringArray files;
    for (int i = 0; i < 11; ++i)
        files.push_back(CLSTString(("/m/s" + std::to_string(i) + ".mid").c_str()));
    const std::vector<DynamicMenuItem> items = CLSMenuRules::RecentItems(files);
    ASSERT_EQ(items.size(), 11u);
    EXPECT_EQ(items[0].text, "&1 /m/s0.mid");
    EXPECT_EQ(items[9].text, "&0 /m/s9.mid");
    EXPECT_EQ(items[10].text, "&1 /m/s10.mid");
    EXPECT_EQ(items[10].id, 161);
}

TEST(MenuRules, RecentPathsKeepTheirBytesAndShowTheirAmpersands) {
    CLSDRUVSettings settings;
    const CLSTString cp932("/m/\x89\xcc&B.mid"); // not UTF-8
    settings.AddRecentFile(cp932);
    EXPECT_EQ(CLSMenuRules::RecentItems(settings.RecentFiles())[0].text, "&1 /m/歌&&B.mid");
    EXPECT_TRUE(CLSMenuRules::RecentPath(151, settings) == cp932);
    EXPECT_TRUE(CLSMenuRules::RecentPath(152, settings).IsEmpty());
    EXPECT_TRUE(CLSMenuRules::RecentPath(150, settings).IsEmpty());
}

TEST(MenuRules, DevicesComeFirstThenASeparatorBeforeTheDefault) {
    std::vector<std::string> names;
    for (int k = 0; k < 60; ++k)
        names.push_back("Port " + std::to_string(k));
    const std::vector<DynamicMenuItem> items = CLSMenuRules::DeviceItems(names);
    ASSERT_EQ(items.size(), 49u) << "device ids must stay below the recent-files items";
    EXPECT_EQ(items[0].text, "&0 Port 0");
    EXPECT_EQ(items[0].id, 102);
    EXPECT_EQ(items[11].text, "&1 Port 11");
    EXPECT_EQ(items[47].id, 149);
    EXPECT_EQ(items[48].id, 0);
    EXPECT_TRUE(CLSMenuRules::DeviceItems({}).empty());
}

TEST(MenuRules, TheRealOutputsStartWithTheSynthesizer) {
    const std::vector<std::string> names = MidiOutDevices().Names();
    const std::vector<DynamicMenuItem> items = CLSMenuRules::DeviceItems(names);
    ASSERT_EQ(items.size(), names.size() + 1);
    EXPECT_EQ(items[0].text, std::string("&0 ") + MidiOutDevices::SynthesizerName());
}

TEST(MenuRules, DeviceChoiceAndItsMark) {
    CLSDRUVSettings settings;
    EXPECT_EQ(CLSMenuRules::CheckedDeviceItem(-1, 2), kCmdDefaultDevice);
    EXPECT_EQ(CLSMenuRules::CheckedDeviceItem(1, 2), 103);
    EXPECT_EQ(CLSMenuRules::CheckedDeviceItem(5, 2), std::nullopt);
    EXPECT_TRUE(CLSMenuRules::ChooseDevice(103, 2, settings));
    EXPECT_EQ(settings.MidiDeviceID, 1);
    EXPECT_TRUE(CLSMenuRules::ChooseDevice(101, 2, settings));
    EXPECT_EQ(settings.MidiDeviceID, -1);
    EXPECT_FALSE(CLSMenuRules::ChooseDevice(104, 2, settings));
    EXPECT_EQ(settings.MidiDeviceID, -1);
}

struct FakeWindow final : CLSWindowActions {
    void OpenFiles() override { calls.push_back("open"); }
    void OpenFolder() override { calls.push_back("folder"); }
    void SavePlayList() override { calls.push_back("save"); }
    void Close() override { calls.push_back("close"); }
    void SetWindowMode(int id) override { calls.push_back("mode " + std::to_string(id)); }
    void ShowToolHints(bool on) override { calls.push_back(on ? "hints on" : "hints off"); }
    void Customize() override { calls.push_back("customize"); }
    void HelpContents() override { calls.push_back("help"); }
    void About() override { calls.push_back("about"); }
    void RebuildRecentMenu() override { calls.push_back("recent"); }
    void CheckPlayOrder(int id) override { calls.push_back("order " + std::to_string(id)); }
    void CheckDevice(int id) override { calls.push_back("device " + std::to_string(id)); }
    std::vector<std::string> calls;
};

class CommandRunnerTest : public FlowHarness {
protected:
    void SetUp() override {
        FlowHarness::SetUp();
        runner = std::make_unique<CLSCommandRunner>(*flow, playlist, settings, window);
        runner->SetDeviceCount(2);
    }
    FakeWindow window;
    std::unique_ptr<CLSCommandRunner> runner;
};

TEST_F(CommandRunnerTest, KeypadPlusRaisesTheKey) {
    ASSERT_TRUE(runner->Run(CLSCommandTables::CommandForKey(AccelKey::KeypadPlus, kAccelNone)));
    EXPECT_EQ(keyLabel.text, "キー： +1");
    runner->Run(kCmdTempoUp);
    EXPECT_EQ(tempo.value, 110);
    runner->Run(kCmdVolumeDown);
    EXPECT_EQ(volumeLabel.text, "音量： 90%");
}

TEST_F(CommandRunnerTest, PlayOrderToolHintAndDevice) {
    EXPECT_TRUE(runner->Run(kCmdOrderRandom));
    EXPECT_EQ(settings.PlayType, kPlayRandom);
    EXPECT_TRUE(runner->Run(kCmdToolHint));
    EXPECT_FALSE(settings.GetFlag(CLSDRUVSettings::ShowToolHint));
    EXPECT_TRUE(runner->Run(103));
    EXPECT_EQ(settings.MidiDeviceID, 1);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"order 68", "hints off", "device 103"}));
}

TEST_F(CommandRunnerTest, RecentFilesOpenAndClear) {
    const std::string path = WriteSong(0);
    settings.AddRecentFile(CLSTString(path.c_str()));
    EXPECT_TRUE(runner->Run(151));
    EXPECT_EQ(playlist.Count(), 1u);
    EXPECT_EQ(LoadedTitle(), "Song0");
    EXPECT_FALSE(engine.IsPlaying());
    EXPECT_TRUE(runner->Run(kCmdClearRecent));
    EXPECT_TRUE(settings.RecentFiles().empty());
    EXPECT_FALSE(runner->Run(151));
    EXPECT_EQ(window.calls, (std::vector<std::string>{"recent", "recent"}));
}

TEST_F(CommandRunnerTest, WindowCommandsGoToTheWindowAndOthersAreNotHandled) {
    for (int id : {51, 52, 53, 54, 84, 87, 97, 98})
        EXPECT_TRUE(runner->Run(id)) << id;
    EXPECT_EQ(window.calls, (std::vector<std::string>{"open", "folder", "save", "close", "mode 84",
                                                      "customize", "help", "about"}));
    for (int id : {0, 55, 75, 88, 99, 100, 104, 151})
        EXPECT_FALSE(runner->Run(id)) << id;
}

TEST_F(CommandRunnerTest, ApplySettingsReachesTheEngineAndTheRecentMenu) {
    settings.SpectrumType = 2;
    runner->ApplySettings();
    EXPECT_EQ(CLSMIDIData::GetSpectrumType(), 2);
    CLSMIDIData::SetSpectrumType(0);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"recent"}));
}

} // namespace
