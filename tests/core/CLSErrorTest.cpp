#include "core/CLSError.h"
#include "core/Assert.h"

#include "core/MidiOutError.h"
#include "fixtures/ReportRecorder.h"

#include <gtest/gtest.h>

#include <string>

TEST(CLSErrorMessage, TableTextThenBlankLineThenModuleAndLine) {
    EXPECT_EQ(CLSError(6, "MAIN", 315).Message(), "再生できません。\n\nMAIN : 315行");
    EXPECT_EQ(CLSError(7, "READLINE", 1).Message(), "ファイルを読み込めません。\n\nREADLINE : 1行");
    EXPECT_EQ(CLSError(11, "TSTRING", -3).Message(), "パラメータが不正です。\n\nTSTRING : -3行");
}

TEST(CLSErrorMessage, EveryCodeOfTheTable) {
    const char* const texts[] = {
        "???",
        "???",
        "???",
        "???",
        "ダイアログを表示できません。",
        "ファイルを開けません。",
        "再生できません。",
        "ファイルを読み込めません。",
        "ウィンドウクラスを登録できません。",
        "ファイルに書き込めません。",
        "DLL のバージョンが違います。",
        "パラメータが不正です。",
        "このアーカイブ形式には対応していません。",
        "その機能は実装されていません。",
        "メモリ不足です。",
        "添字が範囲外です。",
        "予期しないエラーです。",
    };
    for (int code = 0; code <= 16; ++code)
        EXPECT_STREQ(CLSError::CodeText(code), texts[code]) << code;
    EXPECT_STREQ(CLSError::CodeText(17), "???");
    EXPECT_STREQ(CLSError::CodeText(-1), "???");
    EXPECT_EQ(CLSError(2, "COMMON", 40).Message(), "???\n\nCOMMON : 40行");
}

TEST(CLSErrorMessage, MidiSystemFlagAsksTheOutputLayerEvenForTableCodes) {
    const CLSError badDevice(MIDIOUT_BADDEVICEID, "MIDIDATA", 12, true);
    EXPECT_EQ(badDevice.Message(),
              std::string(MidiOutErrorText(MIDIOUT_BADDEVICEID)) + "\n\nMIDIDATA : 12行");
    for (int code = 4; code <= 16; ++code) {
        const std::string text = CLSError(code, "MIDIDATA", 1, true).Message();
        EXPECT_EQ(text.rfind(MidiOutErrorText(code), 0), 0u) << code;
    }
    EXPECT_STREQ(MidiOutErrorText(MIDIOUT_ALLOCATED), "指定されたデバイスは既に使用されています。");
    EXPECT_STRNE(MidiOutErrorText(MIDIOUT_NOTSUPPORTED), MidiOutErrorText(MIDIOUT_NODRIVER));
    EXPECT_STRNE(MidiOutErrorText(12345), "");
}

TEST(CLSErrorMessage, LongModuleNamesAreCutToTheBuffer) {
    const std::string module(1000, 'M');
    const std::string text = CLSError(6, module.c_str(), 1).Message();
    EXPECT_EQ(text.size(), CLSError::kTextBufferSize - 1);
    EXPECT_EQ(text.rfind("再生できません。\n\n", 0), 0u);
}

TEST(CLSErrorShow, GoesToTheInstalledReporterWithCaptionIconAndOwner) {
    int window = 0;
    {
        ReportRecorder recorder;
        CLSError(6, "MAIN", 315).Show(&window);
        CLSError(2, "COMMON", 7).Show();
        ASSERT_EQ(recorder.Reports().size(), 2u);
        const CLSError::Report& first = recorder.Reports()[0];
        EXPECT_EQ(first.text, "再生できません。\n\nMAIN : 315行");
        EXPECT_STREQ(first.caption, "Druvel");
        EXPECT_EQ(first.owner, &window);
        EXPECT_EQ(first.style, 0x10u);
        EXPECT_EQ(recorder.Reports()[1].owner, nullptr);
        EXPECT_EQ(recorder.Reports()[1].style, 0x10u);
    }
    // With the recorder gone the default reporter writes to stderr again.
    ::testing::internal::CaptureStderr();
    CLSError(9, "READLINE", 5).Show();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Druvel"), std::string::npos);
    EXPECT_NE(err.find("ファイルに書き込めません。\n\nREADLINE : 5行"), std::string::npos);
}

TEST(CLSErrorShow, NestedRecordersRestoreTheirPredecessor) {
    ReportRecorder outer;
    {
        ReportRecorder inner;
        CLSError(5, "PLAYLIST", 1).Show();
        EXPECT_EQ(inner.Reports().size(), 1u);
    }
    CLSError(5, "PLAYLIST", 2).Show();
    ASSERT_EQ(outer.Reports().size(), 1u);
    EXPECT_EQ(outer.Reports()[0].text, "ファイルを開けません。\n\nPLAYLIST : 2行");
}

TEST(AssertDeathTest, ReportNamesConditionFileAndLine) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(DRUV_ASSERT(1 + 1 == 3, "DRUVSET"),
                 "^Assertion failed: 1 \\+ 1 == 3, file DRUVSET, line [0-9]+\n");
}
