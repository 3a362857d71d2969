#include "core/PathText.h"

#include <cstring>

namespace {

bool IsSeparator(char c) noexcept {
    return c == '/' || c == '\\';
}

unsigned char Fold(unsigned char c) noexcept {
    return (c >= 'A' && c <= 'Z') ? c + 32 : c;
}

} // namespace

const char* FindFileName(const char* path) noexcept {
    const char* name = path;
    for (const char* p = path; *p; ++p) {
        if (IsSeparator(*p))
            name = p + 1;
    }
    return name;
}

const char* FindExtension(const char* path) noexcept {
    const char* name = FindFileName(path);
    const char* dot = std::strrchr(name, '.');
    return dot ? dot : name + std::strlen(name);
}

bool EqualsNoCase(const char* a, const char* b) noexcept {
    const auto* x = reinterpret_cast<const unsigned char*>(a);
    const auto* y = reinterpret_cast<const unsigned char*>(b);
    for (; Fold(*x) == Fold(*y); ++x, ++y) {
        if (*x == 0)
            return true;
    }
    return false;
}

bool HasExtension(const char* path, const char* const* extensions, int count) noexcept {
    const char* extension = FindExtension(path);
    for (int i = 0; i < count; ++i) {
        if (EqualsNoCase(extension, extensions[i]))
            return true;
    }
    return false;
}
