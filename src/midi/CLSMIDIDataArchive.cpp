// The archive branch of Load: a path naming an archive or one of its members.
#include "midi/CLSMIDIData.h"

#include "core/ArchiveLibrary.h"
#include "midi/ArchiveMemberImage.h"

bool CLSMIDIData::IsArchiveMemberPath(const char* path) noexcept {
    return IsArchivePath(path);
}

// Extracts the member into `image` (zero-filled, 8 spare bytes) and sets its length; shows its
// own errors and returns false when there is nothing to load.
bool CLSMIDIData::ReadArchiveMember(const char* path, ImageBuffer& image) {
    ArchiveMemberImage member;
    if (!ExtractArchiveMember(m_owner, CLSTString(path), member))
        return false;
    // The extraction block holds at least the data and the 8 spare zero bytes.
    image.Adopt(member.data.release(), std::size_t{member.length} + kArchiveMemberSpareBytes,
                member.length);
    return true;
}
