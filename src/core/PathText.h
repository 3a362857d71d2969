#pragma once

// Path texts as bytes, with the separators of both worlds ("/" and "\"): playlist files and
// archive members written elsewhere use either.

// The extension of the last path component, from its last "." (a pointer into path), or the
// end of the text when it has none.
const char* FindExtension(const char* path) noexcept;

// True when the extension equals one of the given ones (each with its "."), ignoring case.
bool HasExtension(const char* path, const char* const* extensions, int count) noexcept;

// The part after the last "/" or "\" (the whole path when it has none).
const char* FindFileName(const char* path) noexcept;

// Case-insensitive comparison of ASCII letters; other bytes compare as they are.
bool EqualsNoCase(const char* a, const char* b) noexcept;
