#pragma once

#include "core/CLSTString.h"

#include <cstdint>
#include <map>

// Section and key names match ignoring case (CLSTString's order); values stay byte for byte.
using CLSIniSection = std::map<CLSTString, CLSTString>;
using CLSIniSectionMap = std::map<CLSTString, CLSIniSection>;

// The settings file as read: every section with its keys. Lines are taken verbatim: blanks
// count, there are no comments, and a section that occurs twice keeps only its last keys.
class CLSIniFile {
public:
    // False when the file cannot be opened (nothing read); a failing read throws CLSError 7.
    bool Read(const char* path);
    // Applies one line as read from the file.
    void ParseLine(const CLSTString& line);

    // The section of that name, or null when the file has none.
    const CLSIniSection* Section(const char* name) const;
    const CLSIniSectionMap& Sections() const noexcept { return m_sections; }

    // Typed look-ups: an absent key leaves the value as it was.
    static const CLSTString* Find(const CLSIniSection& section, const char* key);
    static void ReadInt(const CLSIniSection& section, const char* key, int& value);
    static void ReadFlag(const CLSIniSection& section, const char* key, int mask, int& flags);
    static void ReadColor(const CLSIniSection& section, const char* key, std::uint32_t& color);

private:
    CLSIniSectionMap m_sections;
    CLSIniSection* m_current = nullptr;
};
