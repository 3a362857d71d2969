#include "settings/CLSCustomizePages.h"

#include "core/Assert.h"
#include "core/UiText.h"
#include "settings/CLSDRUVSettings.h"

#include <algorithm>
#include <limits>

namespace {

int s_lastPage = CLSCustomizePages::kGeneral;

const CLSCustomizePages::Range kRanges[CLSCustomizePages::kPageCount] = {
    {0, CLSDRUVSettings::kRecentMaxLimit,
     DRUVEL_TRANSLATE_NOOP("CLSCustomizePages",
                           "最近開いたファイルの最大数は 0 ～ 32767 の間で指定してください。")},
    {1, 100,
     DRUVEL_TRANSLATE_NOOP("CLSCustomizePages",
                           "スペクトラムの幅は 1 ～ 100 の間で指定してください。")},
    {0, 32767,
     DRUVEL_TRANSLATE_NOOP("CLSCustomizePages",
                           "歌詞を表示するタイミングは 0 ～ 32767 の間で指定してください。")},
};

bool ValidPage(int page) {
    return page >= 0 && page < CLSCustomizePages::kPageCount;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

int CLSCustomizePages::LastPage() noexcept {
    return s_lastPage;
}

void CLSCustomizePages::SetLastPage(int page) noexcept {
    if (ValidPage(page))
        s_lastPage = page;
}

void CLSCustomizePages::Create(int page) {
    if (ValidPage(page))
        m_created[static_cast<std::size_t>(page)] = true;
}

bool CLSCustomizePages::IsCreated(int page) const {
    return ValidPage(page) && m_created[static_cast<std::size_t>(page)];
}

void CLSCustomizePages::Activate(int page) {
    if (IsCreated(page))
        s_lastPage = page;
}

CustomizeGeneralValues CLSCustomizePages::General() const {
    CustomizeGeneralValues page;
    page.recentMax = std::to_string(m_settings.RecentMax());
    page.searchSubFolder = m_settings.GetFlag(CLSDRUVSettings::SearchSubFolder);
    page.permitMultiExecute = m_settings.GetFlag(CLSDRUVSettings::PermitMultiExecute);
    page.restorePlayList = m_settings.GetFlag(CLSDRUVSettings::RestorePlayList);
    return page;
}

CustomizeSpectrumValues CLSCustomizePages::Spectrum() const {
    CustomizeSpectrumValues page;
    page.meterWidth = std::to_string(m_settings.MeterWidth);
    page.digital = m_settings.GetFlag(CLSDRUVSettings::DigitalSpectrum);
    page.spectrumType = m_settings.SpectrumType;
    return page;
}

CustomizeMidiValues CLSCustomizePages::Midi() const {
    CustomizeMidiValues page;
    page.adjustVelocity = m_settings.GetFlag(CLSDRUVSettings::AdjustVelocity);
    page.noSendExclusive = m_settings.GetFlag(CLSDRUVSettings::NoSendExclusive);
    page.wordTraceAheadTime = std::to_string(m_settings.WordTraceAheadTime);
    page.soundFont = m_settings.SoundFont.Text();
    return page;
}

std::optional<std::string> CLSCustomizePages::Apply(const CustomizeGeneralValues& page) {
    const auto number = InRange(kGeneral, page.recentMax);
    if (!number)
        return UiText::Translate("CLSCustomizePages", RangeOf(kGeneral).warning);
    m_settings.SetRecentMax(static_cast<int>(*number));
    m_settings.SetFlag(CLSDRUVSettings::SearchSubFolder, page.searchSubFolder);
    m_settings.SetFlag(CLSDRUVSettings::PermitMultiExecute, page.permitMultiExecute);
    m_settings.SetFlag(CLSDRUVSettings::RestorePlayList, page.restorePlayList);
    return std::nullopt;
}

std::optional<std::string> CLSCustomizePages::Apply(const CustomizeSpectrumValues& page) {
    const auto number = InRange(kSpectrum, page.meterWidth);
    if (!number)
        return UiText::Translate("CLSCustomizePages", RangeOf(kSpectrum).warning);
    m_settings.MeterWidth = static_cast<int>(*number);
    // A kind read unchecked from the file selects no entry; it stays as it was.
    if (page.spectrumType >= 0)
        m_settings.SpectrumType = page.spectrumType;
    m_settings.SetFlag(CLSDRUVSettings::DigitalSpectrum, page.digital);
    return std::nullopt;
}

std::optional<std::string> CLSCustomizePages::Apply(const CustomizeMidiValues& page) {
    const auto number = InRange(kMidi, page.wordTraceAheadTime);
    if (!number)
        return UiText::Translate("CLSCustomizePages", RangeOf(kMidi).warning);
    m_settings.WordTraceAheadTime = static_cast<int>(*number);
    m_settings.SetFlag(CLSDRUVSettings::AdjustVelocity, page.adjustVelocity);
    m_settings.SetFlag(CLSDRUVSettings::NoSendExclusive, page.noSendExclusive);
    m_settings.SoundFont = CLSTString(page.soundFont.c_str());
    return std::nullopt;
}

std::uint32_t CLSCustomizePages::ReadNumber(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return 0;
    text.remove_prefix(first);
    text.remove_suffix(text.size() - (text.find_last_not_of(" \t") + 1));
    if (!std::all_of(text.begin(), text.end(), IsDigit))
        return 0;
    constexpr std::uint32_t kLargest = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t value = 0;
    for (char c : text) {
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > kLargest)
            return kLargest;
    }
    return static_cast<std::uint32_t>(value);
}

const CLSCustomizePages::Range& CLSCustomizePages::RangeOf(int page) {
    DRUV_ASSERT(ValidPage(page), "DRUVSET");
    return kRanges[page];
}

std::optional<std::uint32_t> CLSCustomizePages::InRange(int page, std::string_view text) {
    const Range& range = RangeOf(page);
    const std::uint32_t number = ReadNumber(text);
    if (number < range.minimum || number > range.maximum)
        return std::nullopt;
    return number;
}
