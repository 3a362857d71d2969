#pragma once

#include "core/CLSFileWriteString.h"

#include <string>

// Replaces a file as a whole: the lines go to a temporary file beside it, which is flushed to
// the disk and renamed over the file only when everything was written. A crash, a full disk or
// a failed write therefore leaves the old file as it was.
class CLSFileWriteAtomic {
public:
    CLSFileWriteAtomic() = default;
    ~CLSFileWriteAtomic();
    CLSFileWriteAtomic(const CLSFileWriteAtomic&) = delete;
    CLSFileWriteAtomic& operator=(const CLSFileWriteAtomic&) = delete;

    // Creates the temporary file; false when the file cannot be replaced (missing folder, a
    // folder or device in its place, a read-only file), and then nothing was created.
    bool Open(const char* path);
    CLSFileWriteString& Writer() noexcept { return m_writer; }
    // Puts the written file in place; throws CLSError 9 (module READLINE) when it cannot, and
    // then the old file is untouched and the temporary file is gone.
    void Commit();
    // Drops what was written; also done by the destructor when Commit did not run.
    void Abandon() noexcept;

    // The temporary file for a target: per process, so two running instances never share one.
    static std::string TemporaryPath(const std::string& target);

private:
    std::string m_target;
    std::string m_temporary;
    CLSFileWriteString m_writer;
};
