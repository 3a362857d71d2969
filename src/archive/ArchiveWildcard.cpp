#include "archive/ArchiveWildcard.h"

namespace {

unsigned char Normal(unsigned char c) noexcept {
    if (c == '\\')
        return '/';
    return (c >= 'A' && c <= 'Z') ? c + 32 : c;
}

} // namespace

bool MatchArchiveWildcard(const char* pattern, const char* name) noexcept {
    const char* p = pattern;
    const char* n = name;
    const char* starPattern = nullptr;
    const char* starName = nullptr;
    while (*n) {
        if (*p == '*') {
            starPattern = ++p;
            starName = n;
        } else if (*p == '?' || (*p && Normal(*p) == Normal(*n))) {
            ++p;
            ++n;
        } else if (starPattern) {
            p = starPattern;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (*p == '*')
        ++p;
    // "*.*" means every name, also one without a dot.
    if (p[0] == '.' && p[1] == '*' && p[2] == 0 && starPattern)
        return true;
    return *p == 0;
}

std::vector<std::string> SplitArchiveWords(const char* text) {
    std::vector<std::string> words;
    const char* p = text;
    while (*p) {
        while (*p == ' ')
            ++p;
        if (!*p)
            break;
        std::string word;
        if (*p == '"') {
            ++p;
            while (*p && *p != '"')
                word += *p++;
            if (*p == '"')
                ++p;
        } else {
            while (*p && *p != ' ')
                word += *p++;
        }
        words.push_back(word);
    }
    return words;
}
