#include "core/DisplayText.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";

// Owns one conversion descriptor.
class Converter {
public:
    Converter() : m_cd(iconv_open("UTF-8", "CP932")) {}
    ~Converter() {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::string Convert(const char* bytes, std::size_t length) {
        std::string out;
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            return std::string(bytes, length);
        char buffer[256];
        auto* in = const_cast<char*>(bytes);
        std::size_t left = length;
        while (left > 0) {
            char* o = buffer;
            std::size_t room = sizeof buffer;
            const std::size_t r = iconv(m_cd, &in, &left, &o, &room);
            out.append(buffer, static_cast<std::size_t>(o - buffer));
            if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
                out += kReplacement; // not CP932: show that something was there
                ++in;
                --left;
                iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

private:
    iconv_t m_cd;
};

} // namespace

bool IsValidUtf8(const char* bytes, std::size_t length) noexcept {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    std::size_t i = 0;
    while (i < length) {
        const unsigned char c = p[i];
        std::size_t n;
        unsigned minimum;
        unsigned value;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            n = 1, minimum = 0x80, value = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            n = 2, minimum = 0x800, value = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            n = 3, minimum = 0x10000, value = c & 0x07;
        } else {
            return false;
        }
        if (n >= length - i)
            return false;
        for (std::size_t k = 1; k <= n; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            value = (value << 6) | (p[i + k] & 0x3F);
        }
        if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return false;
        i += n + 1;
    }
    return true;
}

std::string DisplayText(const char* bytes, std::size_t length) {
    if (IsValidUtf8(bytes, length))
        return std::string(bytes, length);
    thread_local Converter converter;
    return converter.Convert(bytes, length);
}

std::string DisplayText(const char* bytes) {
    return DisplayText(bytes, std::strlen(bytes));
}
