#pragma once

#include <cstddef>
#include <string>

// Stored text bytes as UTF-8 for showing. Every title, tooltip, information text and lyric
// goes through here with its song's encoding, so that they all agree.
//
// `encoding` is an iconv name; empty means what songs without a decision get: valid UTF-8
// stays as it is, anything else is read as code page 932. Bytes the encoding does not allow
// become U+FFFD.
std::string DisplayText(const char* bytes);
std::string DisplayText(const char* bytes, std::size_t length);
std::string DisplayText(const char* bytes, std::size_t length, const std::string& encoding);

// Columns the text takes on a line in `encoding`: wide (East Asian) characters count two.
unsigned DisplayColumns(const char* bytes, std::size_t length, const std::string& encoding);

bool IsValidUtf8(const char* bytes, std::size_t length) noexcept;

// True when texts can be converted from `encoding`.
bool IsKnownEncoding(const std::string& encoding);

// The encoding of a song's texts, from all of them together: UTF-8 when they are valid
// UTF-8; code page 932 for XF songs; otherwise what the detector finds, checked against the
// song's language (a soft-karaoke "@L" header such as "ENGL" or "RUSS"). When neither tells
// (too few bytes outside ASCII for the detector, no language), code page 932, or
// Windows-1252 when the bytes are not valid code page 932.
std::string DetectTextEncoding(const std::string& texts, bool xf, const std::string& language);
