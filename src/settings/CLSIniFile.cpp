#include "settings/CLSIniFile.h"

#include "core/CLSFileReadLine.h"

bool CLSIniFile::Read(const char* path) {
    CLSFileReadLine reader;
    if (!reader.Open(path))
        return false;
    m_current = nullptr;
    CLSTString line;
    while (reader.ReadLine(line))
        ParseLine(line);
    return true;
}

void CLSIniFile::ParseLine(const CLSTString& line) {
    if (line.IsEmpty())
        return;
    if (line.Text()[0] == '[') {
        const int close = line.Find(']');
        if (close != -1) {
            m_current = &m_sections[line.Mid(1, close - 1)];
            m_current->clear();
            return;
        }
    }
    if (!m_current)
        return;
    const int equals = line.Find('=');
    if (equals == -1)
        return;
    (*m_current)[line.Mid(0, equals)] = line.Mid(equals + 1);
}

const CLSIniSection* CLSIniFile::Section(const char* name) const {
    const auto it = m_sections.find(CLSTString(name));
    return it == m_sections.end() ? nullptr : &it->second;
}

const CLSTString* CLSIniFile::Find(const CLSIniSection& section, const char* key) {
    const auto it = section.find(CLSTString(key));
    return it == section.end() ? nullptr : &it->second;
}

void CLSIniFile::ReadInt(const CLSIniSection& section, const char* key, int& value) {
    if (const CLSTString* text = Find(section, key))
        value = text->ToInt();
}

void CLSIniFile::ReadFlag(const CLSIniSection& section, const char* key, int mask, int& flags) {
    if (const CLSTString* text = Find(section, key))
        flags = text->ToInt() == 1 ? (flags | mask) : (flags & ~mask);
}

void CLSIniFile::ReadColor(const CLSIniSection& section, const char* key, std::uint32_t& color) {
    if (const CLSTString* text = Find(section, key))
        color = static_cast<std::uint32_t>(text->ToInt());
}
