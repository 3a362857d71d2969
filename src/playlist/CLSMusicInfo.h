#pragma once

#include "core/CLSTString.h"

#include <cstdint>
#include <memory>
#include <string>

// One playlist entry. Made from a path alone; the texts and the length are filled when the
// song has been loaded once.
class CLSMusicInfo {
public:
    struct Fields {
        CLSTString path;
        CLSTString title;
        CLSTString composer;
        CLSTString lyricist;
        CLSTString arranger;
        CLSTString artist;
        std::int32_t length = 0;
        // Of the texts above, as the loaded song decided it (see DisplayText); empty until then.
        std::string encoding;
    };

    CLSMusicInfo();
    explicit CLSMusicInfo(const CLSTString& path);
    CLSMusicInfo(const CLSMusicInfo& other);
    // The playlist's array relocates every entry each time it grows by 16 slots, and shifts
    // entries when rows are inserted or removed; a copy there would copy six 256-byte strings
    // per entry, so both hand over the fields instead. A moved-from entry is only ever
    // destroyed or assigned to.
    CLSMusicInfo(CLSMusicInfo&& other) noexcept = default;
    CLSMusicInfo(druvel::RelocateTag, CLSMusicInfo& other) noexcept
        : m_fields(other.m_fields.release()) {}
    CLSMusicInfo& operator=(const CLSMusicInfo& other);
    CLSMusicInfo& operator=(CLSMusicInfo&& other) noexcept = default;
    ~CLSMusicInfo();

    Fields& Get() noexcept { return *m_fields; }
    const Fields& Get() const noexcept { return *m_fields; }

    // What the list shows in its first column: the title, else the file name (for an archive
    // member, the file name of the part after ">").
    CLSTString DisplayName() const;

    // The row's tooltip: the path and every known field, one per line (CR LF).
    CLSTString ToolTipText() const;

    // "m:ss" for a known length, empty for 0.
    static CLSTString FormatLength(std::int32_t milliseconds);

private:
    std::unique_ptr<Fields> m_fields;
};
