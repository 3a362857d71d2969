#pragma once

#include <string>
#include <vector>

// What the playlist needs to know of the file system (stand-in for the folder search and the
// path helpers of the original platform).

bool IsFolder(const char* path) noexcept;
bool PathExists(const char* path) noexcept;

struct FolderEntry {
    std::string name;
    bool isFolder;
};

// Every folder and regular file in a folder (links followed; "." and "..", dangling links,
// FIFOs, sockets and devices left out), ordered by name (ASCII case folded, then by
// bytes) so a folder is added in the same order on every file system. False when the folder
// cannot be listed.
bool ListFolder(const char* folder, std::vector<FolderEntry>& entries);

// A stable identity of a file or folder (device and inode), to notice links that loop.
struct FileId {
    unsigned long long device;
    unsigned long long inode;
    bool operator==(const FileId&) const = default;
};
bool GetFileId(const char* path, FileId& id) noexcept;
