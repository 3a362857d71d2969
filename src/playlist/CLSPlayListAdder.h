#pragma once

#include "core/CLSTString.h"
#include "core/FileSystem.h"

#include <vector>

class CLSPlayList;

// How a path enters the playlist: songs by extension (or an archive member path), playlist
// files read line by line, archives through the chooser, folders searched for songs.
class CLSPlayListAdder {
public:
    enum class PathClass { kSong, kPlayListFile, kArchive, kOther };

    explicit CLSPlayListAdder(CLSPlayList& playList) : m_playList(playList) {}

    static PathClass Classify(const char* path) noexcept;

    // One top-level add: a folder is searched, anything else goes to AddFile.
    bool Add(const CLSTString& path, bool searchSubfolders);

    // A line of a playlist file as it is added. Relative lines are taken as read, unless they
    // name nothing from here but do from the playlist file's own folder (as other players
    // write them); then that folder is put in front.
    static CLSTString ResolvePlayListLine(const CLSTString& line, const CLSTString& listPath);

private:
    struct OpenList {
        CLSTString path;
        FileId id;
        bool hasId;
    };

    // False (after showing the error) when the path could not be read to the end.
    bool AddFile(const CLSTString& path);
    bool AddClassified(const CLSTString& path);
    bool ReadPlayListFile(const CLSTString& path);
    bool IsBeingRead(const CLSTString& path, const FileId& id, bool hasId) const;
    bool SearchFolder(const CLSTString& folder, bool searchSubfolders);

    CLSPlayList& m_playList;
    std::vector<OpenList> m_openLists;
    std::vector<FileId> m_openFolders;
};
