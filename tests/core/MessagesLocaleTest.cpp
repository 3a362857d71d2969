#include "core/MessagesLocale.h"
#include "core/CLSError.h"
#include "core/UiText.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using Language = MessagesLocale::Language;
constexpr Language kJa = Language::Japanese;
constexpr Language kEn = Language::English;

Language Decide(const char* language, const char* all, const char* messages, const char* lang) {
    return MessagesLocale::Decide({language, all, messages, lang});
}

Language ForCommandLine(const char* language, const char* all, const char* messages,
                        const char* lang) {
    return MessagesLocale::DecideForCommandLine({language, all, messages, lang});
}

} // namespace

TEST(MessagesLocale, FollowsTheFirstSetVariableAndSpeaksJapaneseWithoutOne) {
    EXPECT_EQ(Decide("", "", "", ""), kJa);
    EXPECT_EQ(Decide("", "C", "", "en_US.UTF-8"), kJa);     // LC_ALL before LANG
    EXPECT_EQ(Decide("", "", "POSIX", "en_GB.UTF-8"), kJa); // LC_MESSAGES before LANG
    EXPECT_EQ(Decide("", "", "", "C.UTF-8"), kJa);
    EXPECT_EQ(Decide("", "", "", "ja_JP.UTF-8"), kJa);
    EXPECT_EQ(Decide("", "", "", "en_US.UTF-8"), kEn);
    EXPECT_EQ(Decide("", "", "de_DE.UTF-8", "ja_JP.UTF-8"), kEn); // no German: English
    EXPECT_EQ(Decide("", "fr_FR.UTF-8", "", ""), kEn);
}

TEST(MessagesLocale, LanguageOverridesAndItsFirstKnownEntryWins) {
    EXPECT_EQ(Decide("en", "ja_JP.UTF-8", "", ""), kEn);
    EXPECT_EQ(Decide("ja", "en_US.UTF-8", "", "en_US.UTF-8"), kJa);
    EXPECT_EQ(Decide("en", "C", "", ""), kEn);
    EXPECT_EQ(Decide("fr:ja:en", "", "", ""), kJa);
    EXPECT_EQ(Decide("fr:en_GB:ja", "", "", ""), kEn);
    EXPECT_EQ(Decide("de", "ja_JP.UTF-8", "", ""), kEn);
    EXPECT_EQ(Decide(":", "", "", "en_US.UTF-8"), kEn); // an empty list says nothing
}

TEST(MessagesLocale, TheCommandLineSpeaksJapaneseOnlyWhenAJapaneseLocaleIsNamed) {
    EXPECT_EQ(ForCommandLine("", "", "", ""), kEn);
    EXPECT_EQ(ForCommandLine("", "C", "", "ja_JP.UTF-8"), kEn); // LC_ALL before LANG
    EXPECT_EQ(ForCommandLine("", "", "POSIX", ""), kEn);
    EXPECT_EQ(ForCommandLine("", "", "", "C.UTF-8"), kEn);
    EXPECT_EQ(ForCommandLine("", "", "ja_JP.UTF-8", "C.UTF-8"), kJa);
    EXPECT_EQ(ForCommandLine("", "", "", "ja_JP.eucJP"), kJa);
    EXPECT_EQ(ForCommandLine("ja", "C", "", ""), kJa);
    EXPECT_EQ(ForCommandLine("fr:ja", "", "", ""), kJa);
    EXPECT_EQ(ForCommandLine("C:ja", "", "", ""), kEn);
    EXPECT_EQ(ForCommandLine("en", "ja_JP.UTF-8", "", ""), kEn);
    EXPECT_EQ(ForCommandLine("", "jv_ID.UTF-8", "", ""), kEn);
}

TEST(UiText, ATranslationMayReorderItsPlaceholdersAndArgumentsStayAsGiven) {
    const UiText::Translator previous =
        UiText::SetTranslator([](const char* context, const char* source) -> std::string {
            if (std::strcmp(context, "CLSError") == 0 && std::strcmp(source, " : %1行") == 0)
                return " (line %1)";
            if (std::strcmp(source, "%1 / %2") == 0)
                return "%2 of %1";
            return {};
        });
    EXPECT_EQ(UiText::Format(UiText::Translate("Test", "%1 / %2"), {"%2", "b"}), "b of %2");
    // What the translator has no text for is shown as written.
    EXPECT_EQ(UiText::Translate("CLSError", "ファイルを開けません。"), "ファイルを開けません。");
    EXPECT_EQ(CLSError(5, "MAIN", 42).Message(), "ファイルを開けません。\n\nMAIN (line 42)");
    UiText::SetTranslator(previous);
    EXPECT_EQ(CLSError(5, "MAIN", 42).Message(), "ファイルを開けません。\n\nMAIN : 42行");
}
