#include "core/CLSFileWriteAtomic.h"

#include "core/CLSError.h"

#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kModule = "READLINE";
constexpr int kErrWrite = 9;

// A settings file kept in a dotfiles folder is often a symbolic link: replace what it points
// to, not the link.
std::string ResolveLink(const char* path) {
    struct stat info {};
    if (::lstat(path, &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char resolved[PATH_MAX];
    return ::realpath(path, resolved) ? std::string(resolved) : std::string(path);
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

CLSFileWriteAtomic::~CLSFileWriteAtomic() {
    Abandon();
}

std::string CLSFileWriteAtomic::TemporaryPath(const std::string& target) {
    return target + "." + std::to_string(::getpid()) + ".tmp";
}

bool CLSFileWriteAtomic::Open(const char* path) {
    Abandon();
    if (!path || !*path)
        return false;
    m_target = ResolveLink(path);
    struct stat info {};
    const bool exists = ::stat(m_target.c_str(), &info) == 0;
    // A file the user made read-only is one we could not have opened for writing either; a
    // device or pipe in its place must never be renamed over.
    if (exists && (!S_ISREG(info.st_mode) || ::access(m_target.c_str(), W_OK) != 0))
        return false;
    m_temporary = TemporaryPath(m_target);
    if (!m_writer.OpenNew(m_temporary.c_str())) {
        // A temporary file left behind by a crashed run of an earlier process with our id.
        ::unlink(m_temporary.c_str());
        if (!m_writer.OpenNew(m_temporary.c_str())) {
            m_temporary.clear();
            return false;
        }
    }
    if (exists)
        ::chmod(m_temporary.c_str(), info.st_mode & 07777);
    return true;
}

void CLSFileWriteAtomic::Commit() {
    bool ok = m_writer.IsOpen() && m_writer.Sync();
    ok = m_writer.Close() && ok;
    if (ok)
        ok = ::rename(m_temporary.c_str(), m_target.c_str()) == 0;
    if (!ok) {
        Abandon();
        throw CLSError(kErrWrite, kModule, __LINE__);
    }
    m_temporary.clear();
    SyncFolder(FolderOf(m_target));
}

void CLSFileWriteAtomic::Abandon() noexcept {
    m_writer.Close();
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
    m_temporary.clear();
}
