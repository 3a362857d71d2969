#include "settings/CLSIniWriter.h"

#include <cstdio>

void CLSIniWriter::Section(const char* name) {
    m_file.Write('[');
    m_file.Write(name);
    m_file.WriteLine(']');
}

void CLSIniWriter::Key(const char* key) {
    m_file.Write(key);
    m_file.Write('=');
}

void CLSIniWriter::Int(const char* key, int value) {
    Key(key);
    m_file.WriteLine(value);
}

void CLSIniWriter::Flag(const char* key, bool on) {
    Key(key);
    m_file.WriteLine(on ? '1' : '0');
}

CLSTString CLSIniWriter::ColorText(std::uint32_t color) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%02X%02X%02X", color & 0xFFu, (color >> 8) & 0xFFu,
                  (color >> 16) & 0xFFu);
    return CLSTString(text);
}

void CLSIniWriter::Color(const char* key, std::uint32_t color) {
    Key(key);
    m_file.WriteLine(ColorText(color));
}

void CLSIniWriter::Text(const char* key, const CLSTString& text) {
    Key(key);
    m_file.WriteLine(text);
}

void CLSIniWriter::Separator() {
    m_file.WriteLine(static_cast<const char*>(nullptr));
}
