#include "core/CLSTString.h"

#include "core/Assert.h"
#include "core/CLSError.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

namespace {

constexpr const char* kModule = "TSTRING";
constexpr int kErrParameter = 11;
constexpr int kErrMemory = 14;

[[noreturn]] void Raise(int code, int line) {
    throw CLSError(code, kModule, line);
}

char* AllocateBuffer(int size, int line) {
    char* p = static_cast<char*>(std::malloc(static_cast<std::size_t>(size)));
    if (!p)
        Raise(kErrMemory, line);
    return p;
}

int ConstructionSize(int length) {
    return CLSTString::kBlockSize * (length / CLSTString::kBlockSize + 1);
}

unsigned char Lower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

int CompareFolded(const char* a, const char* b) {
    const auto* x = reinterpret_cast<const unsigned char*>(a);
    const auto* y = reinterpret_cast<const unsigned char*>(b);
    for (;; ++x, ++y) {
        const int d = Lower(*x) - Lower(*y);
        if (d != 0 || *x == 0)
            return d;
    }
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    return (c | 0x20) - 'a' + 10;
}

} // namespace

bool CLSTString::IsDoubleByteChar(const char* text) noexcept {
    const auto lead = static_cast<unsigned char>(text[0]);
    if (!((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)))
        return false;
    const auto trail = static_cast<unsigned char>(text[1]);
    return (trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC);
}

CLSTString::CLSTString() : CLSTString(nullptr) {}

CLSTString::CLSTString(const char* text, int position, int count) {
    const int available = text ? static_cast<int>(std::strlen(text)) : 0;
    if (count == -1 && position >= 0)
        count = available - position;
    if (position < 0 || count < 0 || position > available || count > available - position)
        Raise(kErrParameter, __LINE__);
    m_iBufferSize = ConstructionSize(count);
    m_lpszString = AllocateBuffer(m_iBufferSize, __LINE__);
    if (count > 0)
        std::memcpy(m_lpszString, text + position, static_cast<std::size_t>(count));
    m_lpszString[count] = 0;
    m_iLength = count;
}

CLSTString::CLSTString(const CLSTString& other)
    : m_lpszString(AllocateBuffer(ConstructionSize(other.m_iLength), __LINE__)),
      m_iBufferSize(ConstructionSize(other.m_iLength)), m_iLength(other.m_iLength) {
    std::memcpy(m_lpszString, other.m_lpszString, static_cast<std::size_t>(m_iLength) + 1);
}

CLSTString::CLSTString(int value) : CLSTString(std::to_string(value).c_str()) {}

CLSTString::~CLSTString() {
    DRUV_ASSERT(m_lpszString, "TSTRING");
    std::free(m_lpszString);
}

CLSTString CLSTString::FromBytes(const char* data, int length) {
    CLSTString s;
    if (length <= 0)
        return s;
    const int size = ConstructionSize(length);
    char* p = static_cast<char*>(std::realloc(s.m_lpszString, static_cast<std::size_t>(size)));
    if (!p)
        Raise(kErrMemory, __LINE__);
    s.m_lpszString = p;
    s.m_iBufferSize = size;
    std::memcpy(s.m_lpszString, data, static_cast<std::size_t>(length));
    s.m_lpszString[length] = 0;
    s.m_iLength = length;
    return s;
}

CLSTString& CLSTString::operator=(const CLSTString& other) {
    if (this != &other)
        Replace(0, m_iLength, other);
    return *this;
}

CLSTString& CLSTString::operator=(const char* text) {
    Replace(0, m_iLength, text);
    return *this;
}

CLSTString& CLSTString::operator=(char c) {
    const char one[2] = {c, 0};
    Replace(0, m_iLength, one);
    return *this;
}

bool CLSTString::OwnsBytes(const char* text) const noexcept {
    const std::less<const char*> before;
    return !before(text, m_lpszString) && before(text, m_lpszString + m_iBufferSize);
}

int CLSTString::WantedSize(int length) noexcept {
    return kBlockSize * ((length + 1) / kBlockSize + 1);
}

void CLSTString::Fit(int length) {
    const int wanted = WantedSize(length);
    if (wanted == m_iBufferSize)
        return;
    char* p = static_cast<char*>(std::realloc(m_lpszString, static_cast<std::size_t>(wanted)));
    if (!p)
        Raise(kErrMemory, __LINE__);
    m_lpszString = p;
    m_iBufferSize = wanted;
}

