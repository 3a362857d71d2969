#pragma once

#include "core/vector.h"

class CLSTString;
using CLSTStringArray = druvel::vector<CLSTString>;

// The one text type: a growable byte string (code page 932 in songs, UTF-8 in paths).
// Lengths and positions count bytes. Find, TrimRight and RemoveChar step over Shift-JIS
// double-byte characters so they never match a trail byte.
class CLSTString {
public:
    static constexpr int kBlockSize = 256;

    CLSTString();
    CLSTString(const char* text, int position = 0, int count = -1);
    CLSTString(const CLSTString& other);
    // For the array's block moves: takes over the other's buffer; the other is then released
    // without being destroyed, so it never frees the buffer twice.
    CLSTString(druvel::RelocateTag, CLSTString& other) noexcept
        : m_lpszString(other.m_lpszString), m_iBufferSize(other.m_iBufferSize),
          m_iLength(other.m_iLength) {}
    explicit CLSTString(int value);
    ~CLSTString();

    // Binary-safe construction from a byte range (no terminator needed).
    static CLSTString FromBytes(const char* data, int length);

    CLSTString& operator=(const CLSTString& other);
    CLSTString& operator=(const char* text);
    CLSTString& operator=(char c);

    void Replace(int position, int count, const char* text);
    void Replace(int position, int count, const CLSTString& text);
    void Delete(int position, int count) { Replace(position, count, nullptr); }
    void Insert(int position, char c);

    CLSTString& operator+=(const CLSTString& text);
    CLSTString& operator+=(const char* text);
    CLSTString& operator+=(char c);
    CLSTString& operator+=(int value);

    void ReplaceAll(const char* find, const char* with, char escape = 0);
    void ReplaceAll(const char* find, char with, char escape = 0);
    void ReplaceAll(char find, const char* with, char escape = 0);
    void ReplaceAll(char find, char with, char escape = 0);
    void RemoveChar(char c);
    void TrimRight();

    const char* Text() const noexcept { return m_lpszString; }
    int Length() const noexcept { return m_iLength; }
    int BufferSize() const noexcept { return m_iBufferSize; }
    bool IsEmpty() const noexcept { return m_iLength == 0; }

    char GetAt(int position) const;
    int Find(const char* pattern, int start = 0, char escape = 0) const;
    int Find(char c, int start = 0, char escape = 0) const;
    CLSTString Mid(int position, int count = -1) const;
    CLSTStringArray Split(char separator, char escape = 0, int maximum = 0) const;
    int ToInt() const;

    int CompareNoCase(const char* text) const;
    bool operator==(const CLSTString& other) const;
    bool operator==(const char* text) const;
    bool operator<(const CLSTString& other) const;
    bool operator<(const char* text) const;

    CLSTString operator+(const CLSTString& text) const;
    CLSTString operator+(const char* text) const;
    CLSTString operator+(char c) const;
    CLSTString operator+(int value) const;

    // A Shift-JIS double-byte character starts at text[0] (lead and trail byte ranges).
    static bool IsDoubleByteChar(const char* text) noexcept;

    // Leading white space, an optional sign, then "0x" and hex digits or decimal digits, up to
    // the first byte that does not belong; 32-bit wrap-around; 0 when no digit can be read.
    static int ParseInt(const char* text) noexcept;

private:
    static int WantedSize(int length) noexcept;
    void Fit(int length);
    bool OwnsBytes(const char* text) const noexcept;
    void Splice(int position, int count, const char* text, int k);

    char* m_lpszString;
    int m_iBufferSize;
    int m_iLength;
};
