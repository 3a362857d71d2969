#pragma once

#include "core/CLSFileWriteString.h"

#include <cstdint>

// The line forms of the settings file, each line ended by CR LF.
class CLSIniWriter {
public:
    explicit CLSIniWriter(CLSFileWriteString& file) noexcept : m_file(file) {}

    void Section(const char* name);
    void Int(const char* key, int value);
    void Flag(const char* key, bool on);
    // 0xRRGGBB, upper-case, from a colour value with red in the lowest byte.
    void Color(const char* key, std::uint32_t color);
    void Text(const char* key, const CLSTString& text);
    void Separator();

    static CLSTString ColorText(std::uint32_t color);

private:
    void Key(const char* key);

    CLSFileWriteString& m_file;
};