void CLSTString::Splice(int position, int count, const char* text, int k) {
    if (count == -1)
        count = m_iLength - position;
    if (position < 0 || count < 0 || position > m_iLength || count > m_iLength - position)
        Raise(kErrParameter, __LINE__);
    if (k - count > INT_MAX - 1 - m_iLength)
        Raise(kErrMemory, __LINE__);
    // The text may lie inside our own buffer, which Fit can move: take a copy first.
    std::string aliasCopy;
    if (k > 0 && OwnsBytes(text)) {
        aliasCopy.assign(text, static_cast<std::size_t>(k));
        text = aliasCopy.data();
    }
    if (count < k)
        Fit(m_iLength + k - count);
    std::memmove(m_lpszString + position + k, m_lpszString + position + count,
                 static_cast<std::size_t>(m_iLength - position - count + 1));
    if (k > 0)
        std::memcpy(m_lpszString + position, text, static_cast<std::size_t>(k));
    m_iLength += k - count;
    Fit(m_iLength);
}

void CLSTString::Replace(int position, int count, const char* text) {
    Splice(position, count, text, text ? static_cast<int>(std::strlen(text)) : 0);
}

void CLSTString::Replace(int position, int count, const CLSTString& text) {
    Splice(position, count, text.m_lpszString, text.m_iLength);
}

void CLSTString::Insert(int position, char c) {
    const char one[2] = {c, 0};
    Replace(position, 0, one);
}

CLSTString& CLSTString::operator+=(const CLSTString& text) {
    Replace(m_iLength, 0, text);
    return *this;
}

CLSTString& CLSTString::operator+=(const char* text) {
    Replace(m_iLength, 0, text);
    return *this;
}

CLSTString& CLSTString::operator+=(char c) {
    if (c != 0)
        Insert(m_iLength, c);
    return *this;
}

CLSTString& CLSTString::operator+=(int value) {
    return *this += std::to_string(value).c_str();
}

char CLSTString::GetAt(int position) const {
    if (position < 0 || position >= m_iLength)
        Raise(kErrParameter, __LINE__);
    return m_lpszString[position];
}

int CLSTString::Find(const char* pattern, int start, char escape) const {
    if (!pattern)
        Raise(kErrParameter, __LINE__);
    const int m = static_cast<int>(std::strlen(pattern));
    int i = start < 0 ? 0 : start;
    while (i < m_iLength) {
        if (escape != 0 && m_lpszString[i] == escape) {
            ++i;
            if (i >= m_iLength)
                break;
        } else if (m <= m_iLength - i &&
                   std::memcmp(m_lpszString + i, pattern, static_cast<std::size_t>(m)) == 0) {
            return i;
        }
        i += IsDoubleByteChar(m_lpszString + i) ? 2 : 1;
    }
    return -1;
}

int CLSTString::Find(char c, int start, char escape) const {
    const char one[2] = {c, 0};
    return Find(one, start, escape);
}

CLSTString CLSTString::Mid(int position, int count) const {
    if (count == -1)
        count = m_iLength - position;
    if (position < 0 || count < 0 || position > m_iLength || count > m_iLength - position)
        Raise(kErrParameter, __LINE__);
    return FromBytes(m_lpszString + position, count);
}

CLSTStringArray CLSTString::Split(char separator, char escape, int maximum) const {
    CLSTStringArray pieces;
    int s = 0;
    int remaining = maximum;
    while (remaining != 1) {
        const int p = Find(separator, s, escape);
        if (p == -1)
            break;
        pieces.push_back(Mid(s, p - s));
        s = p + 1;
        --remaining;
    }
    pieces.push_back(Mid(s));
    return pieces;
}

void CLSTString::ReplaceAll(const char* find, const char* with, char escape) {
    // An empty find text would match forever behind every insertion.
    if (!find || *find == 0)
        Raise(kErrParameter, __LINE__);
    // Either text may be our own, which every splice changes.
    const std::string findCopy(find);
    const std::string withCopy(with ? with : "");
    const int findLength = static_cast<int>(findCopy.size());
    const int withLength = static_cast<int>(withCopy.size());
    int p = Find(findCopy.c_str(), 0, escape);
    while (p != -1) {
        Splice(p, findLength, withCopy.c_str(), withLength);
        p = Find(findCopy.c_str(), p + withLength, escape);
    }
}

