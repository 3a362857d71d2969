#include "core/CLSFileReadLine.h"

#include "core/CLSError.h"
#include "core/OpenForReading.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {
constexpr const char* kModule = "READLINE";
constexpr int kErrRead = 7;
} // namespace

CLSFileReadLine::CLSFileReadLine(const char* path) {
    if (path)
        Open(path);
}

CLSFileReadLine::~CLSFileReadLine() {
    Close();
}

bool CLSFileReadLine::Open(const char* path) {
    Close();
    m_remaining = 0;
    m_atEnd = false;
    m_pendingCR = false;
    m_cursor = m_block;
    if (!path)
        return false;
    // Folders, FIFOs and devices are not openable as files here.
    m_fd = OpenForReading(path);
    return m_fd >= 0;
}

int CLSFileReadLine::Close() {
    if (m_fd < 0)
        return -1;
    const int result = ::close(m_fd);
    m_fd = -1;
    return result;
}

// Fills the block as far as the file allows, so that block boundaries fall at the same bytes
// for a pipe as for a regular file.
int CLSFileReadLine::ReadFull(char* buffer, int size) {
    int total = 0;
    while (total < size) {
        const ssize_t n = ::read(m_fd, buffer + total, static_cast<std::size_t>(size - total));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw CLSError(kErrRead, kModule, __LINE__);
        if (n == 0)
            break;
        total += static_cast<int>(n);
    }
    return total;
}

bool CLSFileReadLine::ReadBlock() {
    m_remaining = ReadFull(m_block, kBlockSize);
    m_block[m_remaining] = 0;
    m_cursor = m_block;
    if (m_pendingCR && m_remaining > 0 && m_block[0] == '\n') {
        ++m_cursor;
        --m_remaining;
    }
    m_pendingCR = false;
    return m_remaining > 0;
}

bool CLSFileReadLine::ReadLine(CLSTString& line) {
    line = "";
    while (m_fd >= 0 && !m_atEnd) {
        if (m_remaining == 0 && !ReadBlock()) {
            m_atEnd = true;
            return !line.IsEmpty();
        }
        int p = 0;
        while (p < m_remaining && m_cursor[p] != '\r' && m_cursor[p] != '\n' && m_cursor[p] != 0)
            ++p;
        if (p < m_remaining) {
            line += CLSTString::FromBytes(m_cursor, p);
            if (m_cursor[p] == '\r' && p + 1 < m_remaining && m_cursor[p + 1] == '\n') {
                m_cursor += p + 2;
                m_remaining -= p + 2;
            } else {
                if (m_cursor[p] == '\r' && p + 1 == m_remaining)
                    m_pendingCR = true;
                m_cursor += p + 1;
                m_remaining -= p + 1;
            }
            return true;
        }
        line += CLSTString::FromBytes(m_cursor, m_remaining);
        m_remaining = 0;
    }
    return false;
}
