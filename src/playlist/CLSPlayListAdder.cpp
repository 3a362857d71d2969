#include "playlist/CLSPlayListAdder.h"

#include "core/CLSError.h"
#include "core/CLSFileReadLine.h"
#include "core/PathText.h"
#include "playlist/CLSPlayList.h"

#include <algorithm>
#include <cstring>

namespace {

const char* const kSongExtensions[] = {".mid", ".smf", ".rmi", ".kar"};
const char* const kPlayListExtensions[] = {".lst", ".m3u", ".txt"};
const char* const kArchiveExtensions[] = {".zip", ".lzh"};

bool IsSongByExtension(const char* path) noexcept {
    return HasExtension(path, kSongExtensions, 4);
}

CLSTString JoinPath(const CLSTString& folder, const char* name) {
    CLSTString path = folder;
    if (path.IsEmpty() || path.Text()[path.Length() - 1] != '/')
        path += '/';
    path += name;
    return path;
}

// The part of a path that must exist on disk: for an archive member, the archive.
CLSTString DiskPart(const CLSTString& path) {
    const int member = path.Find('>');
    return member < 0 ? path : path.Mid(0, member);
}

} // namespace

CLSPlayListAdder::PathClass CLSPlayListAdder::Classify(const char* path) noexcept {
    if (IsSongByExtension(path) || std::strchr(path, '>'))
        return PathClass::kSong;
    if (HasExtension(path, kPlayListExtensions, 3))
        return PathClass::kPlayListFile;
    if (HasExtension(path, kArchiveExtensions, 2))
        return PathClass::kArchive;
    return PathClass::kOther;
}

bool CLSPlayListAdder::Add(const CLSTString& path, bool searchSubfolders) {
    if (IsFolder(path.Text()))
        return SearchFolder(path, searchSubfolders);
    m_openLists.clear();
    return AddFile(path);
}

// A damaged playlist file or archive costs only itself: the user is told, and the paths after
// it are still added.
bool CLSPlayListAdder::AddFile(const CLSTString& path) {
    try {
        return AddClassified(path);
    } catch (const CLSError& error) {
        error.Show(m_playList.Owner());
        return false;
    }
}

bool CLSPlayListAdder::AddClassified(const CLSTString& path) {
    switch (Classify(path.Text())) {
    case PathClass::kSong:
        m_playList.AppendSong(path);
        return true;
    case PathClass::kArchive:
        return m_playList.ChooseFromArchive(path);
    case PathClass::kOther:
        return true;
    case PathClass::kPlayListFile:
        break;
    }
    return ReadPlayListFile(path);
}

bool CLSPlayListAdder::IsBeingRead(const CLSTString& path, const FileId& id, bool hasId) const {
    return std::any_of(m_openLists.begin(), m_openLists.end(), [&](const OpenList& open) {
        return EqualsNoCase(open.path.Text(), path.Text()) ||
               (hasId && open.hasId && open.id == id);
    });
}

bool CLSPlayListAdder::ReadPlayListFile(const CLSTString& path) {
    FileId id{};
    const bool hasId = GetFileId(path.Text(), id);
    if (IsBeingRead(path, id, hasId))
        return false;
    CLSFileReadLine file;
    if (!file.Open(path.Text()))
        return false;
    m_openLists.push_back({path, id, hasId});
    struct PopOnExit {
        std::vector<OpenList>& lists;
        ~PopOnExit() { lists.pop_back(); }
    } pop{m_openLists};
    CLSTString line;
    while (file.ReadLine(line)) {
        if (line.IsEmpty() || line.Text()[0] == '#')
            continue;
        AddFile(ResolvePlayListLine(line, path));
    }
    return true;
}

CLSTString CLSPlayListAdder::ResolvePlayListLine(const CLSTString& line,
                                                 const CLSTString& listPath) {
    if (line.IsEmpty() || line.Text()[0] == '/')
        return line;
    const char* listName = FindFileName(listPath.Text());
    if (listName == listPath.Text())
        return line; // the playlist file's folder is the current one
    if (PathExists(DiskPart(line).Text()))
        return line;
    const CLSTString folder = listPath.Mid(0, static_cast<int>(listName - listPath.Text()) - 1);
    CLSTString resolved = folder;
    resolved += '/';
    resolved += line;
    return PathExists(DiskPart(resolved).Text()) ? resolved : line;
}

bool CLSPlayListAdder::SearchFolder(const CLSTString& folder, bool searchSubfolders) {
    // A folder link back to a folder being searched would never end.
    FileId id{};
    const bool known = GetFileId(folder.Text(), id);
    if (known) {
        if (std::find(m_openFolders.begin(), m_openFolders.end(), id) != m_openFolders.end())
            return true;
        m_openFolders.push_back(id);
    }
    std::vector<FolderEntry> entries;
    ListFolder(folder.Text(), entries);
    bool result = true;
    for (const FolderEntry& entry : entries) {
        const CLSTString path = JoinPath(folder, entry.name.c_str());
        if (entry.isFolder) {
            if (searchSubfolders && !SearchFolder(path, true)) {
                result = false;
                break;
            }
        } else if (IsSongByExtension(entry.name.c_str())) {
            m_openLists.clear();
            if (!AddFile(path)) {
                result = false;
                break;
            }
        }
    }
    if (known)
        m_openFolders.pop_back();
    return result;
}