void CLSTString::ReplaceAll(const char* find, char with, char escape) {
    const char one[2] = {with, 0};
    ReplaceAll(find, one, escape);
}

void CLSTString::ReplaceAll(char find, const char* with, char escape) {
    const char one[2] = {find, 0};
    ReplaceAll(one, with, escape);
}

void CLSTString::ReplaceAll(char find, char with, char escape) {
    const char one[2] = {find, 0};
    const char other[2] = {with, 0};
    ReplaceAll(one, other, escape);
}

void CLSTString::RemoveChar(char c) {
    int i = 0;
    while (i < m_iLength) {
        if (IsDoubleByteChar(m_lpszString + i)) {
            i += 2;
        } else if (m_lpszString[i] == c) {
            Delete(i, 1);
            if (i < m_iLength)
                i += IsDoubleByteChar(m_lpszString + i) ? 2 : 1;
        } else {
            ++i;
        }
    }
}

void CLSTString::TrimRight() {
    int trailing = 0;
    int i = 0;
    while (i < m_iLength) {
        if (IsDoubleByteChar(m_lpszString + i)) {
            const bool fullWidthSpace = static_cast<unsigned char>(m_lpszString[i]) == 0x81 &&
                                        static_cast<unsigned char>(m_lpszString[i + 1]) == 0x40;
            trailing = fullWidthSpace ? trailing + 2 : 0;
            i += 2;
        } else {
            const char c = m_lpszString[i];
            trailing = (c == ' ' || c == '\t' || c == '\r' || c == '\n') ? trailing + 1 : 0;
            ++i;
        }
    }
    if (trailing > 0)
        Delete(m_iLength - trailing, trailing);
}

int CLSTString::ParseInt(const char* text) noexcept {
    if (!text)
        return 0;
    const char* p = text;
    while (IsSpace(*p))
        ++p;
    bool negative = false;
    if (*p == '-' || *p == '+') {
        negative = *p == '-';
        ++p;
    }
    std::uint32_t value = 0;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        p += 2;
        if (!IsHexDigit(*p))
            return 0;
        for (; IsHexDigit(*p); ++p)
            value = value * 16u + static_cast<std::uint32_t>(HexValue(*p));
    } else {
        if (!(*p >= '0' && *p <= '9'))
            return 0;
        for (; *p >= '0' && *p <= '9'; ++p)
            value = value * 10u + static_cast<std::uint32_t>(*p - '0');
    }
    if (negative)
        value = 0u - value;
    return static_cast<int>(value);
}

int CLSTString::ToInt() const {
    const char* t = m_lpszString;
    if (m_iLength == 8 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        // Colour form 0xRRGGBB: red ends up in the lowest byte.
        const char red[5] = {t[0], t[1], t[2], t[3], 0};
        const char green[5] = {'0', 'x', t[4], t[5], 0};
        const char blue[5] = {'0', 'x', t[6], t[7], 0};
        return (ParseInt(red) & 0xFF) + (ParseInt(green) & 0xFF) * 0x100 +
               (ParseInt(blue) & 0xFF) * 0x10000;
    }
    return ParseInt(t);
}

int CLSTString::CompareNoCase(const char* text) const {
    return CompareFolded(m_lpszString, text ? text : "");
}

bool CLSTString::operator==(const CLSTString& other) const {
    return std::strcmp(m_lpszString, other.m_lpszString) == 0;
}

bool CLSTString::operator==(const char* text) const {
    return std::strcmp(m_lpszString, text ? text : "") == 0;
}

bool CLSTString::operator<(const CLSTString& other) const {
    return CompareNoCase(other.m_lpszString) < 0;
}

bool CLSTString::operator<(const char* text) const {
    return CompareNoCase(text) < 0;
}

CLSTString CLSTString::operator+(const CLSTString& text) const {
    CLSTString result(*this);
    result += text;
    return result;
}

CLSTString CLSTString::operator+(const char* text) const {
    CLSTString result(*this);
    result += text;
    return result;
}

CLSTString CLSTString::operator+(char c) const {
    CLSTString result(*this);
    result += c;
    return result;
}

CLSTString CLSTString::operator+(int value) const {
    CLSTString result(*this);
    result += value;
    return result;
}
