#include "core/FileSystem.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace {

unsigned char Fold(unsigned char c) noexcept {
    return (c >= 'A' && c <= 'Z') ? c + 32 : c;
}

bool NameBefore(const FolderEntry& a, const FolderEntry& b) {
    const auto folded = [](unsigned char x, unsigned char y) { return Fold(x) < Fold(y); };
    if (std::lexicographical_compare(a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
                                     folded))
        return true;
    if (std::lexicographical_compare(b.name.begin(), b.name.end(), a.name.begin(), a.name.end(),
                                     folded))
        return false;
    return a.name < b.name;
}

struct DirCloser {
    void operator()(DIR* dir) const noexcept { ::closedir(dir); }
};

} // namespace

bool IsFolder(const char* path) noexcept {
    struct stat info {};
    return ::stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

bool PathExists(const char* path) noexcept {
    struct stat info {};
    return ::stat(path, &info) == 0;
}

bool GetFileId(const char* path, FileId& id) noexcept {
    struct stat info {};
    if (::stat(path, &info) != 0)
        return false;
    id = {static_cast<unsigned long long>(info.st_dev),
          static_cast<unsigned long long>(info.st_ino)};
    return true;
}

bool ListFolder(const char* folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    std::unique_ptr<DIR, DirCloser> dir(::opendir(folder));
    if (!dir)
        return false;
    std::string base = folder;
    if (!base.empty() && base.back() != '/')
        base += '/';
    while (const dirent* entry = ::readdir(dir.get())) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        // d_type is not filled on every file system, and a link to a folder is a folder here.
        // FIFOs, sockets and devices are left out: reading one would block or never end.
        struct stat info {};
        if (::stat((base + entry->d_name).c_str(), &info) != 0)
            continue;
        if (S_ISDIR(info.st_mode) || S_ISREG(info.st_mode))
            entries.push_back({entry->d_name, S_ISDIR(info.st_mode)});
    }
    std::sort(entries.begin(), entries.end(), NameBefore);
    return true;
}
