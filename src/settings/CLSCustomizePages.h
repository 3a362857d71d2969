#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class CLSDRUVSettings;

// What each page of the Customize sheet shows: its boxes and selection as values, its numeric
// field as the text the user left in it.
struct CustomizeGeneralValues {
    std::string recentMax;
    bool searchSubFolder = false;
    bool permitMultiExecute = false;
    bool restorePlayList = false;
};

struct CustomizeSpectrumValues {
    std::string meterWidth;
    bool digital = false;
    int spectrumType = 0; // -1: no entry selected
};

struct CustomizeMidiValues {
    bool adjustVelocity = false;
    bool noSendExclusive = false;
    std::string wordTraceAheadTime;
    std::string soundFont; // empty: automatic
};

// The Customize sheet without its widgets: what each page opens with, how its numeric field
// reads, the range that field must keep and what applying takes into the settings record.
// A page counts only once the sheet has created it.
class CLSCustomizePages {
public:
    enum Page : int { kGeneral = 0, kSpectrum, kMidi, kPageCount };

    explicit CLSCustomizePages(CLSDRUVSettings& settings) : m_settings(settings) {}

    // The page the sheet opens on: the one last made active during this run of the program.
    static int LastPage() noexcept;
    static void SetLastPage(int page) noexcept;

    void Create(int page);
    bool IsCreated(int page) const;
    // Only a created page becomes the last page.
    void Activate(int page);

    CustomizeGeneralValues General() const;
    CustomizeSpectrumValues Spectrum() const;
    CustomizeMidiValues Midi() const;

    // Takes a page into the record. When its number is out of range nothing of the page is
    // taken and the result is the warning to show.
    std::optional<std::string> Apply(const CustomizeGeneralValues& page);
    std::optional<std::string> Apply(const CustomizeSpectrumValues& page);
    std::optional<std::string> Apply(const CustomizeMidiValues& page);

    // A field's number: text that is no number reads 0; a number too large for 32 bits reads
    // as the largest, so it is refused rather than taken as 0.
    static std::uint32_t ReadNumber(std::string_view text);

    // The numeric field's range and the warning for a number outside it.
    struct Range {
        std::uint32_t minimum;
        std::uint32_t maximum;
        const char* warning;
    };
    static const Range& RangeOf(int page);

    CLSDRUVSettings& Settings() noexcept { return m_settings; }

private:
    static std::optional<std::uint32_t> InRange(int page, std::string_view text);

    CLSDRUVSettings& m_settings;
    std::array<bool, kPageCount> m_created{};
};
