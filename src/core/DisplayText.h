#pragma once

#include <string>

// Stored text bytes as UTF-8 for showing: valid UTF-8 stays as it is, anything else is read
// as code page 932 (bytes that are not valid there become U+FFFD).
std::string DisplayText(const char* bytes);
std::string DisplayText(const char* bytes, std::size_t length);

bool IsValidUtf8(const char* bytes, std::size_t length) noexcept;
