#pragma once

#include "core/CLSError.h"
#include "core/CLSTString.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

// One archive member read whole into memory: a zero-filled block of its size + 8 bytes (the
// loader's readers may run a few bytes past the end) and the number of bytes written.
struct ArchiveMemberImage {
    struct Free {
        void operator()(unsigned char* p) const noexcept { std::free(p); }
    };
    std::unique_ptr<unsigned char, Free> data;
    std::uint32_t length = 0;
};

// Zero bytes after the data, so the loader's readers may run a few bytes past the end.
constexpr std::uint32_t kArchiveMemberSpareBytes = 8;

// Members larger than this are refused rather than allocated: no song comes near it, and a
// forged size in an archive header must not decide how much memory is taken.
constexpr std::int64_t kMaxArchiveMemberSize = 64 * 1024 * 1024;

// Extracts the member named by an archive member path (archive path, ">", member name). Shows
// its own errors (module MIDIDATA) owned by owner; false then, and image is left empty.
bool ExtractArchiveMember(OwnerWindow owner, const CLSTString& path, ArchiveMemberImage& image);

// The text in double quotes when it holds a space, as the libraries' command texts want it.
CLSTString QuoteSpaces(const CLSTString& text);
