#include "playlist/CLSAllSongsChooser.h"

#include "playlist/ArchiveListing.h"

bool CLSAllSongsChooser::Choose(OwnerWindow owner, const CLSTString& archivePath, int&, int&,
                                CLSTStringArray& chosen) {
    if (!ListArchiveMembers(owner, archivePath, "*.mid *.kar", chosen))
        return false;
    SortMemberNames(chosen);
    return true;
}
