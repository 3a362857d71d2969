#include "core/DisplayText.h"

#include <uchardet/uchardet.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <map>
#include <memory>

namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";
constexpr const char* kFallback = "CP932";
constexpr const char* kLatinFallback = "WINDOWS-1252";
// Below this many bytes outside ASCII the detector's answer is a guess.
constexpr std::size_t kDetectorSample = 8;

// Owns one conversion descriptor.
class Converter {
public:
    explicit Converter(const std::string& from) : m_cd(iconv_open("UTF-8", from.c_str())) {}
    ~Converter() {
        if (Valid())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Valid() const noexcept { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // True when every byte is allowed in the encoding.
    bool Accepts(const char* bytes, std::size_t length) {
        if (!Valid())
            return false;
        char buffer[256];
        auto* in = const_cast<char*>(bytes);
        std::size_t left = length;
        bool ok = true;
        while (left > 0 && ok) {
            char* o = buffer;
            std::size_t room = sizeof buffer;
            ok = iconv(m_cd, &in, &left, &o, &room) != static_cast<std::size_t>(-1) ||
                 errno == E2BIG;
        }
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        return ok;
    }

    std::string Convert(const char* bytes, std::size_t length) {
        std::string out;
        if (!Valid())
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
                out += kReplacement; // not in the encoding: show that something was there
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

Converter& ConverterFor(const std::string& encoding) {
    thread_local std::map<std::string, std::unique_ptr<Converter>> converters;
    std::unique_ptr<Converter>& c = converters[encoding];
    if (!c)
        c = std::make_unique<Converter>(encoding);
    return *c;
}

std::string Upper(std::string text) {
    for (char& c : text)
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return text;
}

struct Family {
    const char* encoding; // what the family's songs are read as when the detector disagrees
    std::initializer_list<const char*> languages;
    std::initializer_list<const char*> detected; // detector answers that fit the family
};

// Soft-karaoke language headers are four letters, mostly English names cut short.
const Family kFamilies[] = {
    {"WINDOWS-1252",
     {"ENGL", "GERM", "DEUT", "FREN", "SPAN", "ITAL", "PORT", "DUTC", "NEDE", "SWED", "NORW",
      "DANI", "FINN", "ICEL", "CATA"},
     {"WINDOWS-1252", "ISO-8859-1", "ISO-8859-15"}},
    {"WINDOWS-1251",
     {"RUSS", "UKRA", "BULG", "SERB", "BELA", "MACE"},
     {"WINDOWS-1251", "KOI8-R", "KOI8-U", "IBM866", "IBM855", "ISO-8859-5", "MAC-CYRILLIC"}},
    {"WINDOWS-1250",
     {"POLI", "CZEC", "SLOV", "HUNG", "CROA", "ROMA"},
     {"WINDOWS-1250", "ISO-8859-2"}},
    {"CP932", {"JAPA"}, {"CP932", "SHIFT_JIS", "EUC-JP", "ISO-2022-JP"}},
};

const Family* FamilyOfLanguage(const std::string& language) {
    const std::string key = Upper(language.substr(0, 4));
    for (const Family& f : kFamilies) {
        for (const char* l : f.languages) {
            if (key == l)
                return &f;
        }
    }
    return nullptr;
}

bool Fits(const Family& family, const std::string& detected) {
    return std::any_of(family.detected.begin(), family.detected.end(),
                       [&](const char* d) { return detected == d; });
}

std::string Detect(const std::string& texts) {
    std::unique_ptr<uchardet, void (*)(uchardet_t)> ud(uchardet_new(), uchardet_delete);
    if (!ud || uchardet_handle_data(ud.get(), texts.data(), texts.size()) != 0)
        return {};
    uchardet_data_end(ud.get());
    const std::string found = Upper(uchardet_get_charset(ud.get()));
    // Supersets: the Windows code pages carry the quotes and dashes song texts use.
    if (found == "SHIFT_JIS")
        return "CP932";
    if (found == "ISO-8859-1")
        return "WINDOWS-1252";
    if (found == "ASCII" || found == "UTF-8")
        return {}; // cannot be: the texts were not valid UTF-8
    return found;
}

unsigned Columns(char32_t c) {
    const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                      (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                      (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                      (c >= 0xFFE0 && c <= 0xFFE6) || c >= 0x20000;
    return wide ? 2 : 1;
}

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

std::string DisplayText(const char* bytes, std::size_t length, const std::string& encoding) {
    if (encoding.empty()) {
        if (IsValidUtf8(bytes, length))
            return std::string(bytes, length);
        return ConverterFor(kFallback).Convert(bytes, length);
    }
    if (Upper(encoding) == "UTF-8" && IsValidUtf8(bytes, length))
        return std::string(bytes, length);
    Converter& converter = ConverterFor(encoding);
    if (!converter.Valid())
        return DisplayText(bytes, length);
    return converter.Convert(bytes, length);
}

std::string DisplayText(const char* bytes, std::size_t length) {
    return DisplayText(bytes, length, std::string());
}

std::string DisplayText(const char* bytes) {
    return DisplayText(bytes, std::strlen(bytes));
}

unsigned DisplayColumns(const char* bytes, std::size_t length, const std::string& encoding) {
    const std::string utf8 = DisplayText(bytes, length, encoding);
    unsigned columns = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t value = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
        for (std::size_t k = 1; k < n && i + k < utf8.size(); ++k)
            value = (value << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        columns += Columns(value);
        i += n;
    }
    return columns;
}

bool IsKnownEncoding(const std::string& encoding) {
    return !encoding.empty() && ConverterFor(encoding).Valid();
}

std::string DetectTextEncoding(const std::string& texts, bool xf, const std::string& language) {
    if (IsValidUtf8(texts.data(), texts.size()))
        return "UTF-8";
    if (xf)
        return kFallback;
    const auto foreign = static_cast<std::size_t>(std::count_if(
        texts.begin(), texts.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
    const std::string found = foreign >= kDetectorSample ? Detect(texts) : std::string();
    if (const Family* family = FamilyOfLanguage(language))
        return !found.empty() && Fits(*family, found) ? found : family->encoding;
    if (!found.empty())
        return found;
    // Code page 932 as ever, unless the bytes cannot be that: a lone accented letter then.
    return ConverterFor(kFallback).Accepts(texts.data(), texts.size()) ? kFallback : kLatinFallback;
}
